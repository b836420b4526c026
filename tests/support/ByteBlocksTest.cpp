#include "support/ByteBlocks.h"
#include "support/ByteScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

TEST(ByteScan, WordTestsAgreeWithTheBytesTheyStandFor) {
    using namespace bytescan;
    const unsigned char edges[] = {0x00, 0x01, 0x0A, 0x0D, 0x1F, 0x20, 0x5B, 0x5C, 0x5D, 0x7A, 0x7B,
                                   0x7C, 0x7D, 0x7E, 0x7F, 0x80, 0x81, 0xC3, 0xFE, 0xFF, 'a', 'Z'};
    std::mt19937 random(11);
    for (int round = 0; round < 200'000; ++round) {
        unsigned char bytes[8];
        for (unsigned char& byte : bytes)
            byte = random() % 4 == 0 ? static_cast<unsigned char>(random()) : edges[random() % std::size(edges)];
        uint64_t word;
        std::memcpy(&word, bytes, 8);
        bool below20 = false, high = false, is5C = false, isCR = false;
        for (unsigned char byte : bytes) {
            below20 |= byte < 0x20;
            high |= byte >= 0x80;
            is5C |= byte == 0x5C;
            isCR |= byte == '\r';
        }
        ASSERT_EQ(hasByteBelow(word, 0x20) != 0, below20) << round;
        ASSERT_EQ(hasHighByte(word) != 0, high) << round;
        ASSERT_EQ(hasByte(word, 0x5C) != 0, is5C) << round;
        ASSERT_EQ(hasByte(word, '\r') != 0, isCR) << round;
    }
    auto isLetter = [](unsigned char c) { return c >= 'a' && c <= 'z'; };
    auto wordIsLetters = [&](uint64_t word) {
        unsigned char bytes[8];
        std::memcpy(bytes, &word, 8);
        return std::all_of(std::begin(bytes), std::end(bytes), isLetter);
    };
    EXPECT_EQ(plainPrefix("abcdefghijklmnop.q", wordIsLetters, isLetter), 16u);
    EXPECT_EQ(plainPrefix("abcdefghij-klmnopq", wordIsLetters, isLetter), 10u);
    EXPECT_EQ(plainPrefix("abc", wordIsLetters, isLetter), 3u);
    EXPECT_EQ(plainPrefix("", wordIsLetters, isLetter), 0u);
}

} // namespace
} // namespace corvane
