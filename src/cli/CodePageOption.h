// CodePageOption: "--codepage N", the option of every command that reads a project, which
// reads the project's files in the Windows code page N instead of the one detected from them.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

// The option's line for the usage texts.
inline constexpr std::string_view CodePageUsage = "[--codepage N]";

// Takes every "--codepage N" out of a command's arguments (the last one counts). False, with a
// message naming `command`, when N is missing or is no code page the program can convert.
bool takeCodePageOption(std::vector<std::string>& arguments, std::optional<int>& codePage, std::string_view command,
                        std::ostream& err);

} // namespace corvane::cli
