#include "generate/HelpCompilerRun.h"

#include "generate/TextReplace.h"
#include "support/FileObject.h"
#include "support/ProcessRunner.h"
#include "support/VbError.h"

#include <filesystem>

namespace corvane {

namespace {

// A runner set up as the generator runs every compiler: hidden, titled, waiting, in the
// project's folder.
ProcessRunner compilerRunner(const std::string& projectFile) {
    ProcessRunner runner;
    runner.SetWindowStyle(0);
    runner.SetTitle(CompilationTitle);
    runner.SetWaitForExit(true);
    runner.SetWorkingDirectory(FileObject(projectFile).Path());
    return runner;
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

std::string runHtmlHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                                const std::string& compiledFile) {
    FileObject compiled{std::filesystem::path(compiledFile)};
    compiled.Delete();
    ProcessRunner runner = compilerRunner(projectFile);
    std::string output;
    try {
        runner.Run(compilerCommandLine(commandTemplate, quotedArgument(projectFile)));
        output = runner.Output();
    } catch (const VbError& failure) {
        return "Error: The HTML Help compiler could not be run: " + failure.description() + "\n";
    }
    std::string problem;
    if (runner.ExitCode() >= 128)
        problem = "Error: The HTML Help compiler ended abnormally (exit code " + std::to_string(runner.ExitCode()) +
                  ").\n";
    else if (!compiled.Exists() && output.find("Error:") == std::string::npos)
        problem = "Error: The HTML Help compiler did not produce \"" + compiledFile + "\".\n";
    if (!problem.empty() && !endsWithLineBreak(output))
        output += "\n";
    return output + problem;
}

bool runWinHelpCompiler(std::string_view commandTemplate, const std::string& projectFile,
                        const std::string& helpFile) {
    FileObject help{std::filesystem::path(helpFile)};
    help.Delete();
    ProcessRunner runner = compilerRunner(projectFile);
    try {
        runner.Run(compilerCommandLine(commandTemplate, " -x " + quotedArgument(projectFile)));
    } catch (const VbError&) {
        return false; // a compiler that cannot be started produced nothing
    }
    return help.Exists();
}

} // namespace corvane
