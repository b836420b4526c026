#include "testsupport/TextTools.h"

#include "support/ProcessRunner.h"

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

size_t countOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

} // namespace corvane::test
