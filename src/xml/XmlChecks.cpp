#include "xml/XmlChecks.h"

#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane {

namespace {

bool isNameStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool isNameChar(unsigned char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

} // namespace

bool isXmlName(std::string_view name) {
    if (name.empty() || !isNameStart(static_cast<unsigned char>(name.front())))
        return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return isNameChar(static_cast<unsigned char>(c)); }) &&
           isValidUtf8(name);
}

void requireXmlName(std::string_view name, std::string_view use) {
    if (!isXmlName(name))
        throw VbError(vberr::InvalidCall,
                      "'" + std::string(name) + "' is not a valid XML " + std::string(use) +
                          " name",
                      "XMLDocument");
}

bool isXmlWhitespace(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

bool holdsForbiddenXmlControl(std::string_view text) {
    return std::ranges::any_of(text, isForbiddenXmlControl);
}

bool isCleanXmlText(std::string_view text) {
    return !holdsForbiddenXmlControl(text) && isValidUtf8(text);
}

std::string cleanXmlText(std::string_view text) {
    if (isCleanXmlText(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\v') {
            out += "\r\n";
            ++pos;
            continue;
        }
        if (isForbiddenXmlControl(text[pos])) {
            ++pos;
            continue;
        }
        size_t length = utf8SequenceLength(text, pos);
        if (length == 0) {
            appendUtf8(out, 0xFFFD);
            ++pos;
            continue;
        }
        out.append(text.substr(pos, length));
        pos += length;
    }
    return out;
}

} // namespace corvane
