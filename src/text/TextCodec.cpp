#include "text/TextCodec.h"

#include "platform/CodePageConverter.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace corvane {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of a character in Windows-1252, or -1. The five bytes the code page leaves undefined
// stand for the C1 controls of the same number, both ways, as Windows converts them.
int cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    if (cp >= 0x80 && cp <= 0x9F && Cp1252High[cp - 0x80] == 0)
        return static_cast<int>(cp);
    for (size_t i = 0; i < Cp1252High.size(); ++i)
        if (Cp1252High[i] != 0 && Cp1252High[i] == cp)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string iconvName(int codePage) {
    if (codePage == Utf8CodePage)
        return "UTF-8";
    if (codePage == 936)
        return "GBK";
    return "CP" + std::to_string(codePage);
}

// Converts through the system's converter; returns false on an invalid or unconvertible
// sequence. VbError 5 for a code page the system does not know.
bool convert(std::string_view in, std::string& out, const std::string& to,
             const std::string& from) {
    auto converter = platform::CodePageConverter::open(to, from);
    if (!converter)
        throw VbError(vberr::InvalidCall, "Unknown code page: " + (to == "UTF-8" ? from : to));
    return converter->convert(in, out);
}

std::string codePointText(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    std::string text;
    appendUtf8(text, cp);
    return "'" + text + "' (" + buffer + ")";
}

} // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t nextCodePoint(std::string_view text, size_t& pos) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char c = byte(pos);
    size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (pos + length > text.size()) {
        ++pos;
        return 0xFFFD;
    }
    char32_t cp = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
    for (size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    pos += length;
    return cp;
}

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        i += bytescan::asciiPrefix(bytes.substr(i)); // runs of ASCII, the bulk of most texts
        if (i == n)
            break;
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        char32_t min;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        char32_t cp = c & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string decodeCodePage(std::string_view bytes, int codePage) {
    if (codePage == WindowsLatin1) {
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 8);
        for (char ch : bytes) {
            auto c = static_cast<unsigned char>(ch);
            if (c < 0x80) {
                out += ch;
            } else if (c >= 0xA0) {
                appendUtf8(out, c);
            } else if (char16_t mapped = Cp1252High[c - 0x80]) {
                appendUtf8(out, mapped);
            } else {
                appendUtf8(out, c); // undefined bytes map to the C1 control, as Windows does
            }
        }
        return out;
    }
    if (codePage == Utf8CodePage) {
        if (!isValidUtf8(bytes))
            throw VbError(vberr::InvalidCall, "The text is not valid UTF-8");
        return std::string(bytes);
    }
    std::string out;
    if (!convert(bytes, out, "UTF-8", iconvName(codePage)))
        throw VbError(vberr::InvalidCall, "The text holds bytes that code page " +
                                              std::to_string(codePage) + " does not define");
    return out;
}

std::string unencodableCharacters(std::string_view text, int codePage) {
    std::string missing;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = pos;
        char32_t cp = nextCodePoint(text, pos);
        bool ok;
        if (codePage == WindowsLatin1) {
            ok = cp1252Byte(cp) >= 0;
        } else if (codePage == Utf8CodePage) {
            ok = true;
        } else {
            std::string ignored;
            ok = cp < 0x80 ||
                 convert(text.substr(start, pos - start), ignored, iconvName(codePage), "UTF-8");
        }
        std::string piece(text.substr(start, pos - start));
        if (!ok && missing.find(piece) == std::string::npos)
            missing += piece;
    }
    return missing;
}

bool canEncode(std::string_view text, int codePage) {
    return unencodableCharacters(text, codePage).empty();
}

std::string encodeCodePage(std::string_view text, int codePage) {
    if (codePage == Utf8CodePage)
        return std::string(text);
    if (codePage == WindowsLatin1) {
        std::string out;
        out.reserve(text.size());
        size_t pos = 0;
        while (pos < text.size()) {
            auto c = static_cast<unsigned char>(text[pos]);
            if (c < 0x80) {
                out += text[pos++];
                continue;
            }
            char32_t cp = nextCodePoint(text, pos);
            int b = cp1252Byte(cp);
            if (b < 0)
                throw VbError(vberr::InvalidCall, "The character " + codePointText(cp) +
                                                      " cannot be written in code page 1252");
            out += static_cast<char>(b);
        }
        return out;
    }
    std::string out;
    if (!convert(text, out, iconvName(codePage), "UTF-8")) {
        std::string missing = unencodableCharacters(text, codePage);
        size_t pos = 0;
        char32_t cp = missing.empty() ? 0xFFFD : nextCodePoint(missing, pos);
        throw VbError(vberr::InvalidCall, "The character " + codePointText(cp) +
                                              " cannot be written in code page " +
                                              std::to_string(codePage));
    }
    return out;
}

std::string decodeUtf16(std::string_view bytes, bool littleEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](size_t i) -> char16_t {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(littleEndian ? (a | (b << 8)) : ((a << 8) | b));
    };
    size_t i = 0;
    while (i + 1 < bytes.size()) {
        char16_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
            char16_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

} // namespace corvane
