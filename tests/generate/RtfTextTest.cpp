#include "generate/RtfText.h"

#include "files/FileReading.h"
#include "generate/HelpLanguage.h"
#include "testsupport/RtfChecker.h"
#include "testsupport/TextTools.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

using test::RtfChecker;
using test::replaceEvery;

std::string dataFile(const std::string& name) { return readFileBytes(std::string(CORVANE_SOURCE_DIR) + "/data/" + name); }

// A topic document as the WinHelp writer makes it from the shipped templates: the filled
// document start, one filled topic per text (each written with a line break), then "}".
std::string topicDocument(const std::vector<std::string>& texts, int codePage) {
    std::string doc = dataFile("template.rtf");
    doc = replaceEvery(doc, "%DEFAULT_TOPIC_TITLE%", "Context Sensitive Help file");
    doc = replaceEvery(doc, "%DEFAULT_TOPIC_TEXT%", "This file contains popup help text only");
    doc = replaceEvery(doc, "%DEFAULT_TOPIC_ID%", "IDC_DEFAULT_TOPIC") + "\r\n";
    doc = replaceEvery(doc, "%CODE_PAGE%", std::to_string(codePage));
    doc = replaceEvery(doc, "%CHARSET%", std::to_string(charsetOfCodePage(codePage)));
    std::string topic = dataFile("templatetopic.rtf");
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string filled = replaceEvery(topic, "%TOPIC_ID%", std::to_string(i + 1));
        doc += replaceEvery(filled, "%TOPIC_TEXT%", RtfText::escape(texts[i], codePage)) + "\r\n";
    }
    return doc + "}\r\n";
}

// The text as the document gives it back: every line break becomes one "\n".
std::string lineBreaksAsLf(std::string text) {
    text = replaceEvery(text, "\r\n", "\n");
    return replaceEvery(text, "\r", "\n");
}

TEST(RtfText, EscapesSyntaxLineBreaksAndTabsExactly) {
    EXPECT_EQ(RtfText::escape("", 1252), "");
    EXPECT_EQ(RtfText::escape("plain text 123 ?!", 1252), "plain text 123 ?!");
    EXPECT_EQ(RtfText::escape("a\\b{c}d\\\\", 1252), "a\\\\b\\{c\\}d\\\\\\\\");
    EXPECT_EQ(RtfText::escape("l1\r\nl2\nl3\rl4", 1252), "l1\\par l2\\par l3\\par l4");
    EXPECT_EQ(RtfText::escape("\r\n\r\n", 1252), "\\par \\par ");
    EXPECT_EQ(RtfText::escape("\n\r", 1252), "\\par \\par ");
    EXPECT_EQ(RtfText::escape("\ta\tb ", 1252), "\\tab a\\tab b ");
    EXPECT_EQ(RtfText::escape("x\x01y\x7f", 1252), "x\\'01y\\'7f");
    EXPECT_EQ(RtfText::escape("1\\par 2", 1252), "1\\\\par 2"); // text that looks like RTF stays text

    // Long texts, where plain runs are found eight bytes at a time: every ASCII character
    // anywhere in a run, against the escape of each character alone.
    const std::string alphabet = std::string("\t\n\x01\x1f\x7f\\{}~ aZ09") + "\x20";
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
        std::string text, expected;
        for (size_t i = random() % 40; i > 0; --i) {
            char c = random() % 3 == 0 ? alphabet[random() % alphabet.size()] : static_cast<char>('a' + random() % 26);
            text += c;
            expected += RtfText::escape(std::string(1, c), 1252);
        }
        ASSERT_EQ(RtfText::escape(text, 1252), expected) << text;
    }
}

TEST(RtfText, WritesCodePageCharactersAsHexAndOthersAsSignedUnicode) {
    EXPECT_EQ(RtfText::escape("Grüße €", 1252), "Gr\\'fc\\'dfe \\'80");
    EXPECT_EQ(RtfText::escape("Ω", 1252), "\\u937?");
    EXPECT_EQ(RtfText::escape("Ω", 1253), "\\'d9");
    EXPECT_EQ(RtfText::escape("Žluť", 1250), "\\'8elu\\'9d");
    EXPECT_EQ(RtfText::escape("中", 936), "\\'d6\\'d0");
    EXPECT_EQ(RtfText::escape("中", 1252), "\\u20013?");
    EXPECT_EQ(RtfText::escape("가", 1252), "\\u-21504?");
    EXPECT_EQ(RtfText::escape("\xef\xbf\xbf", 1252), "\\u-1?");
    EXPECT_EQ(RtfText::escape("😀!", 1252), "\\u-10179?\\u-8704?!");
    EXPECT_EQ(RtfText::escape("a\xff" "b\xc3", 1252), "a\\u-3?b\\u-3?"); // bytes that are not UTF-8
    EXPECT_THROW(RtfText::escape("x", 99999), VbError);
}

TEST(RtfText, EscapedTextReadsBackFromTheTopicDocument) {
    std::vector<std::string> texts = {
        "Saves the {current} record to C:\\Data\\file.txt",
        "Two lines\r\nand a third\nwith\ttab",
        "",
        "  leading and trailing blanks  ",
        "Prix: 12 € — “quoted” Ω 中 😀",
        "\\par{\\b not bold}}{",
    };
    std::string doc = topicDocument(texts, 1252);
    auto result = RtfChecker::check(doc);
    ASSERT_TRUE(result.ok()) << result.error << "\n" << doc;
    ASSERT_EQ(result.topics.size(), texts.size() + 1);
    EXPECT_EQ(result.pageBreaks, static_cast<int>(texts.size() + 1));
    EXPECT_EQ(result.topics[0].contextString(), "IDC_DEFAULT_TOPIC");
    ASSERT_EQ(result.topics[0].footnotes.size(), 2u);
    EXPECT_EQ(result.topics[0].footnotes[1].mark, '$');
    EXPECT_EQ(result.topics[0].footnotes[1].text, "Context Sensitive Help file");
    EXPECT_EQ(result.topics[0].text, "Context Sensitive Help file\nThis file contains popup help text only\n");
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto& topic = result.topics[i + 1];
        EXPECT_EQ(topic.contextString(), "IDH_" + std::to_string(i + 1));
        EXPECT_EQ(topic.footnotes.size(), 1u);
        EXPECT_EQ(topic.text, lineBreaksAsLf(texts[i]) + "\n") << "topic " << i + 1;
    }
}

TEST(RtfText, ReadsBackInOtherCodePagesWhenTheDocumentDeclaresThem) {
    for (auto [codePage, text] : {std::pair<int, std::string>{1250, "Zażółć gęślą jaźń"},
                                  {1251, "Сохранить запись"}, {932, "保存する ｶﾀｶﾅ"},
                                  {1253, "Αποθήκευση € 😀"}}) {
        auto result = RtfChecker::check(topicDocument({text}, codePage));
        ASSERT_TRUE(result.ok()) << codePage << ": " << result.error;
        ASSERT_EQ(result.topics.size(), 2u);
        EXPECT_EQ(result.topics[1].text, text + "\n") << codePage;
    }
}

// Random texts built from the awkward pieces always give a well-formed document that reads
// back to the text.
TEST(RtfText, RandomAwkwardTextsAlwaysReadBack) {
    const std::vector<std::string> pieces = {"a", " ", "\\", "{", "}", "\r\n", "\n", "\r", "\t", "é",
                                             "€", "Ω", "中", "😀", "?", "\\'", "\\u", "#", "$", "}{", "0"};
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        size_t length = random() % 12;
        for (size_t i = 0; i < length; ++i)
            text += pieces[random() % pieces.size()];
        auto result = RtfChecker::check(topicDocument({text}, 1252));
        ASSERT_TRUE(result.ok()) << result.error << " for " << text;
        ASSERT_EQ(result.topics.size(), 2u) << text;
        ASSERT_EQ(result.topics[1].text, lineBreaksAsLf(text) + "\n") << text;
    }
}

} // namespace
} // namespace corvane
