// SuggestionRanking: puts the suggestions that are most surely meant first, so that the
// suggestion the spelling dialog proposes (and Enter applies) is a good one. Letter case
// aside, the suggestions come in these groups, each in the dictionary's order:
//   1. the same word in other letter case ("teh" -> "Teh");
//   2. the word with two neighbouring letters swapped ("Teh" -> "The", "Tset" -> "Test");
//   3. the word with one letter inserted, left out or replaced ("Cancelled" -> "Canceled");
//   4. the other suggestions of the dictionary;
//   5. the word split into two ("Cancelled" -> "Can celled", "Can-celled").
// Within groups 2 and 3 the suggestions that keep the first letter come first: a first letter
// is seldom mistyped ("Tset" -> "Test" before "Stet"). A split into two words that are both
// common in the language ("alot" -> "a lot") counts as the one inserted character it is.
#pragma once

#include "spelling/SpellingCommonWords.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

// The suggestions for the questioned UTF-8 `word`, reordered as above; `common` holds the
// frequent words of the dictionary's language.
std::vector<std::string> rankSuggestions(std::string_view word, std::vector<std::string> suggestions,
                                         const SpellingCommonWords& common = SpellingCommonWords());

} // namespace corvane::controls
