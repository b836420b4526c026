#include "controls/SuggestionRanking.h"

#include "support/CaseFold.h"

#include <algorithm>

namespace corvane::controls {

namespace {

// The characters of a UTF-8 text, letter case folded, one string each.
std::vector<std::string> foldedCharacters(std::string_view text) {
    std::string folded = foldCase(text);
    std::vector<std::string> characters;
    for (size_t i = 0; i < folded.size();) {
        size_t length = 1;
        while (i + length < folded.size() && (static_cast<unsigned char>(folded[i + length]) & 0xC0) == 0x80)
            ++length;
        characters.push_back(folded.substr(i, length));
        i += length;
    }
    return characters;
}

// 0: the same word in other letter case; 1: two neighbouring characters swapped; 2: other.
int closeness(const std::vector<std::string>& word, std::string_view suggestion) {
    std::vector<std::string> other = foldedCharacters(suggestion);
    if (other == word)
        return 0;
    if (other.size() != word.size())
        return 2;
    auto first = std::mismatch(word.begin(), word.end(), other.begin()).first - word.begin();
    size_t i = static_cast<size_t>(first);
    if (i + 1 >= word.size() || word[i] != other[i + 1] || word[i + 1] != other[i])
        return 2;
    return std::equal(word.begin() + static_cast<std::ptrdiff_t>(i) + 2, word.end(),
                      other.begin() + static_cast<std::ptrdiff_t>(i) + 2)
               ? 1
               : 2;
}

} // namespace

std::vector<std::string> rankSuggestions(std::string_view word, std::vector<std::string> suggestions) {
    std::vector<std::string> characters = foldedCharacters(word);
    std::stable_sort(suggestions.begin(), suggestions.end(), [&](const std::string& a, const std::string& b) {
        return closeness(characters, a) < closeness(characters, b);
    });
    return suggestions;
}

} // namespace corvane::controls
