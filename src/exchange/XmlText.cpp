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
        if (byte < 0x20)
            out += "&#" + std::to_string(byte) + ";";
        else
            out += c;
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
