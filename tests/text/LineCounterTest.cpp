#include "text/LineCounter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

// The line of `offset` counted from the start, as the program's messages name lines.
int lineCountedFromTheStart(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

TEST(LineCounter, EveryKindOfLineEndCountsOnceInWhateverOrderTheOffsetsAreAsked) {
    // Lines: 1 "a", 2 "b" (after CR LF), 3 "c" (after a lone CR), 4 "" (after LF), 5 "d", 6 "" after the last CR.
    const std::string text = "a\r\nb\rc\n\nd\r";
    LineCounter counter(text);
    EXPECT_EQ(counter.lineAt(0), 1);
    EXPECT_EQ(counter.lineAt(2), 1); // the LF of CR LF still stands in the line it ends
    EXPECT_EQ(counter.lineAt(3), 2);
    EXPECT_EQ(counter.lineAt(6), 3);
    EXPECT_EQ(counter.lineAt(9), 5);
    EXPECT_EQ(counter.lineAt(1), 1); // back before the last one asked
    EXPECT_EQ(counter.lineAt(7), 4);
    EXPECT_EQ(counter.lineAt(10), 6); // the end, after the last CR
    EXPECT_EQ(counter.lineAt(1000), 6);
    EXPECT_EQ(counter.lineAt(-1), 0);
    EXPECT_EQ(counter.lineAt(5), 3);

    // Random texts of the bytes that end lines and others, asked in rising and random order.
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string bytes;
        for (int i = 0; i < 200; ++i)
            bytes += "\r\nx\0"[random() % 4];
        LineCounter rising(bytes);
        for (size_t offset = 0; offset <= bytes.size(); offset += random() % 5)
            ASSERT_EQ(rising.lineAt(static_cast<std::ptrdiff_t>(offset)), lineCountedFromTheStart(bytes, offset))
                << round << " " << offset;
        LineCounter anyOrder(bytes);
        for (int i = 0; i < 100; ++i) {
            const size_t offset = random() % (bytes.size() + 1);
            ASSERT_EQ(anyOrder.lineAt(static_cast<std::ptrdiff_t>(offset)), lineCountedFromTheStart(bytes, offset))
                << round << " " << offset;
        }
    }
}

TEST(LineCounter, CountsOnlyTheBytesItWasGiven) {
    const std::string text = "one\ntwo";
    const std::string same = text;
    const LineCounter counter(text);
    EXPECT_TRUE(counter.counts(text));
    EXPECT_FALSE(counter.counts(same)); // the same text elsewhere may change on its own
    EXPECT_FALSE(counter.counts(std::string_view(text).substr(0, 3)));
}

} // namespace
} // namespace corvane
