// TextLines: a file's bytes as lines that keep their own line ends, so that joining them
// gives back exactly the bytes that were read (CR LF, LF, lone CR, no final line break).
#pragma once

#include "vbruntime/ByteScan.h"

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

// One line of a file: its bytes without the line end, and the line end itself.
struct TextLine {
    std::string text;   // bytes of the line, without CR/LF
    std::string ending; // "\r\n", "\n", "\r" or "" (last line without a line break)
};

// Splits bytes into lines; a final line break gives no empty last line.
std::vector<TextLine> splitLines(std::string_view bytes);

// Where each line of the bytes starts, plus bytes.size() at the end: line i is
// [starts[i], starts[i + 1]) with its line end. Lines as splitLines cuts them, without copies.
std::vector<size_t> lineStarts(std::string_view bytes);
// The position of the first CR or LF at or after `from`, or the size when there is none.
size_t findLineBreak(std::string_view bytes, size_t from);

// The text of line i (without its line end) of bytes indexed by lineStarts. Inline: a file
// is cut into its lines with it, line by line.
inline std::string_view lineTextAt(std::string_view bytes, const std::vector<size_t>& starts, size_t i) {
    // A line's text holds no CR or LF, so its line end is the run of them at its end.
    std::string_view line = bytes.substr(starts[i], starts[i + 1] - starts[i]);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// The line end of line i ("\r\n", "\n", "\r" or "") of bytes indexed by lineStarts.
std::string_view lineEndingAt(std::string_view bytes, const std::vector<size_t>& starts, size_t i);

// Joins lines back into bytes.
std::string joinLines(const std::vector<TextLine>& lines);

// The line end new lines should get: the file's most frequent one ("\r\n" when it has none).
std::string usualLineEnding(const std::vector<TextLine>& lines);
// The same for bytes indexed by lineStarts.
std::string usualLineEnding(std::string_view bytes, const std::vector<size_t>& starts);

// True when no byte of the text is above 0x7F.
bool isAsciiText(std::string_view text);

static_assert(std::endian::native == std::endian::little, "the trims count bytes of little-endian words");

// The text without the blanks and tabs at its start.
inline std::string_view trimLeadingBlanks(std::string_view text) {
    // Indentation is spaces: eight bytes at a time, the first one that is not a space found
    // by counting the zero bytes of the word xor spaces.
    size_t first = 0;
    while (text.size() - first >= 8) {
        uint64_t other = bytescan::loadWord(text.data() + first) ^ (bytescan::Ones * ' ');
        if (other != 0) {
            first += static_cast<size_t>(std::countr_zero(other)) / 8;
            break;
        }
        first += 8;
    }
    while (first < text.size() && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    return text.substr(first);
}

// The text without the blanks and tabs at its end.
inline std::string_view trimTrailingBlanks(std::string_view text) {
    // The padding after property names is spaces: eight bytes at a time, as at the start.
    size_t last = text.size();
    while (last >= 8) {
        uint64_t other = bytescan::loadWord(text.data() + last - 8) ^ (bytescan::Ones * ' ');
        if (other != 0) {
            last -= static_cast<size_t>(std::countl_zero(other)) / 8;
            break;
        }
        last -= 8;
    }
    while (last > 0 && (text[last - 1] == ' ' || text[last - 1] == '\t'))
        --last;
    return text.substr(0, last);
}

// The text with blanks and tabs removed at both ends.
inline std::string_view trimBlanks(std::string_view text) {
    return trimTrailingBlanks(trimLeadingBlanks(text));
}

// True when name a sorts before name b without regard to letter case.
bool nameLessIgnoreCase(std::string_view a, std::string_view b);

// True when the text starts with the word (letter case ignored) followed by a blank, a tab
// or the end of the text.
bool startsWithWord(std::string_view text, std::string_view word);

} // namespace corvane::vbide
