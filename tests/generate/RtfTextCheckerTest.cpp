// The RTF checker that the help generator's tests rely on must itself reject broken RTF.
#include "testsupport/RtfChecker.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

std::string errorOf(std::string_view document) { return RtfChecker::check(document).error; }

TEST(RtfChecker, ReadsTopicsFootnotesAndText) {
    auto result = RtfChecker::check(
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}{\\*\\generator x;}\n"
        "#{\\footnote IDH_1}${\\footnote Title}K{\\footnote a;b}\\pard A\\'e9{\\b B}\\tab C\\par\n\\page\n"
        "#{\\footnote IDH_2}\\u937?\\u-10179?\\u-8704?\\~x\\page\n"
        "{\\b no footnote}\\par\n}\n");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.codePage, 1252);
    EXPECT_EQ(result.contextStrings, (std::vector<std::string>{"IDH_1", "IDH_2"}));
    EXPECT_EQ(result.pageBreaks, 2);
    ASSERT_EQ(result.topics.size(), 3u);
    ASSERT_EQ(result.topics[0].footnotes.size(), 3u);
    EXPECT_EQ(result.topics[0].footnotes[1].mark, '$');
    EXPECT_EQ(result.topics[0].footnotes[2].mark, 'K');
    EXPECT_EQ(result.topics[0].footnotes[2].text, "a;b");
    EXPECT_EQ(result.topics[0].text, "AéB\tC\n");
    EXPECT_EQ(result.topics[1].text, "Ω😀\u00a0x");
    EXPECT_EQ(result.topics[2].contextString(), "");
    EXPECT_EQ(result.topics[2].text, "no footnote\n");
}

TEST(RtfChecker, RejectsBrokenStructureNamingThePlace) {
    EXPECT_EQ(errorOf("{\\rtf1 a"), "byte 8, line 1: 1 group(s) left open at the end");
    EXPECT_EQ(errorOf("{\\rtf1 a}}"), "byte 9, line 1: text after the document's closing brace");
    EXPECT_EQ(errorOf("{\\rtf1 a}\r\n \n"), "");
    EXPECT_EQ(errorOf("\n{\\rtf1 a}"), "byte 0, line 1: the document does not start with {\\rtf1");
    EXPECT_EQ(errorOf("{\\rtf1\n\\pard\\bogus x}"), "byte 12, line 2: the unknown control word \\bogus");
    EXPECT_EQ(errorOf("{\\rtf1 caf\xc3\xa9}"), "byte 10, line 1: a byte above 127 outside an escape");
    EXPECT_EQ(errorOf("{\\rtf1 a\tb}"), "byte 8, line 1: the control character 9 outside an escape");
    EXPECT_EQ(errorOf("{\\rtf1 \\'4}"), "byte 7, line 1: \\' not followed by two hexadecimal digits");
    EXPECT_EQ(errorOf("{\\rtf1 \\u55357?}"), "byte 15, line 1: a high surrogate without a low one");
    EXPECT_EQ(errorOf("{\\rtf1 \\u-8704?}"), "byte 7, line 1: a low surrogate without a high one");
    EXPECT_EQ(errorOf("{\\rtf1 \\u70000?}"), "byte 7, line 1: \\u without a number from -32768 to 65535");
    EXPECT_EQ(errorOf("{\\rtf1 a\\!}"), "byte 8, line 1: the unknown control symbol \\!");
    EXPECT_EQ(errorOf("{\\rtf1 a\\"), "byte 8, line 1: a backslash at the end of the document");
    EXPECT_EQ(errorOf("{\\rtf1 a#{\\b\\footnote x}}"), "byte 12, line 1: \\footnote not at the start of a group in the text");
    EXPECT_EQ(errorOf("{\\rtf1 a\\*}"), "byte 8, line 1: \\* not at the start of a group");
    EXPECT_EQ(errorOf("{\\rtf1\\ansicpg932 \\'82}"), "byte 18, line 1: \\' escapes not valid in code page 932: "
                                                      "The text holds bytes that code page 932 does not define");
    EXPECT_NE(errorOf("{\\rtf1 }" "}" "{"), "");
    EXPECT_TRUE(isWellFormedRtf("{\\rtf1 ok}"));
    EXPECT_FALSE(isWellFormedRtf("{\\rtf1 {open}"));
}

} // namespace
} // namespace corvane::test
