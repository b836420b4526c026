// TextCodec: conversions between UTF-8 (every string inside the program) and the
// encodings of the files the program reads and writes.
//
// Windows code pages are named by their number (1252, 950 ...). Windows-1252 is converted by
// our own table; other code pages go through the C library's iconv.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The code page the program assumes for project files unless told otherwise.
constexpr int WindowsLatin1 = 1252;
// The pseudo code page of UTF-8.
constexpr int Utf8CodePage = 65001;

// True when the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// Decodes bytes of a Windows code page to UTF-8; raises VbError 5 for an unknown code page
// and for bytes the code page does not define.
std::string decodeCodePage(std::string_view bytes, int codePage);

// Encodes UTF-8 text into a Windows code page; raises VbError 5 naming the first character the
// code page cannot hold (never writes a replacement character).
std::string encodeCodePage(std::string_view text, int codePage);

// True when every character of the UTF-8 text can be written in the code page.
bool canEncode(std::string_view text, int codePage);

// The characters of the UTF-8 text that the code page cannot hold, each once, in order.
std::string unencodableCharacters(std::string_view text, int codePage);

// Decodes UTF-16 bytes (without BOM) to UTF-8; unpaired surrogates become U+FFFD.
std::string decodeUtf16(std::string_view bytes, bool littleEndian);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Reads the code point at `pos` of valid UTF-8 text and advances `pos` past it.
char32_t nextCodePoint(std::string_view text, size_t& pos);

} // namespace corvane
