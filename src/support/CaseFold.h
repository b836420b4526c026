// CaseFold: comparing names without regard to letter case, as VB's text comparison does.
//
// Folding maps ASCII capitals and the Latin-1 capitals of UTF-8 text (U+00C0..U+00DE except
// U+00D7) to small letters; it never changes a text's length. The comparisons and the hash
// fold byte by byte as they go, so that lookups never build a folded copy.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// The text with letters folded to small letters: ASCII and the Latin-1 letters of UTF-8 text.
std::string foldCase(std::string_view text);

// True when both texts are equal without regard to letter case.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// A hash of the folded text: texts that are equal without regard to letter case hash alike.
size_t foldedHash(std::string_view text) noexcept;

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
