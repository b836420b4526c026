#include "platform/AppFolders.h"
#include "spelling/SpellingDictionary.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cstdlib>

namespace corvane {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

const std::vector<std::filesystem::path> SystemFolders = {"/usr/share/hunspell"};

TEST(SpellingDictionary, ChecksAndSuggestsWithTheSystemDictionaries) {
    SpellingDictionary english("en_US", SystemFolders);
    EXPECT_EQ(english.name(), "en_US");
    EXPECT_EQ(english.folder(), "/usr/share/hunspell");
    EXPECT_TRUE(english.encoding().isUtf8());
    EXPECT_TRUE(english.check("receive"));
    EXPECT_TRUE(english.check("it’s")); // the typographic apostrophe
    EXPECT_TRUE(english.check(""));
    EXPECT_FALSE(english.check("recieve"));
    EXPECT_FALSE(english.check("Grüße"));
    EXPECT_THAT(english.suggest("recieve"), Contains("receive"));
    EXPECT_TRUE(english.suggest(std::string(SpellingDictionary::MaxSuggestBytes + 1, 'x')).empty());
    EXPECT_FALSE(english.check(std::string(SpellingDictionary::MaxWordBytes + 1, 'a')));

    SpellingDictionary german("de_DE", SystemFolders);
    EXPECT_TRUE(german.check("Grüße"));
    EXPECT_TRUE(german.check("Rechtschreibprüfung"));
    EXPECT_FALSE(german.check("Rechtschreibprüfng"));
    EXPECT_THAT(german.suggest("Strasse"), Contains("Straße"));
}

TEST(SpellingDictionary, AddedWordsAreAcceptedForTheSession) {
    SpellingDictionary english("en_US", SystemFolders);
    EXPECT_FALSE(english.check("Corvane"));
    EXPECT_FALSE(english.check("CORVANE")); // answers kept from before the word was added
    english.addWord("Corvane");
    EXPECT_TRUE(english.check("Corvane"));
    EXPECT_TRUE(english.check("CORVANE"));
    english.addWord("");
    SpellingDictionary fresh("en_US", SystemFolders);
    EXPECT_FALSE(fresh.check("Corvane"));
}

TEST(SpellingDictionary, SearchesSimilarWordsOnlyWhereNoWordIsOneEditAway) {
    test::TempDir dir;
    // A dictionary that sets the number of similar words itself: a second setting would make
    // Hunspell reject the whole file.
    test::writeFile(dir / "xx_XX.aff", "SET UTF-8\nTRY abcdefghijklmnopqrstuvwxyz\nMAXNGRAMSUGS 4\n");
    test::writeFile(dir / "xx_XX.dic", "4\nhello\nkeyboard\nkeyboards\nword\n");
    SpellingDictionary own("xx_XX", {dir.path()});
    EXPECT_EQ(own.suggest("helo"), std::vector<std::string>{"hello"});
    EXPECT_EQ(own.suggest("kyebrd"), std::vector<std::string>{"keyboard"}); // two edits away
    own.addWord("Corvane"); // added after the first suggestion ...
    EXPECT_EQ(own.suggest("Corvnae"), std::vector<std::string>{"Corvane"});
    SpellingDictionary other("xx_XX", {dir.path()});
    other.addWord("Corvane"); // ... and before it
    EXPECT_EQ(other.suggest("Corvan"), std::vector<std::string>{"Corvane"});

    SpellingDictionary english("en_US", SystemFolders);
    EXPECT_EQ(english.suggest("ordre"), (std::vector<std::string>{"order", "ordure", "ord re", "ord-re"}));
    auto cheques = english.suggest("Cheques"); // only splits one edit away: the whole search
    EXPECT_GT(cheques.size(), 2u);
    EXPECT_THAT(cheques, Contains("Che ques"));
}

TEST(SpellingDictionary, TheScriptOfItsWordsComesFromTheLettersItTries) {
    SpellingDictionary english("en_US", SystemFolders);
    EXPECT_TRUE(english.hasLetterOfItsScript("colour"));
    EXPECT_TRUE(english.hasLetterOfItsScript("Ωmega")); // one Latin letter is enough
    EXPECT_FALSE(english.hasLetterOfItsScript("Привет"));
    EXPECT_FALSE(english.hasLetterOfItsScript("λόγος"));
    EXPECT_FALSE(english.hasLetterOfItsScript(""));

    test::TempDir dir;
    auto open = [&dir](const std::string& name, const std::string& aff, const std::string& dic) {
        test::writeFile(dir / (name + ".aff"), aff);
        test::writeFile(dir / (name + ".dic"), dic);
        return SpellingDictionary(name, {dir.path()});
    };
    // A Russian dictionary in KOI8-R ("мир" and "да"), and one whose .aff file tries nothing.
    SpellingDictionary russian = open("ru_X", "SET KOI8-R\nTRY \xCF\xC5\xC1\xC9\xCE\xD4\xD3\xD2\xD7\xCC\n",
                                      "2\n\xCD\xC9\xD2\n\xC4\xC1\n");
    EXPECT_TRUE(russian.check("мир"));
    EXPECT_TRUE(russian.hasLetterOfItsScript("Привет"));
    EXPECT_FALSE(russian.hasLetterOfItsScript("hello"));
    SpellingDictionary untold = open("xx_X", "SET UTF-8\n", "1\nword\n");
    EXPECT_TRUE(untold.hasLetterOfItsScript("hello"));
    EXPECT_TRUE(untold.hasLetterOfItsScript("Привет"));
    EXPECT_FALSE(untold.hasLetterOfItsScript("42 ✓"));
}

TEST(SpellingDictionary, ConvertsToAndFromALatin1Dictionary) {
    test::TempDir dir;
    // "Grüße" and "Straße" in ISO 8859-1 bytes.
    test::writeFile(dir / "de_X.aff", "SET ISO8859-1\nTRY esianrtolcdugmphbyfvkwz\xE4\xF6\xFC\xDF\n");
    test::writeFile(dir / "de_X.dic", "3\nGr\xFC\xDF" "e\nStra\xDF" "e\nHaus\n");
    SpellingDictionary latin("de_X", {dir.path()});
    EXPECT_EQ(latin.encoding().name(), "ISO8859-1");
    EXPECT_FALSE(latin.encoding().isUtf8());
    EXPECT_TRUE(latin.check("Grüße"));
    EXPECT_TRUE(latin.check("Haus"));
    EXPECT_FALSE(latin.check("Grüsse"));
    EXPECT_FALSE(latin.check("Grüße€")); // the euro sign has no Latin-1 byte
    EXPECT_THAT(latin.suggest("Grüse"), Contains("Grüße"));
    EXPECT_TRUE(latin.suggest("Gr€").empty());
    latin.addWord("Größe");
    latin.addWord("€uro");
    EXPECT_TRUE(latin.check("Größe"));
    EXPECT_TRUE(latin.check("€uro"));
}

TEST(SpellingDictionary, MissingOrBrokenDictionariesAreClearFailures) {
    test::TempDir dir;
    try {
        SpellingDictionary missing("xx_YY", {dir.path(), "/usr/share/hunspell"});
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), vberr::FileNotFound);
        EXPECT_EQ(e.description(),
                  "The spelling dictionary \"xx_YY\" is not installed: xx_YY.aff and xx_YY.dic were not found in " +
                      dir.path().string() +
                      ", /usr/share/hunspell. Install its Hunspell dictionary package or add its folder to "
                      "CORVANE_DICTIONARY_PATH.");
    }
    // Only one of the two files is as good as none.
    test::writeFile(dir / "half.dic", "1\nword\n");
    EXPECT_THROW(SpellingDictionary("half", {dir.path()}), VbError);
    // A ".dic" without its word count would make Hunspell reject every word.
    test::writeFile(dir / "bad.aff", "SET UTF-8\n");
    test::writeFile(dir / "bad.dic", "word\nother\n");
    try {
        SpellingDictionary bad("bad", {dir.path()});
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), vberr::InvalidCall);
        EXPECT_EQ(e.description(), (dir / "bad.dic").string() +
                                       ", line 1: a spelling dictionary starts with its number of words");
    }
    for (const char* name : {"", "../en_US", "/usr/share/hunspell/en_US", ".hidden", "C:en"})
        try {
            SpellingDictionary odd(name, {dir.path()});
            FAIL() << name;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), vberr::InvalidCall) << name;
        }
}

TEST(SpellingDictionary, SearchesTheConfiguredFoldersFirst) {
    test::TempDir dir;
    test::writeFile(dir / "sub" / "en_US.aff", "SET UTF-8\n");
    test::writeFile(dir / "sub" / "en_US.dic", "1\nonlyword\n");
    const std::string separator(1, platform::PathListSeparator);
    std::string list = separator + separator + (dir / "none").string() + separator + (dir / "sub").string();
    platform::setEnvironmentVariable("CORVANE_DICTIONARY_PATH", list.c_str());
    auto folders = SpellingDictionary::searchFolders();
    platform::setEnvironmentVariable("CORVANE_DICTIONARY_PATH", nullptr);
    ASSERT_EQ(folders.size(), 4u);
    EXPECT_EQ(folders[0], dir / "none");
    EXPECT_EQ(folders[2], "/usr/share/hunspell");
    EXPECT_EQ(folders[3], "/usr/share/myspell/dicts");
    SpellingDictionary own("en_US", folders);
    EXPECT_EQ(own.folder(), dir / "sub");
    EXPECT_TRUE(own.check("onlyword"));
    EXPECT_FALSE(own.check("house"));
    EXPECT_EQ(SpellingDictionary::searchFolders().size(), 2u);
}

} // namespace
} // namespace corvane
