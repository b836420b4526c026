// HeadlessErrorComponent: the error-report component of the command line and the tests.
//
// Every report is appended to a log file (time, application, version, module, procedure,
// number, description, line, answer, variables), one line is written to standard error
//   corvane: error 53 in modWizard.GetResString: File not found
// and the answer comes from the settings: first the scripted answers, one per report; then
// the configured answer; then $CORVANE_ERROR_ACTION; else "" (the failure is passed on).
// A "Retry" that is not scripted is given at most `retryLimit` times in a row for the same
// failure at the same place, so that a configured "Retry" never loops for ever.
#pragma once

#include "addin/ErrorReportComponent.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace corvane {

// What the headless components of one program share: where they log and what they answer.
class HeadlessErrorSettings {
public:
    // The log file; empty: $CORVANE_ERROR_LOG, else userDataDirectory()/"errors.log".
    std::filesystem::path logFile;
    // Answers given first, one per report, in order.
    std::deque<std::string> scriptedAnswers;
    // The answer once the script is used up; none: $CORVANE_ERROR_ACTION, else "".
    std::optional<std::string> answer;
    // How often an unscripted "Retry" is given in a row for the same failure and place.
    int retryLimit = 3;
    // Where the one-line notice goes; null: standard error.
    std::ostream* notices = nullptr;
    // Whether reports are appended to the log file (a command that changes nothing writes none:
    // its notice on the terminal is the report).
    bool writeLog = true;

    // The log file in use (see logFile).
    std::filesystem::path effectiveLogFile() const;
    // The answer to the next report of `failure` (its place and number), as the header says.
    std::string nextAnswer(const std::string& failure);

private:
    std::string lastRetried_; // the failure last answered with an unscripted "Retry"
    int retriesInARow_ = 0;
};

// Logs each report and answers from the shared settings.
class HeadlessErrorComponent : public ErrorReportComponent {
public:
    // A component answering from `settings`.
    explicit HeadlessErrorComponent(std::shared_ptr<HeadlessErrorSettings> settings);

    // Logs the report, writes the notice and chooses the answer.
    void ErrorHandler(Variant& number, const Variant& application, const Variant& module, const Variant& procedure,
                      const Variant& description, Variant& line, const Variant& variables,
                      const Variant& version) override;
    // The answer chosen by the last ErrorHandler ("" before).
    std::string Action() const override { return action_; }

private:
    std::shared_ptr<HeadlessErrorSettings> settings_;
    std::string action_;
};

// Appends notes to the error log (see HeadlessErrorSettings::effectiveLogFile) without asking
// anything: what a step could not take as it is but went on from (a designer's load warnings,
// why a designer could not be read). `place` names the procedure ("frmWizard.VBInstance").
// Within a NoteDestination the notes also reach its terminal, and the log only when it allows.
void logNotes(const std::string& place, const std::vector<std::string>& notes);

// Where logNotes writes while the object lives (a command of the command line): each note as
// a line "corvane: note: NOTE" on `terminal`, and to the log file only when `writeLog`.
class NoteDestination {
public:
    NoteDestination(std::ostream& terminal, bool writeLog);
    ~NoteDestination();
    NoteDestination(const NoteDestination&) = delete;
    NoteDestination& operator=(const NoteDestination&) = delete;

private:
    std::ostream* previousTerminal_;
    bool previousWriteLog_;
};

// Registers the headless component under "HalvexError.Error"; every component made shares
// `settings` (fresh defaults when null), which is returned so that the caller can adjust it.
std::shared_ptr<HeadlessErrorSettings> registerHeadlessErrorComponent(
    std::shared_ptr<HeadlessErrorSettings> settings = nullptr);

} // namespace corvane
