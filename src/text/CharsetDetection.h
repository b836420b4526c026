// CharsetDetection: which Windows ANSI code page bytes of unknown encoding were most likely
// written in, found by uchardet (the charset detector of Mozilla's lineage, as Debian ships it).
//
// uchardet names a charset ("SHIFT_JIS", "ISO-8859-9", "TIS-620" ...); a VB6 project is always
// in a Windows ANSI code page, so each name stands for the Windows code page that holds the same
// language's text: ISO-8859-9 for 1254, TIS-620 for 874, KOI8-R for 1251. Names of charsets no
// Windows saves a project in, and which stand for no such code page (DOS and Mac code pages of
// Central Europe, UTF-16), stand for none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The charset uchardet finds for the bytes ("" when it cannot tell, "ASCII" for plain ASCII).
std::string detectCharset(std::string_view bytes);

// The Windows code page a charset name stands for (letter case ignored), or none.
std::optional<int> windowsCodePageOfCharset(std::string_view charset);

} // namespace corvane
