#include "spelling/SuggestionRanking.h"

#include "vbruntime/CaseFold.h"

#include <algorithm>

namespace corvane::controls {

namespace {

// The characters of a UTF-8 text, letter case folded, one string each. Folding keeps every
// character in its place, so position i is character i of the text as written too.
using Characters = std::vector<std::string>;

Characters foldedCharacters(std::string_view text) {
    std::string folded = foldCase(text);
    Characters characters;
    for (size_t i = 0; i < folded.size();) {
        size_t length = 1;
        while (i + length < folded.size() && (static_cast<unsigned char>(folded[i + length]) & 0xC0) == 0x80)
            ++length;
        characters.push_back(folded.substr(i, length));
        i += length;
    }
    return characters;
}

// The groups, best first (see the header).
enum class Closeness { SameLetters, Swap, SwapOfFirst, OneEdit, OneEditOfFirst, Other, Split };

size_t firstDifference(const Characters& a, const Characters& b) {
    size_t common = std::min(a.size(), b.size());
    return static_cast<size_t>(std::mismatch(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(common), b.begin()).first -
                               a.begin());
}

bool sameFrom(const Characters& a, size_t fromA, const Characters& b, size_t fromB) {
    return a.size() - fromA == b.size() - fromB &&
           std::equal(a.begin() + static_cast<std::ptrdiff_t>(fromA), a.end(), b.begin() + static_cast<std::ptrdiff_t>(fromB));
}

// Two neighbouring characters swapped; `at` is where the swap starts.
bool isSwap(const Characters& word, const Characters& other, size_t at) {
    return word.size() == other.size() && at + 1 < word.size() && word[at] == other[at + 1] &&
           word[at + 1] == other[at] && sameFrom(word, at + 2, other, at + 2);
}

// One character inserted, left out or replaced at `at`.
bool isOneEdit(const Characters& word, const Characters& other, size_t at) {
    if (word.size() == other.size())
        return sameFrom(word, at + 1, other, at + 1);
    if (word.size() + 1 == other.size())
        return sameFrom(word, at, other, at + 1);
    return other.size() + 1 == word.size() && sameFrom(word, at + 1, other, at);
}

bool isSeparator(const std::string& character) { return character == " " || character == "-"; }

// Where a suggestion holds the word split in two by a space or hyphen; 0 when it does not.
size_t splitPosition(const Characters& word, const Characters& other) {
    if (other.size() != word.size() + 1)
        return 0;
    size_t at = firstDifference(word, other);
    return at > 0 && at < word.size() && isSeparator(other[at]) && sameFrom(word, at, other, at + 1) ? at : 0;
}

// The byte where character `at` of a UTF-8 text starts.
size_t byteOfCharacter(const Characters& characters, size_t at) {
    size_t bytes = 0;
    for (size_t i = 0; i < at; ++i)
        bytes += characters[i].size();
    return bytes;
}

Closeness closeness(const Characters& word, std::string_view suggestion, const SpellingCommonWords& common) {
    Characters other = foldedCharacters(suggestion);
    if (other == word)
        return Closeness::SameLetters;
    size_t at = firstDifference(word, other);
    if (size_t split = splitPosition(word, other)) {
        size_t byte = byteOfCharacter(other, split);
        bool likely = common.contains(suggestion.substr(0, byte)) && common.contains(suggestion.substr(byte + 1));
        return likely ? Closeness::OneEdit : Closeness::Split;
    }
    if (isSwap(word, other, at))
        return at == 0 ? Closeness::SwapOfFirst : Closeness::Swap;
    if (isOneEdit(word, other, at))
        return at == 0 ? Closeness::OneEditOfFirst : Closeness::OneEdit;
    return Closeness::Other;
}

} // namespace

std::vector<std::string> rankSuggestions(std::string_view word, std::vector<std::string> suggestions,
                                         const SpellingCommonWords& common) {
    Characters characters = foldedCharacters(word);
    std::vector<std::pair<Closeness, size_t>> order;
    order.reserve(suggestions.size());
    for (size_t i = 0; i < suggestions.size(); ++i)
        order.emplace_back(closeness(characters, suggestions[i], common), i);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> ranked;
    ranked.reserve(suggestions.size());
    for (const auto& [group, index] : order)
        ranked.push_back(std::move(suggestions[index]));
    return ranked;
}

} // namespace corvane::controls
