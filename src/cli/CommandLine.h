// CommandLine: the `corvane` command, runnable in-process on any streams (tests capture them).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command with its arguments (without the program name); returns the exit status.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The usage text printed by --help.
std::string usageText();

} // namespace corvane::cli
