// SuggestionRanking: puts the suggestions that are most surely meant first, so that the
// suggestion the spelling dialog proposes (and Enter applies) is a good one: the same word in
// other letter case ("teh" -> "Teh"), then the word with two neighbouring letters swapped
// ("Teh" -> "The"), then the dictionary's order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

// The suggestions for the questioned UTF-8 `word`, reordered as above; the order within each
// group is the dictionary's.
std::vector<std::string> rankSuggestions(std::string_view word, std::vector<std::string> suggestions);

} // namespace corvane::controls
