// WindowsText: UTF-8 (the program's text) to and from UTF-16 (the text of the Windows calls).
#pragma once

#ifdef _WIN32

#include <string>
#include <string_view>

namespace corvane::platform {

// The UTF-16 text of UTF-8 text.
std::wstring wideOf(std::string_view text);
// The UTF-8 text of UTF-16 text.
std::string utf8OfWide(std::wstring_view wide);

} // namespace corvane::platform

#endif
