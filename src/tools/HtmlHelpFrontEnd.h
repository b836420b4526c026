// HtmlHelpFrontEnd: the work of our "hhc.exe", which stands where the association lookup
// expects Microsoft's HTML Help compiler and compiles with Free Pascal's chmcmd instead.
//
// chmcmd must run in the project's folder, prints "Warning:"/"Error:" lines yet may exit 0
// after errors, crashes with exit code 217 on a missing file and leaves a broken .chm behind.
// The front end therefore judges the run itself: it passes chmcmd's output through and adds
// a line starting with "Error:" (and fails) when chmcmd cannot be started, fails or crashes,
// or when the compiled file named by the project did not appear.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace corvane::tools {

// What one compile gives back.
struct FrontEndResult {
    std::string output; // chmcmd's output, then our own lines
    int exitCode = 0;   // 0 when the compiled file was made, 1 otherwise
};

// The compiled file a project names: "Compiled file=" of its [OPTIONS] section, relative to
// the project's folder; the project's base name with ".chm" when it names none.
std::filesystem::path compiledFileOf(std::istream& project, const std::filesystem::path& projectPath);

// compiledFileOf for the project file on disk; raises VbError 53/75 when it cannot be read.
std::filesystem::path compiledFileOf(const std::filesystem::path& projectPath);

// An argument written for a Windows command line so that splitting gives it back unchanged.
std::string quoteArgument(std::string_view argument);

// Compiles the project with the chmcmd program `chmcmd` (a name looked up in PATH or a path):
// removes the old compiled file, runs chmcmd on the project's file name in the project's
// folder and judges the result as described above.
FrontEndResult compileHtmlHelpProject(const std::filesystem::path& project, const std::string& chmcmd);

} // namespace corvane::tools
