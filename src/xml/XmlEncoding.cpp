#include "xml/XmlEncoding.h"

#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <array>
#include <optional>

namespace corvane {

namespace {

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Skips white space from `pos`; returns the first other position.
size_t skipSpace(std::string_view text, size_t pos) {
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    return pos;
}

bool namesWindowsLatin1(std::string_view encoding) {
    static constexpr std::array<std::string_view, 6> names = {
        "windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "latin1", "latin-1"};
    std::string lower = asciiLower(encoding);
    for (std::string_view name : names)
        if (lower == name)
            return true;
    return false;
}

// The Windows code page of an encoding a declaration may name besides UTF-8, UTF-16 and the
// Western names (namesWindowsLatin1): the ANSI code pages and the names their files declare.
std::optional<int> declaredCodePage(std::string_view encoding) {
    struct Named {
        std::string_view name;
        int codePage;
    };
    static constexpr Named names[] = {
        {"shift_jis", 932},    {"shift-jis", 932},    {"sjis", 932},        {"windows-31j", 932},
        {"cp932", 932},        {"ms_kanji", 932},     {"windows-932", 932}, {"gbk", 936},
        {"gb2312", 936},       {"cp936", 936},        {"windows-936", 936}, {"big5", 950},
        {"cp950", 950},        {"windows-950", 950},  {"euc-kr", 949},      {"ks_c_5601-1987", 949},
        {"cp949", 949},        {"windows-949", 949},  {"uhc", 949},         {"windows-874", 874},
        {"tis-620", 874},      {"cp874", 874},
    };
    const std::string lower = asciiLower(encoding);
    for (const Named& named : names)
        if (lower == named.name)
            return named.codePage;
    for (int codePage = 1250; codePage <= 1258; ++codePage)
        if (codePage != WindowsLatin1 &&
            (lower == "windows-" + std::to_string(codePage) || lower == "cp" + std::to_string(codePage)))
            return codePage;
    return std::nullopt;
}

// The text of bytes in the code page their declaration names; none when it names no such code
// page or the bytes do not read in it (they are then read as an undeclared file).
std::optional<std::string> decodedAsDeclared(std::string_view bytes) {
    const std::optional<int> codePage = declaredCodePage(declaredXmlEncoding(bytes));
    if (!codePage)
        return std::nullopt;
    try {
        return decodeCodePage(bytes, *codePage);
    } catch (const VbError&) {
        return std::nullopt;
    }
}

// The character a byte above ASCII stands for in Windows-1252 (U+FFFD for the five it leaves
// undefined), as UTF-8.
std::string windowsLatin1Character(unsigned char byte) {
    const char single = static_cast<char>(byte);
    if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
        return "\xEF\xBF\xBD";
    return decodeCodePage(std::string_view(&single, 1), WindowsLatin1);
}

} // namespace

std::string declaredXmlEncoding(std::string_view bytes) {
    if (!startsWith(bytes, "<?xml") || bytes.size() < 6 || !isSpace(bytes[5]))
        return {};
    size_t close = bytes.find("?>");
    if (close == std::string_view::npos)
        return {};
    std::string_view declaration = bytes.substr(0, close);
    size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos)
        return {};
    pos = skipSpace(declaration, pos + 8);
    if (pos >= declaration.size() || declaration[pos] != '=')
        return {};
    pos = skipSpace(declaration, pos + 1);
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return {};
    size_t end = declaration.find(declaration[pos], pos + 1);
    if (end == std::string_view::npos)
        return {};
    return std::string(declaration.substr(pos + 1, end - pos - 1));
}

std::string decodeXmlBytes(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        std::string_view rest = bytes.substr(3);
        return isValidUtf8(rest) ? std::string(rest) : decodeCodePage(rest, WindowsLatin1);
    }
    if (startsWith(bytes, "\xFF\xFE"))
        return decodeUtf16(bytes.substr(2), true);
    if (startsWith(bytes, "\xFE\xFF"))
        return decodeUtf16(bytes.substr(2), false);
    if (bytes.size() >= 4 && bytes[0] != '\0' && bytes[1] == '\0' && bytes[2] != '\0' &&
        bytes[3] == '\0')
        return decodeUtf16(bytes, true); // "<R" or " <" in UTF-16 LE without a mark
    if (bytes.size() >= 4 && bytes[0] == '\0' && bytes[1] != '\0' && bytes[2] == '\0' &&
        bytes[3] != '\0')
        return decodeUtf16(bytes, false);
    if (std::optional<std::string> declared = decodedAsDeclared(bytes))
        return std::move(*declared);
    if (namesWindowsLatin1(declaredXmlEncoding(bytes)) || !isValidUtf8(bytes))
        return decodeCodePage(bytes, WindowsLatin1);
    return std::string(bytes);
}

CheckedXmlText decodeXmlBytesChecked(std::string_view bytes) {
    const bool utf16 = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0' ||
                                             startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"));
    if (utf16 || namesWindowsLatin1(declaredXmlEncoding(bytes)) || isValidUtf8(bytes))
        return {decodeXmlBytes(bytes), {}};
    if (std::optional<std::string> declared = decodedAsDeclared(bytes))
        return {std::move(*declared), {}};
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    CheckedXmlText checked;
    checked.text.reserve(bytes.size() + 16);
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = utf8SequenceLength(bytes, pos);
        if (length > 0) {
            checked.text.append(bytes.substr(pos, length));
            pos += length;
            continue;
        }
        // One byte on its own, as the ANSI editor that most likely wrote it meant it.
        checked.replaced.push_back(checked.text.size());
        checked.text += windowsLatin1Character(static_cast<unsigned char>(bytes[pos]));
        ++pos;
    }
    return checked;
}

std::optional<std::string> decodeUndeclaredXmlBytes(std::string_view bytes, int codePage) {
    const bool marked = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0' ||
                                              startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF") ||
                                              startsWith(bytes, "\xEF\xBB\xBF"));
    if (codePage == WindowsLatin1 || codePage == Utf8CodePage || marked || !declaredXmlEncoding(bytes).empty() ||
        isValidUtf8(bytes))
        return std::nullopt;
    try {
        return decodeCodePage(bytes, codePage);
    } catch (const VbError&) {
        return std::nullopt;
    }
}

bool isPlainUtf8Xml(std::string_view bytes) {
    // Only a file without byte order mark or UTF-16 start can be taken as it is.
    bool marked = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0' ||
                                        static_cast<unsigned char>(bytes[0]) >= 0xEF);
    if (marked || !isValidUtf8(bytes))
        return false;
    const std::string declared = declaredXmlEncoding(bytes);
    // A file declaring an ANSI code page is read in it, unless it holds nothing beyond ASCII.
    return !namesWindowsLatin1(declared) &&
           (!declaredCodePage(declared) || bytescan::asciiPrefix(bytes) == bytes.size());
}

std::string decodeOwnedXmlBytes(std::string&& bytes, bool* checkedUtf8) {
    std::string_view view = bytes;
    bool moved = isPlainUtf8Xml(view);
    if (checkedUtf8)
        *checkedUtf8 = moved;
    return moved ? std::move(bytes) : decodeXmlBytes(view);
}

} // namespace corvane
