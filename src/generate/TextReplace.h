// TextReplace: the text replacements the help project writers and the compiler lookup use.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Every occurrence of `what` replaced by `with`, exact match, left to right; a replacement
// is never searched again. An empty `what` leaves the text as it is.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);

// As replaceAll, but `what` matches without regard to the letter case of A-Z; the rest of
// the text keeps its own spelling.
std::string replaceAllIgnoreCase(std::string_view text, std::string_view what, std::string_view with);

// True when `what` occurs in `text` without regard to the letter case of A-Z.
bool containsIgnoreCase(std::string_view text, std::string_view what);

// An argument written for a Windows command line: in double quotes, with quotes inside it
// and the backslashes before them escaped, so that splitting the line by the Windows rules
// (CommandLineSplit.h) gives the argument back unchanged. A plain path gives `"path"`.
std::string quotedArgument(std::string_view argument);

} // namespace corvane
