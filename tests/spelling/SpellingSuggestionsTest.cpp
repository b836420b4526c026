// The suggestion cache with the real Hunspell dictionaries, searched on several threads.
#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingSuggestions.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace corvane {
namespace {

const std::filesystem::path SystemFolder = "/usr/share/hunspell";

TEST(SpellingSuggestions, ManyWordsOnSeveralThreadsGetWhatOneDictionaryAnswers) {
    const std::vector<std::string> words{"recieve", "teh",   "Wedensday", "acommodate", "ordre",  "xqzvbn",
                                         "Seperate", "invoce", "controll",  "informaton", "Cancelled", "teh"};
    SpellingSuggestions suggestions("en_US", SystemFolder, {});
    suggestions.prepare(words, 3);
    EXPECT_LE(suggestions.pooledDictionaries(), 3u);
    EXPECT_GE(suggestions.pooledDictionaries(), 1u);

    SpellingDictionary alone("en_US", {SystemFolder});
    for (const std::string& word : words) {
        EXPECT_TRUE(suggestions.has(word)) << word;
        EXPECT_EQ(suggestions.suggest(word), alone.suggest(word)) << word;
    }
    // Kept words are answered without a search: no dictionary more is opened for them.
    size_t pooled = suggestions.pooledDictionaries();
    suggestions.prepare(words);
    EXPECT_EQ(suggestions.pooledDictionaries(), pooled);
    EXPECT_FALSE(suggestions.has("wrod"));
    EXPECT_THAT(suggestions.suggest("wrod"), ::testing::Contains("word"));
    EXPECT_TRUE(suggestions.has("wrod"));
    suggestions.prepare({});
}

TEST(SpellingSuggestions, TheSharedObjectFollowsTheDictionaryAndItsAddedWords) {
    auto plain = SpellingSuggestions::shared("en_US", SystemFolder, {});
    EXPECT_EQ(SpellingSuggestions::shared("en_US", SystemFolder, {}), plain);
    auto withWord = SpellingSuggestions::shared("en_US", SystemFolder, {"Zorbix"});
    EXPECT_NE(withWord, plain);
    EXPECT_NE(SpellingSuggestions::shared("de_DE", SystemFolder, {}), plain);
    // The program keeps one object a dictionary: the one for the latest added words.
    EXPECT_EQ(SpellingSuggestions::shared("en_US", SystemFolder, {"Zorbix"}), withWord);
    EXPECT_NE(SpellingSuggestions::shared("en_US", SystemFolder, {}), plain);
    EXPECT_THAT(withWord->suggest("Zorbx"), ::testing::Contains("Zorbix"));
    EXPECT_THAT(plain->suggest("Zorbx"), ::testing::Not(::testing::Contains("Zorbix")));
    EXPECT_GE(SpellingSuggestions::coreCount(), 1u);
}

TEST(SpellingSuggestions, ADictionaryThatCannotOpenIsItsFailure) {
    test::TempDir dir;
    SpellingSuggestions missing("en_US", dir.path(), {});
    try {
        missing.prepare({"wrod", "teh"}, 2);
        FAIL() << "no failure";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), vberr::FileNotFound);
    }
    EXPECT_FALSE(missing.has("wrod"));
    EXPECT_THROW(missing.suggest("wrod"), VbError);
    EXPECT_EQ(missing.pooledDictionaries(), 0u);
}

} // namespace
} // namespace corvane
