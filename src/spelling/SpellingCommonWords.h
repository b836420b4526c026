// SpellingCommonWords: the most frequent words of a dictionary's language, for ranking
// suggestions. Hunspell dictionaries carry no word frequencies, so a split of a questioned word
// into two words ("Cancelled" -> "Can celled") cannot be told from a likely one ("alot" ->
// "a lot") by the dictionary alone: a split counts as likely when both words are among the
// frequent ones of the language.
//
// The lists are short and our own: the few hundred words that lead every frequency count of
// English and German text (function words, the commonest verbs, nouns and adjectives). The
// language is the part of the dictionary's name before "_" ("en_US" -> English); other
// languages have no list, so no word of theirs is common.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace corvane {

class SpellingCommonWords {
public:
    // The frequent words of the language of a dictionary ("en_US", "de_DE"); none for a
    // language without a list.
    static const SpellingCommonWords& forDictionary(std::string_view dictionaryName);

    // No word is common.
    SpellingCommonWords() = default;
    // The words of a list separated by spaces, in small letters.
    explicit SpellingCommonWords(std::string_view words);

    // True when the UTF-8 word is one of them, whatever its letter case.
    bool contains(std::string_view word) const;

private:
    std::unordered_set<std::string> words_; // case-folded
};

} // namespace corvane
