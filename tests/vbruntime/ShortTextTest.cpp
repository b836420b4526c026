#include "vbruntime/ShortText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace corvane::test {
namespace {

using namespace std::string_literals;

TEST(ShortText, TextsInPlaceAndInABlockReadBackAsTheyWereGiven) {
    const std::vector<std::string> texts = {
        "",
        "x",
        "cmdAction(12)",
        "fifteen bytes!!",                       // the longest text in place
        "sixteen bytes!!!",                      // the shortest in a block
        "Caption with\0a NUL and \xc3\xa4"s,     // bytes as they are
        std::string(70000, 'w'),
        "\0\0\0"s,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.size());
        const ShortText kept(text);
        EXPECT_EQ(kept.view(), text);
        EXPECT_EQ(kept.size(), text.size());
        EXPECT_EQ(kept.empty(), text.empty());
        EXPECT_EQ(kept.str(), text);
        EXPECT_TRUE(kept == text);
        std::ostringstream out;
        out << kept;
        EXPECT_EQ(out.str(), text);

        ShortText copy(kept);
        EXPECT_EQ(copy.view(), text);
        EXPECT_TRUE(copy == kept);
        ShortText moved(std::move(copy));
        EXPECT_EQ(moved.view(), text);
        EXPECT_TRUE(copy.empty()) << "a moved-from text is empty";

        // Every form replaced by every other: the block of the old one goes, the new one reads.
        for (const std::string& other : texts) {
            ShortText replaced(text);
            replaced = other;
            EXPECT_EQ(replaced.view(), other);
            ShortText assigned(other);
            replaced = assigned;
            EXPECT_EQ(replaced.view(), other);
            replaced = ShortText(text);
            EXPECT_EQ(replaced.view(), text);
        }
    }
}

TEST(ShortText, ATextTakesAPartOfItselfAndSurvivesAssignmentToItself) {
    ShortText inBlock(std::string(40, 'a') + "tail");
    inBlock = inBlock.view().substr(36); // read before the block goes
    EXPECT_EQ(inBlock.view(), "aaaatail");
    inBlock = inBlock.view().substr(1);
    EXPECT_EQ(inBlock.view(), "aaatail");

    ShortText long_(std::string(20, 'z'));
    const ShortText& same = long_;
    long_ = same;
    EXPECT_EQ(long_.view(), std::string(20, 'z'));
    ShortText& alias = long_;
    long_ = std::move(alias);
    EXPECT_EQ(long_.size(), 20u);

    ShortText none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.view(), "");
    EXPECT_EQ(none, ShortText(""));
    EXPECT_FALSE(ShortText("abc") == ShortText("abd"));
    EXPECT_FALSE(ShortText("abc") == std::string_view("abc\0"s));
}

} // namespace
} // namespace corvane::test
