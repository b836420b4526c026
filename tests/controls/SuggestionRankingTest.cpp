#include "controls/SuggestionRanking.h"

#include <gtest/gtest.h>

namespace corvane::controls {

TEST(SuggestionRanking, TheSameWordOrOneSwapComesFirstOtherwiseTheDictionarysOrder) {
    // As a dictionary suggests for "Teh": the swap "The" far down the list.
    std::vector<std::string> suggestions{"Te", "Tea", "Ted", "Tee", "Tech", "Eh", "Heh", "Tel", "Ten", "Tex", "Tet", "The"};
    auto ranked = rankSuggestions("Teh", suggestions);
    ASSERT_EQ(ranked.size(), suggestions.size());
    EXPECT_EQ(ranked.front(), "The");
    EXPECT_EQ(std::vector<std::string>(ranked.begin() + 1, ranked.end()),
              std::vector<std::string>(suggestions.begin(), suggestions.end() - 1));

    // Letter case alone beats a swap; the folding covers accented letters.
    EXPECT_EQ(rankSuggestions("paris", {"pairs", "Paris", "parish"}), (std::vector<std::string>{"Paris", "pairs", "parish"}));
    EXPECT_EQ(rankSuggestions("\xC3\xA9T\xC3\xA9", {"ete", "\xC3\x89t\xC3\xA9"}).front(), "\xC3\x89t\xC3\xA9");
    // Swaps of characters of several bytes; a swap of letters that are not neighbours is no swap.
    EXPECT_EQ(rankSuggestions("r\xC3\xB6\x64", {"rod", "\xC3\xB6rd", "d\xC3\xB6r"}).front(), "\xC3\xB6rd");
    EXPECT_EQ(rankSuggestions("abcd", {"abdd", "dbca", "abdc"}), (std::vector<std::string>{"abdc", "abdd", "dbca"}));
    EXPECT_TRUE(rankSuggestions("word", {}).empty());
}

} // namespace corvane::controls
