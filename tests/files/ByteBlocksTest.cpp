#include "files/ByteBlocks.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane {
namespace {

TEST(ByteBlocks, KeepsBytesInOrderAcrossBlocksMovesAndReuse) {
    std::mt19937 random(5);
    std::string expected = "given up first";
    ByteBlocks bytes;
    bytes.append(std::string(expected));
    while (expected.size() < 3'500'000) { // several blocks, pieces of odd sizes across their edges
        std::string piece(random() % 70'000, static_cast<char>('a' + random() % 26));
        bytes += piece;
        bytes += '\n';
        expected += piece + '\n';
    }
    bytes.append(std::string("given up later"));
    expected += "given up later";
    EXPECT_EQ(bytes.size(), expected.size());
    EXPECT_TRUE(bytes.str() == expected); // not EXPECT_EQ: no megabytes in the log
    std::string joined;
    for (std::string_view piece : bytes.pieces())
        joined += piece;
    EXPECT_TRUE(joined == expected);

    ByteBlocks moved(std::move(bytes));
    EXPECT_TRUE(moved.str() == expected);
    EXPECT_TRUE(bytes.empty());
    ByteBlocks copy;
    copy += "head:";
    copy.append(moved);
    EXPECT_TRUE(copy.str() == "head:" + expected);

    // Blocks given back serve the next collection, which holds only its own bytes.
    moved.clear();
    copy = ByteBlocks();
    EXPECT_TRUE(moved.empty());
    ByteBlocks next;
    next += "only";
    next += ' ';
    next += "this";
    EXPECT_EQ(next.str(), "only this");
    EXPECT_EQ(next.pieces().size(), 1u);
    EXPECT_EQ(ByteBlocks().str(), "");
}

} // namespace
} // namespace corvane
