// CaseFold: comparing names without regard to letter case, as VB's text comparison does.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The text with letters folded to small letters: ASCII and the Latin-1 letters of UTF-8 text.
std::string foldCase(std::string_view text);

// True when both texts are equal without regard to letter case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// The text with ASCII letters in small letters (other bytes unchanged).
std::string asciiLower(std::string_view text);

// The text with ASCII letters in capitals (other bytes unchanged).
std::string asciiUpper(std::string_view text);

} // namespace corvane
