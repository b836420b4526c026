// TextTools: small helpers for tests that check program output and external tools.
#pragma once

#include <cstddef>
#include <string>

namespace corvane::test {

// Runs a command line (split as Windows does, without a shell) and returns its merged output.
std::string runTool(const std::string& commandLine);
// What a tool run gave: its exit status and merged output.
struct ToolRun {
    int status;
    std::string output;
};
// Runs a command line like runTool and returns its exit status too.
ToolRun runToolWithStatus(const std::string& commandLine);
// How often `what` occurs in `text` (overlapping occurrences count).
size_t countOf(const std::string& text, const std::string& what);

} // namespace corvane::test
