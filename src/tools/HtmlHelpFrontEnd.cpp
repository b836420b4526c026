#include "tools/HtmlHelpFrontEnd.h"

#include "files/FileReading.h"
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

std::string quotedName(const fs::path& path) { return "\"" + path.string() + "\""; }

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
            return folder / value;
    }
    return folder / (projectPath.stem().string() + ".chm");
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
    std::string fileName = project.filename().string();
    if (fileName.starts_with('-'))
        fileName = "./" + fileName; // never taken for an option
    std::string program = chmcmd.find('/') == std::string::npos ? chmcmd : fs::absolute(chmcmd).string();
    ProcessRunner runner;
    runner.SetWorkingDirectory(folder);
    try {
        runner.Run(programPart(program) + " " + quoteArgument(fileName));
    } catch (const VbError& e) {
        return failure("", "the CHM compiler " + program + " could not be started: " + e.description());
    }
    std::string output = runner.Output();
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
