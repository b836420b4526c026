#include "spelling/SpellingDictionary.h"
#include "spelling/SuggestionRanking.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvane::controls {
namespace {

using Words = std::vector<std::string>;

TEST(SuggestionRanking, SameLettersThenOneSwapThenOneEditThenTheDictionarysOrder) {
    // As a dictionary suggests for "Teh": the swap "The" far down the list, and two words that
    // change the first letter among those that differ by one letter.
    Words suggestions{"Te", "Tea", "Ted", "Tee", "Tech", "Eh", "Heh", "Tel", "Ten", "Tex", "Tet", "The", "Tenth"};
    EXPECT_EQ(rankSuggestions("Teh", suggestions),
              (Words{"The", "Te", "Tea", "Ted", "Tee", "Tech", "Tel", "Ten", "Tex", "Tet", "Eh", "Heh", "Tenth"}));

    // Letter case alone beats a swap; the folding covers accented letters.
    EXPECT_EQ(rankSuggestions("paris", {"pairs", "Paris", "parish"}), (Words{"Paris", "pairs", "parish"}));
    EXPECT_EQ(rankSuggestions("\xC3\xA9T\xC3\xA9", {"ete", "\xC3\x89t\xC3\xA9"}).front(), "\xC3\x89t\xC3\xA9");
    // Swaps of characters of several bytes; a swap of letters that are not neighbours is no swap.
    EXPECT_EQ(rankSuggestions("r\xC3\xB6\x64", {"rod", "\xC3\xB6rd", "d\xC3\xB6r"}), (Words{"\xC3\xB6rd", "rod", "d\xC3\xB6r"}));
    EXPECT_EQ(rankSuggestions("abcd", {"abdd", "dbca", "abdc"}), (Words{"abdc", "abdd", "dbca"}));
    // A swap that keeps the first letter before one that changes it; insertion, deletion and
    // replacement of one letter alike, each before the same edit of the first letter.
    EXPECT_EQ(rankSuggestions("Tset", {"Stet", "Test"}), (Words{"Test", "Stet"}));
    EXPECT_EQ(rankSuggestions("form", {"storm", "from", "forms", "Norm", "for", "firm", "orm"}),
              (Words{"from", "forms", "for", "firm", "Norm", "orm", "storm"}));
    EXPECT_TRUE(rankSuggestions("word", {}).empty());
}

TEST(SuggestionRanking, ASplitComesLastUnlessBothWordsAreCommon) {
    const SpellingCommonWords& english = SpellingCommonWords::forDictionary("en_US");
    Words suggestions{"a lot", "al ot", "aloft", "allot", "a-lot", "slot", "Lot"};
    // Without common words every split is last; "a lot" and "a-lot" are one inserted character
    // when "a" and "lot" are common.
    EXPECT_EQ(rankSuggestions("alot", suggestions),
              (Words{"aloft", "allot", "slot", "Lot", "a lot", "al ot", "a-lot"}));
    EXPECT_EQ(rankSuggestions("alot", suggestions, english),
              (Words{"a lot", "aloft", "allot", "a-lot", "slot", "Lot", "al ot"}));
    // A suggestion with a space that is more than the split is no split.
    EXPECT_EQ(rankSuggestions("alot", {"al ots", "blot"}, english), (Words{"blot", "al ots"}));

    EXPECT_TRUE(english.contains("The"));
    EXPECT_FALSE(english.contains("celled"));
    EXPECT_TRUE(SpellingCommonWords::forDictionary("en_GB").contains("lot"));
    EXPECT_TRUE(SpellingCommonWords::forDictionary("de_DE").contains("F\xC3\x9CR"));
    EXPECT_FALSE(SpellingCommonWords::forDictionary("fr_FR").contains("the"));
    EXPECT_FALSE(SpellingCommonWords().contains("a"));
}

// Hunspell's en_US suggestions for the mistakes users met, ranked as the dialog and the command
// line show them.
TEST(SuggestionRanking, TheMistakesUsersMetGetARealWordFirstWithTheEnglishDictionary) {
    SpellingDictionary english("en_US", {"/usr/share/hunspell"});
    const SpellingCommonWords& common = SpellingCommonWords::forDictionary("en_US");
    auto ranked = [&](const std::string& word) {
        Words suggestions = english.suggest(word);
        Words result = rankSuggestions(word, suggestions, common);
        std::sort(suggestions.begin(), suggestions.end());
        Words sorted = result;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, suggestions) << word << ": ranking keeps every suggestion";
        return result;
    };
    auto isSplit = [](const std::string& suggestion) { return suggestion.find_first_of(" -") != std::string::npos; };
    auto before = [](const Words& words, const std::string& first, const std::string& second) {
        auto a = std::find(words.begin(), words.end(), first);
        auto b = std::find(words.begin(), words.end(), second);
        return a != words.end() && b != words.end() && a < b;
    };

    Words cancelled = ranked("Cancelled");
    ASSERT_FALSE(cancelled.empty());
    EXPECT_EQ(cancelled.front(), "Canceled");
    // Every split ("Can celled", "Cancel-led") after every word.
    EXPECT_TRUE(std::is_partitioned(cancelled.begin(), cancelled.end(), [&](const auto& s) { return !isSplit(s); }));
    EXPECT_TRUE(std::any_of(cancelled.begin(), cancelled.end(), isSplit));

    Words cheques = ranked("Cheques");
    ASSERT_FALSE(cheques.empty());
    EXPECT_FALSE(isSplit(cheques.front())) << cheques.front();
    EXPECT_TRUE(std::is_partitioned(cheques.begin(), cheques.end(), [&](const auto& s) { return !isSplit(s); }));

    Words cheque = ranked("Cheque");
    ASSERT_FALSE(cheque.empty());
    EXPECT_FALSE(isSplit(cheque.front())) << cheque.front();

    Words tset = ranked("Tset");
    ASSERT_FALSE(tset.empty());
    EXPECT_EQ(tset.front(), "Test");
    EXPECT_TRUE(before(tset, "Test", "Stet"));

    EXPECT_EQ(ranked("Recieve").front(), "Receive");
    EXPECT_EQ(ranked("teh").front(), "the");
    EXPECT_EQ(ranked("Wedensday").front(), "Wednesday");
    EXPECT_EQ(ranked("ordre").front(), "order");
}

} // namespace
} // namespace corvane::controls
