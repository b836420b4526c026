#include "vbide/TextLines.h"

#include "support/CaseFold.h"

namespace corvane::vbide {

std::vector<TextLine> splitLines(std::string_view bytes) {
    std::vector<TextLine> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        size_t endingLength = 1;
        if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            endingLength = 2;
        lines.push_back({std::string(bytes.substr(start, end - start)),
                         std::string(bytes.substr(end, endingLength))});
        start = end + endingLength;
    }
    return lines;
}

std::string joinLines(const std::vector<TextLine>& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.text.size() + line.ending.size();
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

std::string usualLineEnding(const std::vector<TextLine>& lines) {
    size_t crlf = 0, lf = 0, cr = 0;
    for (const auto& line : lines) {
        if (line.ending == "\r\n")
            ++crlf;
        else if (line.ending == "\n")
            ++lf;
        else if (line.ending == "\r")
            ++cr;
    }
    if (lf > crlf && lf >= cr)
        return "\n";
    if (cr > crlf && cr > lf)
        return "\r";
    return "\r\n";
}

std::string_view trimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size() || !equalsIgnoreCase(text.substr(0, word.size()), word))
        return false;
    return text.size() == word.size() || text[word.size()] == ' ' || text[word.size()] == '\t';
}

} // namespace corvane::vbide
