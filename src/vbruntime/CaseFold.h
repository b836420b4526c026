// CaseFold: comparing names without regard to letter case, as VB's text comparison does.
//
// Folding maps ASCII capitals and the Latin-1 capitals of UTF-8 text (U+00C0..U+00DE except
// U+00D7) to small letters; it never changes a text's length. The comparisons and the hash
// fold byte by byte as they go, so that lookups never build a folded copy.
#pragma once

#include "vbruntime/ByteScan.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace corvane {

// The text with letters folded to small letters: ASCII and the Latin-1 letters of UTF-8 text.
std::string foldCase(std::string_view text);

// The parts of the inline comparison and hash below.
namespace casefold {

// equalsIgnoreCase for texts of the same length that differ in their bytes.
bool equalsFolded(std::string_view a, std::string_view b);

// A word of eight ASCII bytes with its capitals made small: a byte from 'A' to 'Z' gains 0x20.
inline uint64_t lowerAsciiWord(uint64_t word) {
    uint64_t atLeastA = word + bytescan::Ones * (0x80 - 'A');
    uint64_t beyondZ = word + bytescan::Ones * (0x80 - 'Z' - 1);
    return word | ((atLeastA & ~beyondZ & bytescan::Highs) >> 2);
}

// A word made of the last `count` (1 to 7) bytes of the text, for hashing: the same bytes give
// the same word, and every byte is in it (a short text's halves may overlap).
inline uint64_t loadTail(std::string_view text, size_t count) {
    static_assert(std::endian::native == std::endian::little, "words are read little-endian");
    if (text.size() >= 8) // the word that ends the text, without the bytes already mixed
        return bytescan::loadWord(text.data() + text.size() - 8) >> (8 * (8 - count));
    if (count >= 4) { // most names: two loads instead of a loop
        uint32_t first, last;
        std::memcpy(&first, text.data(), 4);
        std::memcpy(&last, text.data() + count - 4, 4);
        return first | uint64_t{last} << 32;
    }
    uint64_t word = 0;
    for (size_t k = 0; k < count; ++k)
        word |= uint64_t{static_cast<unsigned char>(text[k])} << (8 * k);
    return word;
}

// FNV-1a over the folded bytes, for text beyond ASCII.
size_t foldedHashByByte(std::string_view text) noexcept;

} // namespace casefold

// True when both texts are equal without regard to letter case. Inline: the usual answers (other
// lengths, or the same bytes) need no call.
inline bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0)
        return true; // names are mostly spelt alike
    return casefold::equalsFolded(a, b);
}

// A hash of the folded text: texts that are equal without regard to letter case hash alike.
// Inline: every look-up of a name computes one.
inline size_t foldedHash(std::string_view text) noexcept {
    // ASCII text (most names) is folded and mixed eight bytes at a time. Folding keeps ASCII
    // text ASCII and other text not, so texts equal without regard to case hash the same way.
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
    for (size_t i = 0; i < text.size(); i += 8) {
        size_t n = text.size() - i < 8 ? text.size() - i : 8;
        uint64_t word = n == 8 ? bytescan::loadWord(text.data() + i) : casefold::loadTail(text, n);
        if (word & bytescan::Highs)
            return casefold::foldedHashByByte(text);
        hash = (hash ^ casefold::lowerAsciiWord(word)) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    return static_cast<size_t>(hash);
}

// Hash and equality of keys without regard to letter case, for unordered containers
// (transparent: a std::string_view looks up a std::string key without a copy).
struct FoldedHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const noexcept { return foldedHash(text); }
};
struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }
};

// The text with ASCII letters in small letters (other bytes unchanged).
std::string asciiLower(std::string_view text);

// The text with ASCII letters in capitals (other bytes unchanged).
std::string asciiUpper(std::string_view text);

} // namespace corvane
