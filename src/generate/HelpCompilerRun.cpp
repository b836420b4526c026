#include "generate/HelpCompilerRun.h"

#include "files/FileObject.h"
#include "generate/CompilerRegistration.h"
#include "generate/TextReplace.h"
#include "platform/Utf8Path.h"
#include "process/ProcessRunner.h"
#include "vbruntime/VbError.h"

#include <chrono>
#include <filesystem>

namespace corvane {

namespace {

// A runner set up as the generator runs every compiler: hidden, titled, waiting, in the
// project's folder, within the limits.
ProcessRunner compilerRunner(const std::string& projectFile, const RunLimits& limits) {
    ProcessRunner runner;
    runner.SetWindowStyle(0);
    runner.SetTitle(CompilationTitle);
    runner.SetWaitForExit(true);
    runner.SetWorkingDirectory(platform::pathFromUtf8(FileObject(projectFile).Path()));
    runner.setLimits(limits);
    return runner;
}

// A time limit in words: "10 minutes", "1 minute", "90 seconds".
std::string durationText(std::chrono::milliseconds limit) {
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
    auto count = [](long long n, const char* unit) {
        return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
    };
    if (seconds >= 60 && seconds % 60 == 0)
        return count(seconds / 60, "minute");
    return seconds > 0 ? count(seconds, "second") : count(limit.count(), "millisecond");
}

bool endsWithLineBreak(const std::string& text) { return text.empty() || text.back() == '\n'; }

} // namespace

std::string compilerCommandLine(std::string_view commandTemplate, std::string_view replacement) {
    // One pass, so that a "%1" inside the replacement (a folder named "100%1") stays. Associations
    // often quote the placeholder themselves; the replacement brings its own quotes.
    constexpr std::string_view quoted = "\"%1\"";
    constexpr std::string_view bare = "%1";
    std::string line;
    for (size_t at = 0; at < commandTemplate.size();) {
        std::string_view rest = commandTemplate.substr(at);
        if (rest.starts_with(quoted) || rest.starts_with(bare)) {
            line += replacement;
            at += rest.starts_with(quoted) ? quoted.size() : bare.size();
        } else {
            line += commandTemplate[at++];
        }
    }
    return line;
}

bool hasCompilerMessages(std::string_view output) {
    return output.find("Warning:") != std::string_view::npos || output.find("Error:") != std::string_view::npos;
}

std::string compilerStoppedNote(std::string_view kind, std::string_view commandLine, RunEnd why,
                                const RunLimits& limits, const std::string& missing) {
    std::string program = commandProgram(commandLine);
    std::string reason = why == RunEnd::TimedOut
                             ? "it ran longer than its time limit of " + durationText(limits.timeLimit)
                             : "the user cancelled it";
    return "Error: The " + std::string(kind) + " compiler \"" + program + "\" was stopped because " + reason +
           "; \"" + missing + "\" was not produced.\n";
}

std::string runHtmlHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                                const std::string& compiledFile, const RunLimits& limits) {
    FileObject compiled{compiledFile};
    compiled.Delete();
    ProcessRunner runner = compilerRunner(projectFile, limits);
    const std::string commandLine = compilerCommandLine(commandTemplate, quotedArgument(projectFile));
    std::string output;
    try {
        runner.Run(commandLine);
        output = runner.Output();
    } catch (const VbError& failure) {
        return "Error: The HTML Help compiler could not be run: " + failure.description() + "\n";
    }
    std::string problem;
    if (runner.ended() != RunEnd::Exited) {
        compiled.Delete(); // what a stopped compiler left is no help file
        problem = compilerStoppedNote("HTML Help", commandLine, runner.ended(), limits, compiledFile);
    } else if (runner.ExitCode() >= 128)
        problem = "Error: The HTML Help compiler ended abnormally (exit code " + std::to_string(runner.ExitCode()) +
                  ").\n";
    else if (!compiled.Exists() && output.find("Error:") == std::string::npos)
        problem = "Error: The HTML Help compiler did not produce \"" + compiledFile + "\".\n";
    if (!problem.empty() && !endsWithLineBreak(output))
        output += "\n";
    return output + problem;
}

bool runWinHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                        const std::string& helpFile, const RunLimits& limits, std::string& stopNote) {
    stopNote.clear();
    FileObject help{helpFile};
    help.Delete();
    ProcessRunner runner = compilerRunner(projectFile, limits);
    const std::string commandLine = compilerCommandLine(commandTemplate, " -x " + quotedArgument(projectFile));
    try {
        runner.Run(commandLine);
    } catch (const VbError&) {
        return false; // a compiler that cannot be started produced nothing
    }
    if (runner.ended() != RunEnd::Exited) {
        help.Delete();
        stopNote = compilerStoppedNote("WinHelp", commandLine, runner.ended(), limits, helpFile);
        return false;
    }
    return help.Exists();
}

} // namespace corvane
