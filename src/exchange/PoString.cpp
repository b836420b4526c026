#include "exchange/PoString.h"

#include <cctype>

namespace corvane::exchange {

std::string escapedPoText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                const auto byte = static_cast<unsigned char>(c);
                out += '\\';
                out += static_cast<char>('0' + (byte >> 6));
                out += static_cast<char>('0' + ((byte >> 3) & 7));
                out += static_cast<char>('0' + (byte & 7));
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::vector<std::string> quotedPoPieces(std::string_view text) {
    std::vector<std::string> pieces;
    size_t start = 0;
    while (start < text.size()) {
        size_t lineFeed = text.find('\n', start);
        size_t end = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        pieces.push_back("\"" + escapedPoText(text.substr(start, end - start)) + "\"");
        start = end;
    }
    if (pieces.size() != 1)
        pieces.insert(pieces.begin(), "\"\"");
    return pieces;
}

namespace {

// The byte of an escape after the backslash at text[i]; advances i past it.
std::optional<char> unescape(std::string_view text, size_t& i) {
    char c = text[i++];
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'v':
        return '\v';
    case '\\':
        return '\\';
    case '"':
        return '"';
    case '\'':
        return '\'';
    case '?':
        return '?';
    default:
        break;
    }
    if (c >= '0' && c <= '7') {
        int value = c - '0';
        for (int n = 1; n < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n)
            value = value * 8 + (text[i++] - '0');
        if (value > 0xff)
            return std::nullopt; // \400 and above name no byte
        return static_cast<char>(value);
    }
    if (c == 'x') {
        int value = 0, digits = 0;
        for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++digits, ++i)
            if (value <= 0xff) // past a byte the value only has to stay too large
                value = value * 16 + (std::isdigit(static_cast<unsigned char>(text[i]))
                                          ? text[i] - '0'
                                          : (text[i] | 0x20) - 'a' + 10);
        if (digits == 0 || value > 0xff)
            return std::nullopt;
        return static_cast<char>(value);
    }
    return std::nullopt;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::string> unquotePo(std::string_view piece) {
    piece = trimmed(piece);
    if (piece.size() < 2 || piece.front() != '"' || piece.back() != '"')
        return std::nullopt;
    std::string_view inner = piece.substr(1, piece.size() - 2);
    std::string text;
    for (size_t i = 0; i < inner.size();) {
        char c = inner[i++];
        if (c == '"')
            return std::nullopt; // a quote inside must be escaped
        if (c != '\\') {
            text += c;
            continue;
        }
        if (i == inner.size())
            return std::nullopt;
        auto byte = unescape(inner, i);
        if (!byte)
            return std::nullopt;
        text += *byte;
    }
    return text;
}

} // namespace corvane::exchange
