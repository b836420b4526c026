#include "spelling/SpellingCharacters.h"
#include "spelling/WordSplitter.h"

#include "text/TextCodec.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

// The words the splitter finds, as text.
std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> found;
    for (const auto& span : splitWords(text))
        found.emplace_back(wordText(text, span));
    return found;
}

using Words = std::vector<std::string>;

TEST(WordSplitter, CountsPositionsInCharactersWithBytesBeside) {
    // "Ä" and "ü" take two bytes each, the emoji four; each is one character.
    std::string text = "Ärger \xF0\x9F\x98\x80Grüße, x";
    auto spans = splitWords(text);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (WordSpan{0, 5, 0, 6}));
    EXPECT_EQ(spans[1], (WordSpan{7, 5, 11, 7}));
    EXPECT_EQ(wordText(text, spans[1]), "Grüße");
    EXPECT_EQ(spans[2], (WordSpan{14, 1, 20, 1}));

    // Greek and Cyrillic letters make words; CR LF and tabs separate them.
    EXPECT_EQ(words("Καλημέρα\r\nмир\tкосмос"), (Words{"Καλημέρα", "мир", "космос"}));
    auto cyrillic = splitWords("«Привет»");
    ASSERT_EQ(cyrillic.size(), 1u);
    EXPECT_EQ(cyrillic[0], (WordSpan{1, 6, 2, 12}));
    EXPECT_TRUE(splitWords("").empty());
    EXPECT_TRUE(splitWords(" \t\r\n ").empty());
}

TEST(WordSplitter, JoinsInnerApostrophesAndHyphensOnly) {
    EXPECT_EQ(words("Don't use it’s e-mail, well-known!"),
              (Words{"Don't", "use", "it’s", "e-mail", "well-known"}));
    EXPECT_EQ(words("'quoted' students' -dash- a--b x - y"),
              (Words{"quoted", "students", "dash", "a", "b", "x", "y"}));
    EXPECT_EQ(words("Rechtschreib- und Grammatik\u2010prüfung"),
              (Words{"Rechtschreib", "und", "Grammatik\u2010prüfung"}));
    EXPECT_EQ(words("(see below). End"), (Words{"see", "below", "End"}));
    EXPECT_EQ(words("and/or"), (Words{"and", "or"}));
    // A decomposed accent stays with its letter.
    EXPECT_EQ(words("cafe\xCC\x81 ok"), (Words{"cafe\xCC\x81", "ok"}));
}

TEST(WordSplitter, SkipsNumbersIdentifiersCapitalsAndDottedNames) {
    EXPECT_EQ(words("Win32 3rd 1990s MP3-Player 42 12,5 x²"), Words{});
    EXPECT_EQ(words("cmd_Click IDH_100 txtHelpText ContextHelp iPhone"), Words{});
    EXPECT_EQ(words("OK HTML DON'T ÄÖÜ ΑΒΓ ДОМ"), Words{});
    EXPECT_EQ(words("A I"), (Words{"A", "I"}));
    EXPECT_EQ(words("Open ContextHelp.txt, Text1.Text or App.Path e.g. z.B. now"),
              (Words{"Open", "or", "now"}));
    EXPECT_EQ(words("Hello World. Mixed Case"), (Words{"Hello", "World", "Mixed", "Case"}));
}

TEST(WordSplitter, SkipsInternetAddressesAndFilePaths) {
    EXPECT_EQ(words("see http://example.com/recieve or HTTPS://x.org"), (Words{"see", "or"}));
    EXPECT_EQ(words("visit (www.exampel.com) now"), (Words{"visit", "now"}));
    EXPECT_EQ(words("mail tom@exampel.com or <mailto:a@b.c>"), (Words{"mail", "or"}));
    EXPECT_EQ(words("at @home"), (Words{"at", "home"}));
    EXPECT_EQ(words("C:\\Programme\\Korvane D:/daten \\custom.dic \"/usr/share\" ~/dokumente"),
              Words{});
    EXPECT_EQ(words("./skript ../eltern usr/share/hunspell end"), (Words{"end"}));
}

TEST(WordSplitter, SurvivesInvalidBytesAndForeignScripts) {
    // Each invalid byte is one character and ends a word.
    std::string text = "ab\xFF" "cd \xC3 ef\xE2\x82";
    auto spans = splitWords(text);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (WordSpan{0, 2, 0, 2}));
    EXPECT_EQ(spans[1], (WordSpan{3, 2, 3, 2}));
    EXPECT_EQ(spans[2], (WordSpan{8, 2, 8, 2}));
    EXPECT_EQ(words("日本語 word مرحبا"), (Words{"word"}));
    // A long run of joiners and letters stays linear and whole.
    std::string longWord;
    for (int i = 0; i < 20000; ++i)
        longWord += "a-";
    longWord += "a";
    auto longSpans = splitWords(longWord);
    ASSERT_EQ(longSpans.size(), 1u);
    EXPECT_EQ(longSpans[0].length, longWord.size());
}

// Counts the characters of valid UTF-8 text.
size_t characterCount(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); ++count)
        nextCodePoint(text, pos);
    return count;
}

TEST(WordSplitter, SpansOfRandomTextsAreOrderedAndAgreeWithTheirBytes) {
    // Pieces that meet the splitter's rules in every order, invalid bytes among them.
    const std::vector<std::string> pieces = {
        "a", "Z", "ü", "ß", "Ω", "ж", " ", "\t", "\r\n", "'", "’", "-", "\u2010", ".", "@", "/",
        "\\", ":", "_", "7", "www.", "://", "\xF0\x9F\x98\x80", "\xCC\x81", "\xFF", "\xC3", "\xE2\x82", "("};
    std::mt19937 random(20240601);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        size_t length = random() % 40;
        for (size_t i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        size_t previousEnd = 0;
        for (const auto& span : splitWords(text)) {
            ASSERT_GT(span.length, 0u) << text;
            ASSERT_GE(span.byteStart, previousEnd) << text;
            ASSERT_LE(span.byteStart + span.byteLength, text.size()) << text;
            auto word = wordText(text, span);
            ASSERT_TRUE(isValidUtf8(word)) << text;
            EXPECT_EQ(characterCount(word), span.length) << text;
            auto before = std::string_view(text).substr(0, span.byteStart);
            if (isValidUtf8(before)) {
                EXPECT_EQ(characterCount(before), span.start) << text;
            }
            previousEnd = span.byteStart + span.byteLength;
        }
    }
}

TEST(SpellingCharacters, KnowsLetterCaseOfLatinGreekAndCyrillic) {
    for (char32_t c : {U'A', U'Ä', U'Ł', U'Ÿ', U'Ž', U'ẞ', U'Ω', U'Ά', U'Ж', U'Ё', U'Ґ'})
        EXPECT_TRUE(isCapitalLetter(c) && !isSmallLetter(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U'a', U'ß', U'ł', U'ÿ', U'ž', U'ω', U'ς', U'ά', U'ж', U'ё', U'ґ'})
        EXPECT_TRUE(isSmallLetter(c) && !isCapitalLetter(c)) << static_cast<unsigned>(c);
    for (char32_t c : {U'×', U'÷', U'1', U'_', U'·', U'\u0482', U'\u3042', U'\U0001F600'})
        EXPECT_FALSE(isWordLetter(c)) << static_cast<unsigned>(c);
}

} // namespace
} // namespace corvane
