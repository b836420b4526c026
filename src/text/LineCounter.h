// LineCounter: the line numbers of byte offsets of one text, for messages that name where in a
// file something stands.
//
// A file can hold many places to name (a stray byte in every record of a large file); counting
// the lines from the text's start for each would take time that grows with their number times
// the file's size. The counter goes on from the offset it was asked last, so offsets asked in
// rising order cost one pass over the text in all; an offset before that one starts again.
#pragma once

#include <cstddef>
#include <string_view>

namespace corvane {

class LineCounter {
public:
    // Counts the lines of `text`, which must outlive the counter and not change.
    explicit LineCounter(std::string_view text) noexcept : text_(text) {}

    // The 1-based line that holds the byte at `offset` (LF, CR LF and a lone CR end a line);
    // an offset past the end is taken as the end, a negative one answers 0 (no line).
    int lineAt(std::ptrdiff_t offset) noexcept;
    // True when the counter counts the lines of exactly these bytes (the same ones, in place).
    bool counts(std::string_view text) const noexcept {
        return text.data() == text_.data() && text.size() == text_.size();
    }

private:
    std::string_view text_;
    size_t counted_ = 0; // the lines of the bytes before this offset are counted
    int line_ = 1;       // the line the byte at counted_ stands in
};

} // namespace corvane
