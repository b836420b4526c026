#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingEditSuggester.h"
#include "testsupport/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace corvane {
namespace {

using ::testing::Contains;

// Writes the dictionary `name` into the folder.
void writeDictionary(const test::TempDir& dir, const std::string& name, const std::string& aff, const std::string& dic) {
    test::writeFile(dir / (name + ".aff"), aff);
    test::writeFile(dir / (name + ".dic"), dic);
}

TEST(SpellingEditSuggester, OnlyDictionariesThatJoinNumbersAloneLeaveOutTheCompoundPass) {
    EXPECT_TRUE(compoundsOnlyNumbers("/usr/share/hunspell", "en_US"));
    EXPECT_FALSE(compoundsOnlyNumbers("/usr/share/hunspell", "de_DE"));

    test::TempDir dir;
    const std::string rules = "SET UTF-8\nCOMPOUNDMIN 1\nCOMPOUNDRULE 1\nCOMPOUNDRULE n*t\n";
    writeDictionary(dir, "numbers", rules, "3\n1/n\n1st/t\nfirst\n");
    EXPECT_TRUE(compoundsOnlyNumbers(dir.path(), "numbers"));
    writeDictionary(dir, "words", rules, "2\n1/n\nfoot/t\n"); // a rule that ends in a word
    EXPECT_FALSE(compoundsOnlyNumbers(dir.path(), "words"));
    writeDictionary(dir, "flagged", "SET UTF-8\nCOMPOUNDFLAG X\n", "1\nhaus/X\n");
    EXPECT_FALSE(compoundsOnlyNumbers(dir.path(), "flagged"));
    writeDictionary(dir, "long", "SET UTF-8\nFLAG long\nCOMPOUNDRULE 1\nCOMPOUNDRULE (nn)*\n", "1\n1/nn\n");
    EXPECT_FALSE(compoundsOnlyNumbers(dir.path(), "long")); // flags it does not read: kept safe
    writeDictionary(dir, "none", "SET UTF-8\n", "1\nword\n");
    EXPECT_TRUE(compoundsOnlyNumbers(dir.path(), "none"));
}

TEST(SpellingEditSuggester, ADictionaryThatJoinsWordsStillSuggestsItsCompounds) {
    test::TempDir dir;
    // "haustuer" is a compound of two words, "haustuen" a word of its own: both one edit away.
    writeDictionary(dir, "xx_XX", "SET UTF-8\nTRY aehnrstux\nCOMPOUNDFLAG X\nCOMPOUNDMIN 3\n",
                    "3\nhaus/X\ntuer/X\nhaustuen\n");
    SpellingDictionary joined("xx_XX", {dir.path()});
    ASSERT_TRUE(joined.check("haustuer"));
    auto suggestions = joined.suggest("haustuex");
    EXPECT_THAT(suggestions, Contains("haustuen"));
    EXPECT_THAT(suggestions, Contains("haustuer"));

    SpellingDictionary english("en_US", {"/usr/share/hunspell"});
    EXPECT_THAT(english.suggest("Tset"), Contains("Test"));
    EXPECT_THAT(english.suggest("recieve"), Contains("receive"));
}

// Hunspell shares one table among its UTF-8 dictionaries without a lock: opened and closed on
// many threads at once, they must not make two tables or free one in use (the sanitizers
// report either).
TEST(SpellingEditSuggester, DictionariesOpenAndCloseOnManyThreadsAtOnce) {
    std::atomic<int> answered{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&answered] {
            for (int round = 0; round < 3; ++round) {
                SpellingDictionary english("en_US", {"/usr/share/hunspell"});
                auto suggestions = english.suggest("recieve"); // opens the edit suggester too
                if (std::find(suggestions.begin(), suggestions.end(), "receive") != suggestions.end())
                    ++answered;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(answered, 18);
}

} // namespace
} // namespace corvane
