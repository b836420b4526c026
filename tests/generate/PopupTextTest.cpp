#include "generate/PopupText.h"

#include "files/AtomicFile.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace corvane {
namespace {

TEST(PopupText, WritesTopicsAsTheViewerReadsThemInTheCodePage) {
    PopupText popup(1252);
    popup.appendTopic(1, "Saves the record");
    popup.appendTopic(12, "Zwei Zeilen\r\nGrüße € < & \"x\"\t ");
    popup.appendTopic(2147483647, "");
    EXPECT_EQ(popup.bytes(), ".topic 1\r\nSaves the record\r\n\r\n"
                             ".topic 12\r\nZwei Zeilen\r\nGr\xfc\xdf" "e \x80 < & \"x\"\t \r\n\r\n"
                             ".topic 2147483647\r\n\r\n\r\n");
    EXPECT_TRUE(popup.unmappable().empty());
    EXPECT_EQ(popup.warnings("P_ContextTopics.txt"), "");

    EXPECT_EQ(PopupText::encode("Сохранить", 1251).bytes(), "\xd1\xee\xf5\xf0\xe0\xed\xe8\xf2\xfc");
    EXPECT_EQ(PopupText::encode("保存", 932).bytes(), "\x95\xdb\x91\xb6");
    EXPECT_EQ(PopupText::encode("Zażółć", 1250).bytes(), "Za\xbf\xf3\xb3\xe6");
    EXPECT_THROW(PopupText(99999), VbError);
}

TEST(PopupText, ReplacesWhatTheCodePageCannotHoldAndSaysWhere) {
    PopupText popup(1252);
    popup.appendTopic(7, "Straße Ω");
    popup.appendTopic(8, "ok\r\nline two 中😀\nx\xff");
    EXPECT_EQ(popup.bytes(), ".topic 7\r\nStra\xdf" "e ?\r\n\r\n.topic 8\r\nok\r\nline two ??\r\nx?\r\n\r\n");
    const auto& bad = popup.unmappable();
    ASSERT_EQ(bad.size(), 4u);
    EXPECT_EQ(bad[0].character, U'Ω');
    EXPECT_EQ(bad[0].topic, "7");
    EXPECT_EQ(bad[0].line, 2u);
    EXPECT_EQ(bad[0].column, 8u);
    EXPECT_EQ(bad[1].character, U'中');
    EXPECT_EQ(bad[1].topic, "8");
    EXPECT_EQ(bad[1].line, 6u);
    EXPECT_EQ(bad[1].column, 10u);
    EXPECT_EQ(bad[2].character, U'😀');
    EXPECT_EQ(bad[2].column, 11u);
    EXPECT_EQ(bad[3].character, U'\uFFFD');
    EXPECT_EQ(bad[3].line, 7u);
    EXPECT_EQ(bad[3].column, 2u);
    EXPECT_EQ(popup.warnings("P_ContextTopics.txt", 2),
              "Warning: P_ContextTopics.txt, topic 7, line 2, column 8: code page 1252 cannot hold the "
              "character 'Ω' (U+03A9); it was written as '?'.\n"
              "Warning: P_ContextTopics.txt, topic 8, line 6, column 10: code page 1252 cannot hold the "
              "character '中' (U+4E2D); it was written as '?'.\n"
              "Warning: P_ContextTopics.txt: 2 more characters were written as '?'.\n");

    auto greek = PopupText::encode("Ω € Ж", 1253);
    EXPECT_EQ(greek.bytes(), "\xd9 \x80 ?");
    ASSERT_EQ(greek.unmappable().size(), 1u);
    EXPECT_EQ(greek.unmappable()[0].topic, "");
    EXPECT_EQ(greek.unmappable()[0].column, 5u);
}

TEST(PopupText, TopicAndLineOfAReportFollowWhereTopicLinesReallyStart) {
    PopupText popup(1252);
    popup.appendLine("plain line");
    popup.appendTopic(3, "text .topic 9");
    popup.appendLine(".topic 42 "); // a topic line written as text counts as one
    popup.appendLine("Ω");
    popup.append("half");
    popup.appendTopic(5, "Ω");       // ".topic 5" after "half" starts no topic
    popup.appendTopic(6, "x\rΩ");
    EXPECT_EQ(popup.bytes(), "plain line\r\n.topic 3\r\ntext .topic 9\r\n\r\n.topic 42 \r\n?\r\n"
                             "half.topic 5\r\n?\r\n\r\n.topic 6\r\nx\r\n?\r\n\r\n");
    const auto& bad = popup.unmappable();
    ASSERT_EQ(bad.size(), 3u);
    EXPECT_EQ(bad[0].topic, "42");
    EXPECT_EQ(bad[0].line, 6u);
    EXPECT_EQ(bad[1].topic, "42");
    EXPECT_EQ(bad[1].line, 8u);
    EXPECT_EQ(bad[2].topic, "6");
    EXPECT_EQ(bad[2].line, 12u);
    EXPECT_EQ(bad[2].column, 1u);
}

// Random texts of held and unheld characters and broken bytes: every unheld piece becomes
// exactly one '?' and one report, everything else keeps its bytes in the code page.
TEST(PopupText, RandomTextsReplaceExactlyTheUnheldCharacters) {
    struct Piece {
        std::string text, bytes;
    };
    const std::vector<Piece> pieces = {{"a", "a"}, {"\r\n", "\r\n"}, {"\n", "\r\n"}, {"é", "\xe9"},
                                       {"€", "\x80"}, {"Ω", "?"}, {"😀", "?"}, {"\xff", "?"},
                                       {".topic 5\r\n", ".topic 5\r\n"}, {" ", " "}};
    std::mt19937 random(77);
    for (int round = 0; round < 2000; ++round) {
        std::string text, expected;
        size_t unheld = 0;
        for (size_t i = random() % 16; i > 0; --i) {
            const auto& piece = pieces[random() % pieces.size()];
            text += piece.text;
            expected += piece.bytes;
            unheld += piece.bytes == "?";
        }
        auto popup = PopupText::encode(text, 1252);
        ASSERT_EQ(popup.bytes(), expected) << text;
        ASSERT_EQ(popup.unmappable().size(), unheld) << text;
    }
}

TEST(PopupText, EveryLineBreakIsCrLfAndTextLinesThatWouldStartATopicGetABlank) {
    PopupText popup(1252);
    popup.append("a\nb\rc\r\nd\r");
    popup.append("\ne\n\n");
    EXPECT_EQ(popup.bytes(), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\n");

    PopupText topics(1251);
    topics.appendTopic(1, ".topic 2");
    topics.appendTopic(3, "Текст\n.Topic\r\n .topic 4\r.topicX Ж\n..topic\n.topi");
    topics.appendTopic(5, "a .topic 6");
    EXPECT_EQ(topics.bytes(), ".topic 1\r\n .topic 2\r\n\r\n"
                              ".topic 3\r\n\xd2\xe5\xea\xf1\xf2\r\n .Topic\r\n .topic 4\r\n .topicX \xc6\r\n"
                              "..topic\r\n.topi\r\n\r\n"
                              ".topic 5\r\na .topic 6\r\n\r\n");
    const auto& defused = topics.defusedDirectives();
    ASSERT_EQ(defused.size(), 3u);
    EXPECT_EQ(defused[0].topic, "1");
    EXPECT_EQ(defused[0].line, 2u);
    EXPECT_EQ(defused[0].start, ".topic 2");
    EXPECT_EQ(defused[1].topic, "3");
    EXPECT_EQ(defused[1].line, 6u);
    EXPECT_EQ(defused[2].line, 8u);
    EXPECT_EQ(defused[2].start, ".topicX Ж");
    EXPECT_EQ(topics.notes("P.txt"),
              "Note: P.txt, topic 1, line 2: the help text line \".topic 2\" would have started a topic of its "
              "own; it was written with a blank in front.\n"
              "Note: P.txt, topic 3, line 6: the help text line \".Topic\" would have started a topic of its "
              "own; it was written with a blank in front.\n"
              "Note: P.txt, topic 3, line 8: the help text line \".topicX Ж\" would have started a topic of its "
              "own; it was written with a blank in front.\n");
    // The lines after a defused one still know their topic.
    topics.appendTopic(7, "Ω");
    EXPECT_EQ(topics.unmappable().back().topic, "7");
    EXPECT_EQ(PopupText(1252).notes("P.txt"), "");
}

TEST(PopupText, WritesTheSameBytesToStreamAndFile) {
    test::TempDir dir;
    auto popup = PopupText::encode(".topic 3\r\nÄ\r\n\r\n", 1252);
    std::ostringstream stream;
    popup.write(stream);
    EXPECT_EQ(stream.str(), ".topic 3\r\n\xc4\r\n\r\n");
    popup.writeFile(dir / "P_ContextTopics.txt");
    EXPECT_EQ(test::readFile(dir / "P_ContextTopics.txt"), stream.str());
    EXPECT_THROW(popup.writeFile(dir / "missing folder" / "x.txt"), VbError);
}

} // namespace
} // namespace corvane
