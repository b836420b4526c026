// ByteScan: many bytes at a time, the length of a run of bytes that need no special handling.
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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// True when `c` is one of the bytes runWithout<Below, High, Stops...> stops at.
template <uint8_t Below, bool High, char... Stops>
constexpr bool stopsRun(unsigned char c) {
    return c < Below || (High && c >= 0x80) || ((c == static_cast<unsigned char>(Stops)) || ...);
}

// The length of the longest prefix of `text` without a byte below `Below` (below 0x80),
// without a byte from 0x80 on when `High`, and without any of `Stops`. Sixteen bytes are
// tested at once where the processor has SSE2 (every x86-64 one), eight elsewhere.
template <uint8_t Below, bool High, char... Stops>
size_t runWithout(std::string_view text) {
    static_assert(Below < 0x80);
    const char* data = text.data();
    const size_t size = text.size();
    size_t i = 0;
#if defined(__SSE2__)
    // Bytes compare as signed: those from 0x80 on are negative, so "below" catches them too
    // (and no more than them when Below is 0).
    [[maybe_unused]] const __m128i below = _mm_set1_epi8(static_cast<char>(Below));
    [[maybe_unused]] const __m128i minusOne = _mm_set1_epi8(-1);
    auto stops = [&](const char* sixteen) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sixteen));
        __m128i hit = _mm_setzero_si128(); // no byte is below 0 and ASCII: only the stops count then
        if constexpr (Below > 0 || High)
            hit = _mm_cmplt_epi8(bytes, below);
        if constexpr (Below > 0 && !High)
            hit = _mm_and_si128(hit, _mm_cmpgt_epi8(bytes, minusOne)); // only ASCII bytes
        ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Stops)))), ...);
        return static_cast<unsigned>(_mm_movemask_epi8(hit));
    };
    for (; i + 16 <= size; i += 16)
        if (const unsigned mask = stops(data + i); mask != 0)
            return i + static_cast<size_t>(__builtin_ctz(mask));
    if (i < size && size >= 16) {
        // The last bytes: the sixteen that end the text, those already passed left out.
        const size_t start = size - 16;
        const unsigned mask = stops(data + start) >> (i - start);
        return mask != 0 ? i + static_cast<size_t>(__builtin_ctz(mask)) : size;
    }
#endif
    // Eight bytes at a time (a text shorter than sixteen bytes, or no SSE2), then one by one.
    for (; i + 8 <= size; i += 8) {
        const uint64_t word = loadWord(data + i);
        uint64_t hit = (Below > 0 ? hasByteBelow(word, Below) : 0) | (High ? hasHighByte(word) : 0);
        ((hit |= hasByte(word, static_cast<uint8_t>(Stops))), ...);
        if (hit != 0)
            break;
    }
    while (i < size && !stopsRun<Below, High, Stops...>(static_cast<unsigned char>(data[i])))
        ++i;
    return i;
}

// The length of the run of ASCII bytes at the start of the text.
inline size_t asciiPrefix(std::string_view text) {
    return runWithout<0, true>(text);
}

} // namespace corvane::bytescan
