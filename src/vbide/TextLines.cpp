#include "vbide/TextLines.h"

#include "vbruntime/ByteScan.h"
#include "vbruntime/CaseFold.h"

#include <cstring>

namespace corvane::vbide {

std::vector<TextLine> splitLines(std::string_view bytes) {
    std::vector<TextLine> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        if (end == bytes.size()) {
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

namespace {

// The position of the first CR or LF at or after `from`, or `size` when there is none. Lines
// are short, so a library search per line costs more than the inline scan of sixteen bytes at
// a time (eight where the processor has no SSE2).
size_t nextLineBreak(const char* data, size_t from, size_t size) {
    if (from >= size)
        return size;
    return from + bytescan::runWithout<0, false, '\r', '\n'>(std::string_view(data + from, size - from));
}

} // namespace

size_t findLineBreak(std::string_view bytes, size_t from) {
    return nextLineBreak(bytes.data(), from, bytes.size());
}

std::vector<size_t> lineStarts(std::string_view bytes) {
    std::vector<size_t> starts;
    starts.reserve(bytes.size() / 32 + 2);
    const char* data = bytes.data();
    size_t size = bytes.size();
    // A line ends at LF, at CR LF, or at a lone CR.
    for (size_t start = 0; start < size;) {
        starts.push_back(start);
        size_t end = nextLineBreak(data, start, size);
        if (end == size)
            break;
        start = end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
    }
    starts.push_back(size);
    return starts;
}

std::string_view lineEndingAt(std::string_view bytes, const std::vector<size_t>& starts, size_t i) {
    size_t textEnd = starts[i] + lineTextAt(bytes, starts, i).size();
    return bytes.substr(textEnd, starts[i + 1] - textEnd);
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

std::string usualLineEnding(std::string_view bytes, const std::vector<size_t>& starts) {
    size_t crlf = 0, lf = 0, cr = 0;
    for (size_t i = 1; i < starts.size(); ++i) {
        size_t end = starts[i];
        if (end >= 2 && bytes[end - 2] == '\r' && bytes[end - 1] == '\n')
            ++crlf;
        else if (end >= 1 && bytes[end - 1] == '\n')
            ++lf;
        else if (end >= 1 && bytes[end - 1] == '\r')
            ++cr;
    }
    if (lf > crlf && lf >= cr)
        return "\n";
    if (cr > crlf && cr > lf)
        return "\r";
    return "\r\n";
}

namespace {

unsigned char lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

} // namespace

bool isAsciiText(std::string_view text) {
    return bytescan::asciiPrefix(text) == text.size();
}

bool nameLessIgnoreCase(std::string_view a, std::string_view b) {
    if (!isAsciiText(a) || !isAsciiText(b))
        return foldCase(a) < foldCase(b);
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        unsigned char x = lowerAscii(static_cast<unsigned char>(a[i]));
        unsigned char y = lowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size() || !equalsIgnoreCase(text.substr(0, word.size()), word))
        return false;
    return text.size() == word.size() || text[word.size()] == ' ' || text[word.size()] == '\t';
}

} // namespace corvane::vbide
