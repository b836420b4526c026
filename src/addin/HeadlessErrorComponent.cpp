#include "addin/HeadlessErrorComponent.h"

#include "addin/ComponentRegistry.h"
#include "files/AppPaths.h"
#include "platform/Machine.h"
#include "text/MessageText.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <system_error>
#include <utility>

namespace corvane {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string localTimeText() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const std::tm parts = platform::localParts(now);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &parts);
    return buffer;
}

// Where notes go besides the log file, and whether they go there (NoteDestination).
std::ostream* noteTerminal = nullptr;
bool notesToLog = true;

struct Report {
    std::string application, version, module, procedure, number, description, line, variables;
};

std::string logRecord(const Report& report, const std::string& action) {
    std::string out = "==== " + localTimeText() + "\n";
    out += "Application: " + report.application + " " + report.version + "\n";
    out += "Procedure: " + report.module + "." + report.procedure + "\n";
    out += "Number: " + report.number + "\n";
    out += "Description: " + oneLine(report.description) + "\n";
    out += "Line: " + report.line + "\n";
    out += "Action: " + action + "\n";
    out += "Variables:\n" + report.variables + "\n\n";
    return out;
}

// Appends the record; a log that cannot be written is noted, never a reason to fail the report.
// A log grows by appending, so it is not replaced through a temporary file.
void appendToLog(const std::filesystem::path& file, const std::string& record, std::ostream& notices) {
    std::error_code error;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (out)
        out.write(record.data(), static_cast<std::streamsize>(record.size())).flush();
    if (!out)
        notices << "corvane: cannot write the error log '" << file.string() << "'"
                << (error ? ": " + error.message() : std::string()) << "\n";
}

} // namespace

std::filesystem::path HeadlessErrorSettings::effectiveLogFile() const {
    if (!logFile.empty())
        return logFile;
    std::string fromEnvironment = environment("CORVANE_ERROR_LOG");
    if (!fromEnvironment.empty())
        return fromEnvironment;
    return userDataDirectory() / "errors.log";
}

HeadlessErrorComponent::HeadlessErrorComponent(std::shared_ptr<HeadlessErrorSettings> settings)
    : settings_(std::move(settings)) {}

void HeadlessErrorComponent::ErrorHandler(Variant& number, const Variant& application, const Variant& module,
                                          const Variant& procedure, const Variant& description, Variant& line,
                                          const Variant& variables, const Variant& version) {
    Report report{application.toText(), version.toText(), module.toText(),   procedure.toText(),
                  number.toText(),      description.toText(), line.toText(), variables.toText()};
    action_ = settings_->nextAnswer(report.module + "." + report.procedure + ":" + report.line + ":" + report.number);
    std::ostream& notices = settings_->notices ? *settings_->notices : std::cerr;
    notices << "corvane: error " << report.number << " in " << report.module << "." << report.procedure << ": "
            << oneLine(report.description) << "\n";
    if (settings_->writeLog)
        appendToLog(settings_->effectiveLogFile(), logRecord(report, action_), notices);
}

std::string HeadlessErrorSettings::nextAnswer(const std::string& failure) {
    if (!scriptedAnswers.empty()) {
        std::string scripted = std::move(scriptedAnswers.front());
        scriptedAnswers.pop_front();
        return scripted;
    }
    std::string configured = answer ? *answer : environment("CORVANE_ERROR_ACTION");
    if (configured != "Retry" || failure != lastRetried_)
        retriesInARow_ = 0;
    lastRetried_ = configured == "Retry" ? failure : std::string();
    if (configured == "Retry" && retriesInARow_++ >= retryLimit) {
        retriesInARow_ = 0;
        lastRetried_.clear();
        return {};
    }
    return configured;
}

void logNotes(const std::string& place, const std::vector<std::string>& notes) {
    if (notes.empty())
        return;
    if (noteTerminal)
        for (const std::string& note : notes)
            *noteTerminal << "corvane: note: " << oneLine(note) << "\n";
    if (!notesToLog)
        return;
    std::string record = "==== " + localTimeText() + "\n";
    record += "Application: Corvane " + programVersion() + "\n";
    record += "Procedure: " + place + "\n";
    record += "Notes:\n";
    for (const std::string& note : notes)
        record += "  " + oneLine(note) + "\n";
    appendToLog(HeadlessErrorSettings().effectiveLogFile(), record + "\n", std::cerr);
}

NoteDestination::NoteDestination(std::ostream& terminal, bool writeLog)
    : previousTerminal_(std::exchange(noteTerminal, &terminal)),
      previousWriteLog_(std::exchange(notesToLog, writeLog)) {}

NoteDestination::~NoteDestination() {
    noteTerminal = previousTerminal_;
    notesToLog = previousWriteLog_;
}

std::shared_ptr<HeadlessErrorSettings> registerHeadlessErrorComponent(std::shared_ptr<HeadlessErrorSettings> settings) {
    if (!settings)
        settings = std::make_shared<HeadlessErrorSettings>();
    ComponentRegistry::instance().registerFactory(ErrorComponentId, [settings] {
        return std::make_unique<HeadlessErrorComponent>(settings);
    });
    return settings;
}

} // namespace corvane
