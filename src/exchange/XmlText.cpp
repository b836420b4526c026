#include "exchange/XmlText.h"

namespace corvane::exchange {

namespace {

std::string escaped(std::string_view text, bool attribute) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += attribute ? "&quot;" : "\"";
            continue;
        case '\r':
            out += "&#13;";
            continue;
        case '\n':
        case '\t':
            if (attribute)
                out += (c == '\n') ? "&#10;" : "&#9;";
            else
                out += c;
            continue;
        default:
            break;
        }
        if (c == '\v') // a word processor's line break: a line break
            out += attribute ? "&#13;&#10;" : "&#13;\n";
        else if (byte >= 0x20)
            out += c;
        // the other control characters XML 1.0 does not allow, not even as references, are left out
    }
    return out;
}

} // namespace

std::string escapeXmlText(std::string_view text) {
    return escaped(text, false);
}

std::string escapeXmlAttribute(std::string_view text) {
    return escaped(text, true);
}

} // namespace corvane::exchange
