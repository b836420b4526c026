#include "tools/HtmlHelpFrontEnd.h"

#include "files/FileReading.h"
#include "platform/ChildProcess.h"
#include "platform/Utf8Path.h"
#include "process/ProcessRunner.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <istream>
#include <sstream>
#include <system_error>

namespace corvane::tools {

namespace fs = std::filesystem;

namespace {

std::string trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

std::string quotedName(const fs::path& path) { return "\"" + platform::utf8Of(path) + "\""; }

// The program part of a command line: quoted, or bare when it holds a quote (a Windows
// command line cannot quote a name holding quotes; such a name must not hold blanks).
std::string programPart(const std::string& program) {
    if (program.find('"') == std::string::npos)
        return "\"" + program + "\"";
    if (program.find_first_of(" \t") != std::string::npos)
        throw VbError(vberr::InvalidCall, "The program name " + program +
                                              " holds both quotes and blanks and cannot be started");
    return program;
}

// Text with its CR LF line ends (chmcmd's on Windows) made LF, as the compile log's lines end.
std::string withLfLineEnds(std::string text) {
    size_t kept = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            text[kept++] = text[i];
    text.resize(kept);
    return text;
}

// chmcmd's output without the banner it writes to its error stream. The banner lands before
// or after the compiler's messages as the system buffers the two streams, and says nothing
// about the compile: left out, the log reads the same on every system.
std::string withoutBanner(std::string output) {
    static constexpr std::string_view banner = "chmcmd, a CHM compiler.";
    size_t start = output.starts_with(banner) ? 0 : output.find("\n" + std::string(banner));
    if (start == std::string::npos)
        return output;
    start += output[start] == '\n' ? 1 : 0;
    size_t end = output.find('\n', start);
    end = end == std::string::npos ? output.size() : end + 1;
    if (end < output.size() && output[end] == '\n') // the blank line after it
        ++end;
    return output.erase(start, end - start);
}

FrontEndResult failure(std::string output, const std::string& line) {
    if (!output.empty() && output.back() != '\n')
        output += '\n';
    return {output + "Error: " + line + "\n", 1};
}

} // namespace

fs::path compiledFileOf(std::istream& project, const fs::path& projectPath) {
    fs::path folder = projectPath.parent_path();
    std::string line, section;
    while (std::getline(project, line)) {
        std::string text = trimmed(line);
        if (text.starts_with('[')) {
            section = asciiLower(text);
            continue;
        }
        size_t equals = text.find('=');
        if (section != "[options]" || equals == std::string::npos)
            continue;
        if (asciiLower(trimmed(text.substr(0, equals))) != "compiled file")
            continue;
        std::string value = trimmed(text.substr(equals + 1));
        if (!value.empty())
            return folder / platform::pathFromUtf8(value);
    }
    fs::path compiled = folder / projectPath.stem();
    return compiled += ".chm";
}

fs::path compiledFileOf(const fs::path& projectPath) {
    std::istringstream in(readFileBytes(projectPath));
    return compiledFileOf(in, projectPath);
}

std::string quoteArgument(std::string_view argument) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
            backslashes = 0;
        } else {
            out.append(backslashes, '\\');
            backslashes = 0;
        }
        if (c != '\\')
            out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

FrontEndResult compileHtmlHelpProject(const fs::path& project, const std::string& chmcmd) {
    std::error_code error;
    if (!fs::is_regular_file(project, error))
        return failure("", "the HTML Help project " + quotedName(project) + " does not exist.");
    fs::path compiled;
    try {
        compiled = compiledFileOf(project);
    } catch (const VbError& e) {
        return failure("", e.description());
    }
    fs::remove(compiled, error);
    if (fs::exists(compiled, error))
        return failure("", "the old compiled file " + quotedName(compiled) + " cannot be removed.");

    fs::path folder = project.parent_path().empty() ? fs::path(".") : project.parent_path();
    std::string fileName = platform::utf8Of(project.filename());
    if (fileName.starts_with('-'))
        fileName = "./" + fileName; // never taken for an option
    std::string program = platform::namesProgramFile(chmcmd) ? fs::absolute(chmcmd).string() : chmcmd;
    ProcessRunner runner;
    runner.SetWorkingDirectory(folder);
    try {
        runner.Run(programPart(program) + " " + quoteArgument(fileName));
    } catch (const VbError& e) {
        return failure("", "the CHM compiler " + program + " could not be started: " + e.description());
    }
    std::string output = withoutBanner(withLfLineEnds(runner.Output()));
    if (runner.ExitCode() != 0) {
        fs::remove(compiled, error);
        // 217 is the Free Pascal run time's status for an unhandled exception.
        std::string how = runner.ExitCode() == 217 ? " (it crashed; often a file of the project is missing)" : "";
        return failure(output, "chmcmd failed with exit status " + std::to_string(runner.ExitCode()) + how +
                                   "; " + quotedName(compiled) + " was not made.");
    }
    auto size = fs::file_size(compiled, error);
    if (error || size == 0)
        return failure(output, "chmcmd did not write the compiled file " + quotedName(compiled) + ".");
    if (!output.empty() && output.back() != '\n')
        output += '\n';
    return {output + "Created " + quotedName(compiled) + ", " + std::to_string(size) + " bytes.\n", 0};
}

} // namespace corvane::tools
