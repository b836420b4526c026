#include "cli/ScanCommand.h"

#include "cli/CodePageOption.h"
#include "cli/EditorTexts.h"
#include "cli/HeadlessSession.h"
#include "cli/JsonWriter.h"
#include "cli/SessionEnd.h"
#include "editor/FrmWizard.h"
#include "platform/Utf8Path.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"

namespace corvane::cli {

namespace {

struct ScanOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    bool json = false;
    bool save = false;
};

bool parseOptions(const std::vector<std::string>& arguments, ScanOptions& options,
                  std::ostream& err) {
    for (const std::string& argument : arguments) {
        if (argument == "--json")
            options.json = true;
        else if (argument == "--save")
            options.save = true;
        else if (!argument.empty() && argument[0] != '-' && options.project.empty())
            options.project = argument;
        else {
            err << "corvane scan: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty()) {
        err << "Usage: corvane scan PROJECT.vbp [--json] [--save]\n";
        return false;
    }
    return true;
}

void writeSettings(JsonWriter& json, const HelpDataSettings& settings) {
    json.key("settings");
    json.beginObject();
    json.key("selectedLanguages");
    json.beginArray();
    if (settings.SelectedLanguages)
        for (const std::string& language : *settings.SelectedLanguages)
            json.value(language);
    json.endArray();
    json.key("currentLanguage");
    json.value(settings.mCurrentLanguage);
    json.key("primaryLanguage");
    json.value(settings.mPrimaryLanguage);
    json.key("generateHTML");
    json.value(settings.mGenerateHTML);
    json.key("compileHTML");
    json.value(settings.mCompileHTML);
    json.key("generateWinHelp");
    json.value(settings.mGenerateWinHelp);
    json.key("compileWinHelp");
    json.value(settings.mCompileWinHelp);
    json.endObject();
}

void writeModules(JsonWriter& json, FrmWizard& editor) {
    json.key("moduleList");
    json.beginArray();
    for (const std::string& module : editor.scanResult().modules)
        json.value(module);
    json.endArray();
    json.key("modules");
    json.beginArray();
    if (editor.formsData()) {
        for (int32_t x = 1; x <= editor.formsData()->Count(); ++x) {
            json.beginObject();
            json.key("name");
            json.value(editor.formNames()->Item(x));
            json.key("controls");
            json.beginArray();
            for (const auto& record : *editor.formsData()->Item(x)) {
                json.beginObject();
                json.key("key");
                json.value(record->ControlName);
                json.key("type");
                json.value(record->ControlType);
                json.key("caption");
                json.value(record->Caption);
                json.key("contextId");
                json.value(record->ContextHelpID);
                json.key("live");
                json.value(record->Control() != nullptr);
                if (record->gone) { // kept for its text: its control is no longer in the project
                    json.key("gone");
                    json.value(true);
                }
                json.key("help");
                json.beginObject();
                for (int32_t i = 1; i <= record->HelpTexts.Count(); ++i) {
                    json.key(record->HelpTexts.KeyAt(i));
                    json.value(record->HelpTexts.Item(i));
                }
                json.endObject();
                json.endObject();
            }
            json.endArray();
            json.endObject();
        }
    }
    json.endArray();
}

// What the designers held that could not be taken as it is; left out when there is nothing.
void writeWarnings(JsonWriter& json, vbide::VBProject& project) {
    bool any = false;
    for (const auto& component : project.VBComponents()) {
        for (const auto& warning : component->warnings()) {
            if (!any) {
                json.key("warnings");
                json.beginArray();
                any = true;
            }
            json.beginObject();
            json.key("file");
            json.value(warning.file);
            json.key("line");
            json.value(static_cast<int64_t>(warning.line));
            json.key("object");
            json.value(warning.object);
            json.key("property");
            json.value(warning.property);
            json.key("text");
            json.value(warning.describe());
            json.endObject();
        }
    }
    if (any)
        json.endArray();
}

void writeJson(std::ostream& out, HeadlessSession& session) {
    JsonWriter json(out);
    FrmWizard& editor = *session.editor();
    json.beginObject();
    json.key("project");
    json.beginObject();
    json.key("name");
    json.value(session.project()->Name());
    json.key("path");
    json.value(session.project()->FileName());
    json.endObject();
    writeSettings(json, session.addin().modMain());
    json.key("highestId");
    json.value(editor.highestId());
    writeModules(json, editor);
    json.key("messages");
    json.beginArray();
    for (const auto& message : session.windows().messages()) {
        json.beginObject();
        json.key("title");
        json.value(message.title);
        json.key("text");
        json.value(message.prompt);
        if (const std::string* detail = editor.scanResult().detailOf(message.prompt)) {
            json.key("detail");
            json.value(*detail);
        }
        json.endObject();
    }
    json.endArray();
    writeWarnings(json, *session.project());
    json.endObject();
    json.flush();
    out << "\n";
}

// The help text kept of controls and modules that are gone, and the designers left out.
void writeKept(std::ostream& out, const ScanResult& scan) {
    if (!scan.keptRecords.empty() || !scan.keptModules.empty()) {
        out << "Help text kept of controls no longer in the project:";
        for (const std::string& record : scan.keptRecords)
            out << " " << record;
        for (const std::string& module : scan.keptModules)
            out << " " << module << " (the whole module)";
        out << "\n";
    }
    for (const std::string& module : scan.repeatedModules)
        out << "Left out, a second designer of one module: " << module << "\n";
}

void writeText(std::ostream& out, HeadlessSession& session) {
    FrmWizard& editor = *session.editor();
    const ModMain& settings = session.addin().modMain();
    out << "Project " << session.project()->Name() << " (" << session.project()->FileName()
        << ")\n";
    out << "Languages:";
    for (const std::string& language : *settings.SelectedLanguages)
        out << " " << language;
    out << " (current " << settings.mCurrentLanguage << ", primary " << settings.mPrimaryLanguage
        << ")\n";
    out << "Highest context number: " << editor.highestId() << "\n";
    if (!editor.formsData())
        return;
    for (int32_t x = 1; x <= editor.formsData()->Count(); ++x) {
        const auto& records = *editor.formsData()->Item(x);
        if (isGoneModule(records))
            continue;
        int controls = 0, withText = 0;
        for (const auto& record : records) {
            controls += record->gone ? 0 : 1;
            withText += !record->gone && record->HasHelpText() ? 1 : 0;
        }
        out << "  " << editor.formNames()->Item(x) << ": " << controls << " controls, " << withText
            << " with help text\n";
    }
    writeKept(out, editor.scanResult());
}

// Opens the project, writes what the scan found and saves when asked; the exit status.
int scan(HeadlessSession& session, const ScanOptions& options, std::ostream& out, std::ostream& err) {
    if (!session.open(platform::pathFromUtf8(options.project), options.codePage))
        return 1;
    if (!session.editor()) {
        err << "corvane: the editor did not open\n";
        return 1;
    }
    // A scan that failed, or a data file that was not loaded completely, is never saved: the
    // save would write less than the file holds.
    bool scanned = session.scanSucceeded();
    if (options.json)
        writeJson(out, session);
    else
        writeText(out, session);
    // A designer that could not be read leaves its module's controls unknown: the status says so.
    const bool designersRead = session.reportUnreadableModules("scan");
    if (!scanned) {
        if (options.save)
            err << "corvane scan: " << session.scanFailure() << "; nothing was saved\n";
        return 1;
    }
    if (options.save && !session.closeAndSave())
        return 1;
    return designersRead ? 0 : 1;
}

} // namespace

int runScan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    ScanOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "scan", err) || !parseOptions(rest, options, err))
        return 2;
    auto session = std::make_unique<HeadlessSession>(out, err, !options.json,
                                                     options.save ? SessionWrites::Files : SessionWrites::Nothing);
    int status = scan(*session, options, out, err);
    finishSession(std::move(session));
    return status;
}

} // namespace corvane::cli
