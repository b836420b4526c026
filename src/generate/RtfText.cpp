#include "generate/RtfText.h"

#include "generate/CodePageCharacters.h"

#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace corvane {

namespace {

// One character of possibly broken UTF-8: its code point (U+FFFD for a byte that starts no
// valid sequence) and where the next character starts.
char32_t readCharacter(std::string_view text, size_t& pos) {
    if (utf8SequenceLength(text, pos) == 0) {
        ++pos;
        return 0xFFFD;
    }
    return nextCodePoint(text, pos);
}

// Printable ASCII that is not RTF syntax: written as it is.
constexpr std::array<bool, 256> PlainBytes = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c)
        plain[static_cast<size_t>(c)] = c != '\\' && c != '{' && c != '}';
    return plain;
}();

bool isPlain(char c) { return PlainBytes[static_cast<unsigned char>(c)]; }

size_t plainRunLength(std::string_view text) {
    return bytescan::runWithout<0x20, true, '\x7F', '\\', '{', '}'>(text); // the bytes PlainBytes refuses
}

void appendByteEscape(std::string& out, unsigned char byte) {
    static constexpr char digits[] = "0123456789abcdef";
    const char escape[] = {'\\', '\'', digits[byte >> 4], digits[byte & 0xF]};
    out.append(escape, sizeof escape);
}

void appendUnicodeEscape(std::string& out, char32_t cp) {
    auto unit = [&](char32_t u) {
        char number[8];
        auto end = std::to_chars(number, number + sizeof number, static_cast<int16_t>(static_cast<uint16_t>(u))).ptr;
        out += "\\u";
        out.append(number, end);
        out += '?';
    };
    if (cp >= 0x10000) {
        cp -= 0x10000;
        unit(0xD800 + (cp >> 10));
        unit(0xDC00 + (cp & 0x3FF));
    } else {
        unit(cp);
    }
}

} // namespace

std::string RtfText::escape(std::string_view text, int codePage) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    appendEscaped(out, text, codePage);
    return out;
}

void RtfText::appendEscaped(std::string& out, std::string_view text, int codePage) {
    CodePageCharacters::checkKnown(codePage); // an unknown code page fails here, before any text
    size_t pos = 0;
    while (pos < text.size()) {
        char c = text[pos];
        if (c == '\r' || c == '\n') {
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            out += "\\par ";
        } else if (c == '\t') {
            ++pos;
            out += "\\tab ";
        } else if (c == '\\' || c == '{' || c == '}') {
            ++pos;
            out += '\\';
            out += c;
        } else if (isPlain(c)) {
            // A run of printable ASCII without RTF's special characters is copied at once.
            size_t run = plainRunLength(text.substr(pos));
            out.append(text, pos, run);
            pos += run;
        } else {
            char32_t cp = readCharacter(text, pos);
            static const std::string none;
            const std::string& bytes = cp == 0xFFFD ? none : CodePageCharacters::bytesOf(cp, codePage);
            if (bytes.empty()) {
                appendUnicodeEscape(out, cp);
            } else {
                for (char b : bytes)
                    appendByteEscape(out, static_cast<unsigned char>(b));
            }
        }
    }
}

} // namespace corvane
