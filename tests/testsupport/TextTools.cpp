#include "testsupport/TextTools.h"

#include "platform/ChildProcess.h"
#include "process/ProcessRunner.h"

#include <cstdio>

namespace corvane::test {

std::string runTool(const std::string& commandLine) {
    ProcessRunner runner;
    runner.Run(commandLine);
    return runner.Output();
}

ToolRun runToolWithStatus(const std::string& commandLine) {
    ProcessRunner runner;
    runner.Run(commandLine);
    return {runner.ExitCode(), runner.Output()};
}

ToolRun runShell(const std::string& commandLine) {
    ToolRun result{-1, {}};
    FILE* pipe = ::popen(("(" + commandLine + ") 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = platform::shellExitStatus(status);
    return result;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string replaceEvery(std::string text, const std::string& what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

size_t countOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace corvane::test
