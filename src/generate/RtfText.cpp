#include "generate/RtfText.h"

#include "support/TextCodec.h"
#include "support/VbError.h"

#include <cstdio>
#include <unordered_map>

namespace corvane {

namespace {

// One character of possibly broken UTF-8: its code point (U+FFFD for a byte that starts no
// valid sequence) and where the next character starts.
char32_t readCharacter(std::string_view text, size_t& pos) {
    auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || pos + length > text.size() || !isValidUtf8(text.substr(pos, length))) {
        ++pos;
        return 0xFFFD;
    }
    return nextCodePoint(text, pos);
}

void appendByteEscape(std::string& out, unsigned char byte) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\'%02x", byte);
    out += buffer;
}

void appendUnicodeEscape(std::string& out, char32_t cp) {
    auto unit = [&](char32_t u) {
        out += "\\u" + std::to_string(static_cast<int16_t>(static_cast<uint16_t>(u))) + "?";
    };
    if (cp >= 0x10000) {
        cp -= 0x10000;
        unit(0xD800 + (cp >> 10));
        unit(0xDC00 + (cp & 0x3FF));
    } else {
        unit(cp);
    }
}

// The code page bytes of one character, or "" when the code page cannot hold it; answers
// are kept per call because other code pages than 1252 go through iconv.
class CodePageBytes {
public:
    explicit CodePageBytes(int codePage) : codePage_(codePage) {
        encodeCodePage("", codePage); // an unknown code page fails here, before any text
    }
    const std::string& of(char32_t cp) {
        auto found = cache_.find(cp);
        if (found != cache_.end())
            return found->second;
        std::string utf8, bytes;
        appendUtf8(utf8, cp);
        if (canEncode(utf8, codePage_))
            bytes = encodeCodePage(utf8, codePage_);
        return cache_.emplace(cp, std::move(bytes)).first->second;
    }

private:
    int codePage_;
    std::unordered_map<char32_t, std::string> cache_;
};

} // namespace

std::string RtfText::escape(std::string_view text, int codePage) {
    CodePageBytes codePageBytes(codePage);
    std::string out;
    out.reserve(text.size() + text.size() / 8);
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
        } else if (c >= 0x20 && c < 0x7F) {
            ++pos;
            out += c;
        } else {
            char32_t cp = readCharacter(text, pos);
            const std::string& bytes = cp == 0xFFFD ? std::string() : codePageBytes.of(cp);
            if (bytes.empty()) {
                appendUnicodeEscape(out, cp);
            } else {
                for (char b : bytes)
                    appendByteEscape(out, static_cast<unsigned char>(b));
            }
        }
    }
    return out;
}

} // namespace corvane
