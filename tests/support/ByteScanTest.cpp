#include "support/ByteScan.h"

#include <gtest/gtest.h>

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

TEST(ByteScan, RunsEndAtTheFirstByteThatStopsThemWhateverItsPlace) {
    expectRunsEndAtTheFirstStop<0x20, true, '&', '<', '>', '"'>(); // a data file's values
    expectRunsEndAtTheFirstStop<0x20, false, '"', '\\'>();         // JSON strings: high bytes pass
    expectRunsEndAtTheFirstStop<0, true, '\r', '\n'>();            // popup text
    expectRunsEndAtTheFirstStop<0x20, true, '\x7F', '\\', '{', '}'>(); // RTF text
    expectRunsEndAtTheFirstStop<0, true>();                       // ASCII
    expectRunsEndAtTheFirstStop<0x7F, false>();                   // everything below DEL stops
}

TEST(ByteScan, AsciiPrefixStopsAtTheFirstHighByte) {
    EXPECT_EQ(asciiPrefix(""), 0u);
    EXPECT_EQ(asciiPrefix(std::string(100, 'x')), 100u);
    EXPECT_EQ(asciiPrefix(std::string(37, 'x') + "\xC3\xA9" + "yy"), 37u);
    EXPECT_EQ(asciiPrefix(std::string(5, '\0') + "\xFF"), 5u); // NUL is ASCII
}

} // namespace
} // namespace corvane::bytescan
