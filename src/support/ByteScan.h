// ByteScan: eight bytes at a time, the length of a run of bytes that need no special handling.
//
// Writers of generated text copy plain runs at once and treat only the other bytes one by one;
// finding where a run ends is most of their work on long texts. A word of eight bytes is
// tested with a few arithmetic operations ("has a byte less than n", "has a byte equal to c"),
// which answer exactly whether such a byte is in the word; the word holding one is then looked
// at byte by byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvane::bytescan {

constexpr uint64_t Ones = 0x0101010101010101ull;
constexpr uint64_t Highs = 0x8080808080808080ull;

// Eight bytes of text as one word, in memory order (no alignment needed).
inline uint64_t loadWord(const char* bytes) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    return word;
}

// Non-zero when a byte of the word is below n (n at most 128).
constexpr uint64_t hasByteBelow(uint64_t word, uint8_t n) { return (word - Ones * n) & ~word & Highs; }
// Non-zero when a byte of the word equals c.
constexpr uint64_t hasByte(uint64_t word, uint8_t c) { return hasByteBelow(word ^ (Ones * c), 1); }
// Non-zero when a byte of the word is 0x80 or above.
constexpr uint64_t hasHighByte(uint64_t word) { return word & Highs; }

// The length of the longest prefix of `text` whose bytes all pass `plain`; `wordIsPlain`
// answers for eight bytes at once and must agree with `plain`.
template <typename WordIsPlain, typename Plain>
size_t plainPrefix(std::string_view text, WordIsPlain wordIsPlain, Plain plain) {
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8)
        if (!wordIsPlain(loadWord(text.data() + i)))
            break;
    while (i < text.size() && plain(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

// The length of the run of ASCII bytes at the start of the text.
inline size_t asciiPrefix(std::string_view text) {
    // Large files are mostly ASCII: 32 bytes are tested at once before the words one by one.
    size_t i = 0;
    for (; i + 32 <= text.size(); i += 32) {
        const char* at = text.data() + i;
        if (hasHighByte(loadWord(at) | loadWord(at + 8) | loadWord(at + 16) | loadWord(at + 24)))
            break;
    }
    return i + plainPrefix(text.substr(i), [](uint64_t word) { return !hasHighByte(word); },
                           [](unsigned char c) { return c < 0x80; });
}

} // namespace corvane::bytescan
