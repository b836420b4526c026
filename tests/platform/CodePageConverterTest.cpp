// Conversions between UTF-8 and the code pages VB6 projects and dictionaries are saved in.
#include "platform/CodePageConverter.h"

#include <gtest/gtest.h>

namespace corvane::platform {
namespace {

std::string converted(const std::string& to, const std::string& from, std::string_view text) {
    auto converter = CodePageConverter::open(to, from);
    EXPECT_TRUE(converter.has_value()) << from << " -> " << to;
    std::string out;
    if (converter && !converter->convert(text, out))
        return "<failed>";
    return out;
}

TEST(CodePageConverterTest, ConvertsBothWaysBetweenUtf8AndWindowsCodePages) {
    EXPECT_EQ(converted("CP1252", "UTF-8", "Größe €"), "Gr\xF6\xDF" "e \x80");
    EXPECT_EQ(converted("UTF-8", "CP1252", "Gr\xF6\xDF" "e \x80"), "Größe €");
    EXPECT_EQ(converted("CP1251", "UTF-8", "Размер"), "\xD0\xE0\xE7\xEC\xE5\xF0");
    EXPECT_EQ(converted("UTF-8", "CP932", "\x83\x54\x83\x43\x83\x59"), "サイズ");
    EXPECT_EQ(converted("UTF-8", "GBK", "\xB4\xF3\xD0\xA1"), "大小");
    EXPECT_EQ(converted("UTF-8", "ISO-8859-1", "caf\xE9"), "café");
    EXPECT_EQ(converted("UTF-8", "TIS-620", "\xA1"), "ก");
    EXPECT_EQ(converted("UTF-8", "CP1252", ""), "");
}

TEST(CodePageConverterTest, VietnameseLettersWithTwoMarksGoOutAsACodePageLetterAndOneMark) {
    // Windows-1258 holds "â" and the dot below, but no circumflex mark: "ậ" is "â" + dot below.
    // "ị" is "i" + dot below, "ữ" is "ư" + tilde, "ộ" "ợ" "ự" "ặ" like "ậ".
    const std::string text = "Nhập Địa dữ liệu ộợự ặ";
    const std::string bytes = "Nh\xE2\xF2p \xD0i\xF2" "a d\xFD\xDE li\xEA\xF2u \xF4\xF2\xF5\xF2\xFD\xF2 \xE3\xF2";
    EXPECT_EQ(converted("CP1258", "UTF-8", text), bytes);
    EXPECT_EQ(converted("UTF-8", "CP1258", bytes), text); // composed again, as it was
}

TEST(CodePageConverterTest, RefusesWhatTheTargetCannotHoldAndBytesThatAreNoText) {
    EXPECT_EQ(converted("CP1252", "UTF-8", "注文"), "<failed>"); // no best fit, no '?'
    EXPECT_EQ(converted("CP1252", "UTF-8", "\xC3"), "<failed>"); // a cut UTF-8 sequence
    EXPECT_EQ(converted("UTF-8", "UTF-8", "\xFF\xFE"), "<failed>");
    EXPECT_FALSE(CodePageConverter::open("UTF-8", "NO-SUCH-CODE-PAGE").has_value());
    EXPECT_FALSE(CodePageConverter::open("CP99999", "UTF-8").has_value());
}

TEST(CodePageConverterTest, AConverterServesManyTextsAfterAFailure) {
    auto converter = CodePageConverter::open("CP1252", "UTF-8");
    ASSERT_TRUE(converter.has_value());
    std::string out;
    EXPECT_FALSE(converter->convert("注", out));
    EXPECT_TRUE(converter->convert("é", out));
    EXPECT_EQ(out, "\xE9");
    EXPECT_TRUE(converter->convert("ü", out));
    EXPECT_EQ(out, "\xFC");
}

} // namespace
} // namespace corvane::platform
