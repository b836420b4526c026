#include "text/TextCodec.h"

#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TextCodec, Windows1252RoundTripsEveryDefinedByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all += static_cast<char>(b);
    std::string utf8 = decodeCodePage(all, 1252);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(encodeCodePage(utf8, 1252), all);
    EXPECT_EQ(decodeCodePage("\x80 \xE4\xF6\xFC", 1252), "€ äöü");
}

TEST(TextCodec, Windows1258GivesBackTheLastCharacterOfAText) {
    // The converter composes a letter with the tone mark after it, so it holds the last letter
    // back until the text ends: "frmMain.frm" must not lose its "m", "Hủy" its "y".
    EXPECT_EQ(decodeCodePage("frmMain.frm", 1258), "frmMain.frm");
    EXPECT_EQ(decodeCodePage("Hu\xD2y", 1258), "H\xE1\xBB\xA7y");
    EXPECT_EQ(encodeCodePage("H\xE1\xBB\xA7y", 1258), "Hu\xD2y");
}

TEST(TextCodec, Windows1252UndefinedBytesRoundTripAsTheirControlCharacters) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are the C1 controls of the same number, both ways.
    const std::string undefined = "a\x81\x8D\x8F\x90\x9D" "b";
    const std::string utf8 = decodeCodePage(undefined, 1252);
    EXPECT_EQ(utf8, "a\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D" "b");
    EXPECT_EQ(encodeCodePage(utf8, 1252), undefined);
    EXPECT_TRUE(canEncode(utf8, 1252));
    // The other C1 controls have characters of their own in the code page: they stay unwritable.
    EXPECT_FALSE(canEncode("\xC2\x80", 1252));
    EXPECT_FALSE(canEncode("\xC2\x9F", 1252));
}

TEST(TextCodec, RefusesCharactersTheCodePageCannotHold) {
    try {
        encodeCodePage("Grüße 日本", 1252);
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_NE(error.description().find("U+65E5"), std::string::npos) << error.description();
    }
    EXPECT_EQ(unencodableCharacters("a日b本日", 1252), "日本");
    EXPECT_TRUE(canEncode("Grüße", 1252));
}

TEST(TextCodec, DoubleByteCodePageWhoseSecondByteIsABackslash) {
    // Big5 0xA5 0x5C is U+529F; its second byte is a backslash.
    std::string big5 = "\xA5\x5C";
    std::string utf8 = decodeCodePage(big5, 950);
    EXPECT_EQ(utf8, "\xE5\x8A\x9F");
    EXPECT_EQ(encodeCodePage(utf8, 950), big5);
}

TEST(TextCodec, Utf8ValidationAndUtf16) {
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("\xC3\xA4"));
    EXPECT_FALSE(isValidUtf8("\xE4\xF6"));     // Windows-1252 bytes
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // surrogate
    // Faults after, between and at the end of long ASCII runs, at every alignment.
    for (size_t lead = 0; lead < 17; ++lead) {
        std::string run(lead, 'a');
        EXPECT_TRUE(isValidUtf8(run + "\xC3\xA4" + run)) << lead;
        EXPECT_FALSE(isValidUtf8(run + "\xE4" + run)) << lead;
        EXPECT_FALSE(isValidUtf8(run + "\xE2\x82")) << lead; // cut off at the end
        EXPECT_FALSE(isValidUtf8(run + "\xE2" + run)) << lead;
    }
    EXPECT_EQ(decodeUtf16(std::string("a\0\xE4\0=\xD8\x00\xDE", 8), true), "aä😀");
    EXPECT_EQ(decodeUtf16(std::string("\0a\0\xE4", 4), false), "aä");
}

// The length of the sequence at a position answers as isValidUtf8 does for the bytes it takes:
// every lead byte with every second byte, and the third and fourth bytes at the edges of the
// continuation range; cut short by the text's end, no sequence starts.
TEST(TextCodec, SequenceLengthAgreesWithTheValidation) {
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xFF};
    size_t compared = 0;
    for (int lead = 0; lead < 256; ++lead)
        for (int second = 0; second < 256; ++second)
            for (unsigned char third : edges)
                for (unsigned char fourth : edges) {
                    const char bytes[] = {static_cast<char>(lead), static_cast<char>(second),
                                          static_cast<char>(third), static_cast<char>(fourth)};
                    const std::string_view text(bytes, sizeof bytes);
                    size_t expected = 0;
                    for (size_t length = 1; length <= 4 && expected == 0; ++length)
                        if (isValidUtf8(text.substr(0, length)))
                            expected = length;
                    ASSERT_EQ(utf8SequenceLength(text, 0), expected) << lead << " " << second << " " << +third;
                    for (size_t cut = 1; cut < 4; ++cut)
                        ASSERT_EQ(utf8SequenceLength(text.substr(0, cut), 0), expected <= cut ? expected : 0)
                            << lead << " " << second << " cut " << cut;
                    ++compared;
                }
    EXPECT_EQ(compared, size_t{256} * 256 * 11 * 11);
    EXPECT_EQ(utf8SequenceLength("a\xC3\xA4", 1), 2u);
}

} // namespace
} // namespace corvane
