#include "vbruntime/ByteScan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace corvane::bytescan {
namespace {

// The answer byte by byte, as the definition says.
template <uint8_t Below, bool High, char... Stops>
size_t runByteByByte(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && !stopsRun<Below, High, Stops...>(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

// Every length up to three blocks, a stop byte at every place, and every byte value as the stop:
// the runs found many bytes at a time end where the byte-by-byte ones do.
template <uint8_t Below, bool High, char... Stops>
void expectRunsEndAtTheFirstStop() {
    std::mt19937 random(7);
    char filler = 'a'; // a byte that does not stop the run
    while (stopsRun<Below, High, Stops...>(static_cast<unsigned char>(filler)))
        ++filler;
    for (size_t length = 0; length <= 48; ++length) {
        std::string text(length, filler);
        EXPECT_EQ((runWithout<Below, High, Stops...>(text)), length);
        for (size_t at = 0; at < length; ++at)
            for (int value = 0; value < 256; ++value) {
                text.assign(length, filler);
                for (size_t i = 0; i < at; ++i) // plain bytes before it, from the whole range
                    do
                        text[i] = static_cast<char>(random() % 256);
                    while (stopsRun<Below, High, Stops...>(static_cast<unsigned char>(text[i])));
                text[at] = static_cast<char>(value);
                ASSERT_EQ((runWithout<Below, High, Stops...>(text)), (runByteByByte<Below, High, Stops...>(text)))
                    << "length " << length << ", byte " << value << " at " << at;
            }
    }
}

TEST(ByteScan, WordTestsAgreeWithTheBytesTheyStandFor) {
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
}

TEST(ByteScan, RunsEndAtTheFirstByteThatStopsThemWhateverItsPlace) {
    expectRunsEndAtTheFirstStop<0x20, true, '&', '<', '>', '"'>(); // a data file's values
    expectRunsEndAtTheFirstStop<0x20, false, '"', '\\'>();         // JSON strings: high bytes pass
    expectRunsEndAtTheFirstStop<0, true, '\r', '\n'>();            // popup text
    expectRunsEndAtTheFirstStop<0x20, true, '\x7F', '\\', '{', '}'>(); // RTF text
    expectRunsEndAtTheFirstStop<0, true>();                       // ASCII
    expectRunsEndAtTheFirstStop<0x7F, false>();                   // everything below DEL stops
    expectRunsEndAtTheFirstStop<0, false, '\r', '\n'>();           // designer lines: only line ends
    expectRunsEndAtTheFirstStop<0, false, '<', '&'>();             // a data file's texts
}

TEST(ByteScan, AsciiPrefixStopsAtTheFirstHighByte) {
    EXPECT_EQ(asciiPrefix(""), 0u);
    EXPECT_EQ(asciiPrefix(std::string(100, 'x')), 100u);
    EXPECT_EQ(asciiPrefix(std::string(37, 'x') + "\xC3\xA9" + "yy"), 37u);
    EXPECT_EQ(asciiPrefix(std::string(5, '\0') + "\xFF"), 5u); // NUL is ASCII
}

} // namespace
} // namespace corvane::bytescan
