#include "cli/CompileCommand.h"

#include "cli/CodePageOption.h"
#include "cli/HeadlessSession.h"
#include "cli/SessionEnd.h"
#include "editor/FrmWizard.h"
#include "files/FileReading.h"
#include "generate/CompileLock.h"
#include "generate/CompilerRegistration.h"
#include "generate/HelpOutputLayout.h"
#include "generate/ProducedFiles.h"
#include "platform/Utf8Path.h"
#include "settings/FrmCompileLog.h"
#include "settings/ModMain.h"
#include "text/TextCodec.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"

#include <charconv>
#include <filesystem>
#include <map>
#include <optional>

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

struct CompileOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    bool yes = false;
    std::optional<int32_t> timeLimit; // seconds; 0 for none
};

// Whole seconds from 0 (no limit) to a week, or nothing.
std::optional<int32_t> secondsIn(const std::string& text) {
    int32_t seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 0 || seconds > 7 * 24 * 3600)
        return std::nullopt;
    return seconds;
}

bool parseOptions(const std::vector<std::string>& arguments, CompileOptions& options, std::ostream& err) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--yes") {
            options.yes = true;
        } else if (argument == "--time-limit" && i + 1 < arguments.size()) {
            options.timeLimit = secondsIn(arguments[++i]);
            if (!options.timeLimit) {
                err << "corvane compile: --time-limit takes whole seconds (0 for none), not '" << arguments[i]
                    << "'\n";
                return false;
            }
        } else if (!argument.empty() && argument[0] != '-' && options.project.empty()) {
            options.project = argument;
        } else {
            err << "corvane compile: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty()) {
        err << "Usage: corvane compile PROJECT.vbp [--yes] [--time-limit SECONDS]\n";
        return false;
    }
    return true;
}

using FileVersions = std::map<fs::path, std::optional<FileStamp>>;

FileVersions versionsOf(const std::vector<fs::path>& files) {
    FileVersions versions;
    for (const fs::path& file : files)
        versions[file] = writtenVersion(file);
    return versions;
}

// True when the run wrote every file it was asked for; names the others.
bool allProduced(const ProducedFiles& files, std::ostream& err) {
    const std::vector<fs::path> missing = files.missing();
    for (const fs::path& file : missing)
        err << "corvane: not produced: " << file.string() << "\n";
    return missing.empty();
}

// True when both files can be read and hold the same bytes.
bool sameBytes(const fs::path& one, const fs::path& other) {
    try {
        return readFileBytes(one) == readFileBytes(other);
    } catch (const VbError&) {
        return false;
    }
}

// The primary language's compiled help files that the run places beside the project:
// each with the compiled file it must be a copy of.
std::vector<std::pair<fs::path, fs::path>> placedFiles(const HelpDataSettings& settings, const HelpOutputLayout& layout,
                                                       const std::string& ideVersion) {
    std::vector<std::pair<fs::path, fs::path>> files;
    auto place = [&](HelpOutputFile compiled) {
        files.emplace_back(platform::pathFromUtf8(layout.besideProject(compiled)),
                           platform::pathFromUtf8(layout.languageFile(settings.mPrimaryLanguage, compiled)));
    };
    // The version 5 IDE knows no HTML Help: nothing is placed for it.
    if (settings.mCompileHTML && Val(Utilities::GetToken(ideVersion, ".", 1)) > 5)
        place(HelpOutputFile::HtmlHelp);
    if (settings.mCompileWinHelp)
        place(HelpOutputFile::WinHelp);
    return files;
}

// True when each placed file was written since `before` was taken as a copy of the primary
// language's compiled file of this run; names the others and why.
bool allPlaced(const std::vector<std::pair<fs::path, fs::path>>& placed, const FileVersions& before,
               const HelpDataSettings& settings, std::ostream& err) {
    bool ok = true;
    const bool primarySelected = settings.SelectedLanguages->Contains(settings.mPrimaryLanguage);
    for (const auto& [besideProject, compiled] : placed) {
        auto time = before.find(besideProject);
        auto now = writtenVersion(besideProject);
        const bool written = now && time != before.end() && now != time->second;
        std::string why;
        if (!primarySelected)
            why = "the primary language \"" + settings.mPrimaryLanguage + "\" is not among the selected languages";
        else if (!written || !sameBytes(besideProject, compiled))
            why = "it is not a copy of " + compiled.string();
        if (!why.empty()) {
            err << "corvane: not placed: " << besideProject.string() << " (" << why << ")\n";
            ok = false;
        }
    }
    return ok;
}

void printCompileLog(controls::Form& form, std::ostream& out) {
    std::string text = static_cast<FrmCompileLog&>(form).txtLogText().Text();
    if (!text.empty() && text.back() != '\n')
        text += "\n";
    out << "[" << form.Caption() << "]\n" << text << "[End of log]\n";
    form.userClose();
}

// Opens the project, runs the creation run and saves; the exit status.
int compileProject(HeadlessSession& session, const CompileOptions& options, std::ostream& out, std::ostream& err) {
    if (options.yes)
        session.windows().setDefaultAnswer(controls::vbYesNo, controls::vbYes);
    session.windows().onModal("frmCompileLog", [&out](controls::Form& form) { printCompileLog(form, out); });
    // One compile of the project at a time, from before it reads the project until it has saved:
    // a second one waits and then reads what the first wrote.
    std::optional<CompileLock> lock;
    try {
        const HelpOutputLayout outputs(platform::utf8Of(fs::absolute(platform::pathFromUtf8(options.project))), "", WindowsLatin1);
        lock.emplace(CompileLock::take(platform::pathFromUtf8(outputs.outputFolder()), [&err](const std::string& holder) {
            err << "corvane: waiting for another compile of this project to end (" << holder << ")\n";
        }));
    } catch (const VbError& error) {
        err << "corvane compile: " << error.description() << "\n";
        return 1;
    }
    if (!session.open(platform::pathFromUtf8(options.project), options.codePage))
        return 1;
    if (options.timeLimit)
        session.addin().modMain().mCompilerTimeLimit = *options.timeLimit;
    FrmWizard* editor = session.editor();
    if (!editor) {
        err << "corvane: the editor did not open\n";
        return 1;
    }
    if (!session.scanSucceeded()) {
        err << "corvane compile: " << session.scanFailure() << "; nothing was generated or saved\n";
        return 1;
    }
    const ModMain& settings = session.addin().modMain();
    const HelpOutputLayout layout(session.project()->FileName(), session.project()->Name(), session.project()->codePage());
    const ProducedFiles produced(settings, layout);
    const auto placed = placedFiles(settings, layout, session.ide()->Version());
    std::vector<fs::path> besideProject;
    for (const auto& [file, compiled] : placed)
        besideProject.push_back(file);
    const FileVersions placedBefore = versionsOf(besideProject);
    bool ok = true;
    editor->setCompileLockHeld(true);
    editor->setSaveFollowsRun(true); // closeAndSave below, and nothing changes the records before it
    try {
        editor->CreateHelpFiles();
    } catch (const VbError& error) {
        // A failure the error report passed on ends the run; what was done is still checked
        // and saved, so that no context number handed out is lost.
        err << "corvane: the creation run ended after an error" << (error.description().empty() ? "" : ": ")
            << error.description() << "\n";
        ok = false;
    }
    ok = ok && session.reportsMade() == 0;
    if (!session.reportUnreadableModules("compile"))
        ok = false; // its controls got no numbers this run
    if (!allProduced(produced, err))
        ok = false;
    if (!allPlaced(placed, placedBefore, settings, err))
        ok = false;
    if (!session.closeAndSave())
        ok = false;
    return ok ? 0 : 1;
}

} // namespace

int runCompile(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CompileOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "compile", err) || !parseOptions(rest, options, err))
        return 2;
    try {
        // As an installer would have: the association leads the lookup to our front end.
        std::string problem = registrationProblem(registerHtmlHelpCompiler(), helpCompilerFolder());
        if (!problem.empty())
            err << "corvane: " << problem << "\n";
    } catch (const VbError& error) {
        err << "corvane: " << error.description() << "\n";
    }

    auto session = std::make_unique<HeadlessSession>(out, err, true);
    int status = compileProject(*session, options, out, err);
    finishSession(std::move(session));
    return status;
}

} // namespace corvane::cli
