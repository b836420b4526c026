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
// Runs a command line through /bin/sh (for environment settings, redirections and `timeout`);
// its exit status (-1 when it did not exit) and what it wrote to standard output and error.
ToolRun runShell(const std::string& commandLine);
// `text` as one shell word: in single quotes, each quote in it written as '\''.
std::string shellQuoted(const std::string& text);
// `text` with every occurrence of `what` replaced by `with` (replacements are not searched again).
std::string replaceEvery(std::string text, const std::string& what, const std::string& with);
// How often `what` occurs in `text` (overlapping occurrences count).
size_t countOf(const std::string& text, const std::string& what);

} // namespace corvane::test
