// TextCodec: conversions between UTF-8 (every string inside the program) and the
// encodings of the files the program reads and writes.
//
// Windows code pages are named by their number (1252, 950 ...). Windows-1252 is converted by
// our own table; other code pages go through the system's converter (CodePageConverter.h).
#pragma once

#include <string>
#include <cstddef>
#include <string_view>

namespace corvane {

// The code page the program assumes for project files unless told otherwise.
constexpr int WindowsLatin1 = 1252;
// The pseudo code page of UTF-8.
constexpr int Utf8CodePage = 65001;

// True when the bytes are valid UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// The length of the valid UTF-8 sequence that starts at `pos` of `text` (1 for ASCII), or 0
// when none starts there: a sequence that isValidUtf8 takes, tested in place for the walks
// that meet a character at a time.
inline size_t utf8SequenceLength(std::string_view text, size_t pos) {
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byteAt(0);
    if (lead < 0x80)
        return 1;
    // The length the lead announces, and the range of the second byte: narrower after the leads
    // whose sequences would otherwise be overlong, surrogates or beyond U+10FFFF.
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    }
    if (length == 0 || pos + length > text.size() || byteAt(1) < low || byteAt(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byteAt(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

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
