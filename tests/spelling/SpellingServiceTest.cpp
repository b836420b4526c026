#include "platform/AppFolders.h"
#include "spelling/SpellingService.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <cstdlib>
#include <sstream>

namespace corvane {
namespace {

using ::testing::Contains;
using Words = std::vector<std::string>;

LanguageTable testTable() {
    std::istringstream in("Neutral\t1252\t0x0409\ten_US\n"
                          "English\t1252\t0x0409\ten_US\n"
                          "German\t1252\t0x0407\tde_DE\n"
                          "Klingon\t1252\t0x0409\ttlh_XX\n");
    return LanguageTable::read(in, "languagecodes.txt");
}

SpellingService makeService(const test::TempDir& dir) {
    return SpellingService(CustomDictionary::load(dir / "custom.dic"), testTable(), {"/usr/share/hunspell"});
}

Words badWords(SpellingService& service, std::string_view text) {
    Words words;
    for (const auto& bad : service.check(text))
        words.push_back(bad.word);
    return words;
}

TEST(SpellingService, QuestionsWordsWithCharacterSpansAndSuggestions) {
    test::TempDir dir;
    auto service = makeService(dir);
    EXPECT_EQ(service.language(), "Neutral");
    EXPECT_EQ(service.dictionaryName(), "en_US");
    auto bad = service.check("I recieve teh mail from www.exampel.com, see C:\\Tmp\\fiel.txt; "
                             "HTML OK Win32 txtNaem e.g. it’s well-known");
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0].word, "recieve");
    EXPECT_EQ(bad[0].span, (WordSpan{2, 7, 2, 7}));
    EXPECT_THAT(bad[0].suggestions, Contains("receive"));
    EXPECT_EQ(bad[1].word, "teh");
    EXPECT_EQ(bad[1].span, (WordSpan{10, 3, 10, 3}));
    EXPECT_THAT(bad[1].suggestions, Contains("the"));
    EXPECT_TRUE(service.check("").empty());

    // Umlauts and an emoji before the word count one character each.
    std::string text = "\xF0\x9F\x98\x80 Grüße und Grüsse";
    auto english = service.check(text);
    ASSERT_FALSE(english.empty());
    EXPECT_EQ(english[0].word, "Grüße");
    EXPECT_EQ(english[0].span, (WordSpan{2, 5, 5, 7}));
    service.setLanguage("German");
    EXPECT_EQ(service.dictionaryName(), "de_DE");
    auto german = service.check(text);
    ASSERT_EQ(german.size(), 1u);
    EXPECT_EQ(german[0].word, "Grüsse");
    EXPECT_EQ(german[0].span, (WordSpan{12, 6, 17, 7}));
    EXPECT_THAT(german[0].suggestions, Contains("Grüße"));
}

TEST(SpellingService, SingleLettersAndWordsOfOtherScriptsAreNotQuestioned) {
    test::TempDir dir;
    auto service = makeService(dir);
    std::string text = "Option b or x, the letter π, é, Привет мир, λόγος and Ωmega wrod";
    EXPECT_EQ(badWords(service, text), (Words{"Ωmega", "wrod"}));
    EXPECT_TRUE(service.isAccepted("q"));
    EXPECT_TRUE(service.isAccepted("e\u0301")); // one letter with its accent
    EXPECT_FALSE(service.isAccepted("qz"));
    service.setLanguage("German");
    EXPECT_EQ(badWords(service, "Привет Wrot"), (Words{"Wrot"}));
}

TEST(SpellingService, SuggestionsAreSearchedWhenAskedForAndSharedWithOtherServices) {
    test::TempDir dir;
    auto service = makeService(dir);
    auto shared = SpellingSuggestions::shared("en_US", "/usr/share/hunspell", {});
    auto bad = service.questionedWords("Thiss is a qwertzuiopy tset");
    ASSERT_EQ(bad.size(), 3u);
    EXPECT_TRUE(bad[0].suggestions.empty());
    EXPECT_FALSE(shared->has("qwertzuiopy")); // questioned, never asked for
    service.prepareSuggestions({"Thiss", "tset", "Thiss"});
    EXPECT_TRUE(shared->has("Thiss"));
    EXPECT_TRUE(shared->has("tset"));
    EXPECT_FALSE(shared->has("qwertzuiopy"));
    EXPECT_THAT(service.suggest("tset"), Contains("test"));
    EXPECT_EQ(service.check("tset")[0].suggestions, shared->suggest("tset"));

    // Once a word is added the dictionary may suggest it: the service asks elsewhere.
    EXPECT_THAT(service.suggest("Quuxlz"), ::testing::Not(Contains("Quuxly")));
    service.addToDictionary("Quuxly");
    EXPECT_THAT(service.suggest("Quuxlz"), Contains("Quuxly"));
    EXPECT_THAT(shared->suggest("Quuxlz"), ::testing::Not(Contains("Quuxly")));
}

TEST(SpellingService, AcceptsAbbreviationsCompoundPartsAndTypographicHyphens) {
    test::TempDir dir;
    auto service = makeService(dir);
    service.setLanguage("german");
    EXPECT_EQ(badWords(service, "Rechtschreib- und Grammatikprüfung usw. Hilfe\u2010Text"), Words{});
    EXPECT_EQ(badWords(service, "usw Rechtschreib"), (Words{"usw", "Rechtschreib"}));
    EXPECT_TRUE(service.isAccepted("Hilfe\u2010Text"));
    EXPECT_FALSE(service.isAccepted("usw"));
}

TEST(SpellingService, WalksTheTextFromAPositionAndHonoursIgnoreAll) {
    test::TempDir dir;
    auto service = makeService(dir);
    std::string text = "Thiss is teh text, teh end";
    auto first = service.nextBadWord(text, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->word, "Thiss");
    auto second = service.nextBadWord(text, first->span.start + 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->span.start, 9u);
    EXPECT_FALSE(service.nextBadWord(text, 23));

    service.ignoreAll("teh");
    EXPECT_EQ(badWords(service, text), (Words{"Thiss"}));
    EXPECT_EQ(badWords(service, "Teh"), (Words{"Teh"})); // ignored exactly as written
    service.setLanguage("German");
    EXPECT_TRUE(service.isAccepted("teh"));
    service.clearIgnoreAll();
    EXPECT_FALSE(service.isAccepted("teh"));
}

TEST(SpellingService, AddedWordsAreSavedAndAcceptedInEveryLanguage) {
    test::TempDir dir;
    {
        auto service = makeService(dir);
        EXPECT_FALSE(service.isAccepted("Corvane"));
        service.addToDictionary("Corvane");
        EXPECT_TRUE(service.isAccepted("Corvane"));
        service.setLanguage("German"); // opened after the word was added
        EXPECT_TRUE(service.isAccepted("Corvane"));
        service.addToDictionary("Halvex");
        service.setLanguage("English"); // opened before the word was added
        EXPECT_TRUE(service.isAccepted("Halvex"));
        EXPECT_THROW(service.addToDictionary("two words"), VbError);
    }
    EXPECT_EQ(test::readFile(dir / "custom.dic"), "Corvane\nHalvex\n");
    auto restarted = makeService(dir);
    EXPECT_EQ(badWords(restarted, "Corvane by Halvex"), Words{});
}

TEST(SpellingService, AMissingDictionaryIsAClearFailureNotAWallOfBadWords) {
    test::TempDir dir;
    auto service = makeService(dir);
    try {
        service.setLanguage("Klingon");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), vberr::FileNotFound);
        EXPECT_THAT(e.description(), ::testing::StartsWith("The spelling dictionary \"tlh_XX\" is not installed"));
    }
    EXPECT_EQ(service.language(), "Klingon");
    EXPECT_THROW(service.check("any text"), VbError);
    service.setLanguage("English");
    EXPECT_TRUE(service.check("any text").empty());
}

TEST(SpellingService, NeutralAndUnknownLanguagesUseTheDefaultDictionary) {
    auto table = testTable();
    EXPECT_EQ(SpellingService::dictionaryNameFor("Neutral", table), "en_US");
    EXPECT_EQ(SpellingService::dictionaryNameFor("GERMAN", table), "de_DE");
    platform::setEnvironmentVariable("CORVANE_DEFAULT_DICTIONARY", "de_DE");
    EXPECT_EQ(SpellingService::dictionaryNameFor("neutral", table), "de_DE");
    EXPECT_EQ(SpellingService::dictionaryNameFor("Esperanto", table), "de_DE");
    EXPECT_EQ(SpellingService::dictionaryNameFor("English", table), "en_US");
    test::TempDir dir;
    auto service = makeService(dir);
    EXPECT_TRUE(service.isAccepted("Grüße"));
    platform::setEnvironmentVariable("CORVANE_DEFAULT_DICTIONARY", nullptr);

    // The shipped language table names the dictionaries of the installed languages.
    SpellingService installed(CustomDictionary::load(dir / "custom.dic"));
    installed.setLanguage("German");
    EXPECT_EQ(installed.dictionaryName(), "de_DE");
    EXPECT_TRUE(installed.isAccepted("Grüße"));
}

} // namespace
} // namespace corvane
