#include "vbruntime/Variant.h"
#include "vbruntime/VbConvert.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(VbConvert, ValReadsTheNumberAtTheStart) {
    EXPECT_EQ(Val("42abc"), 42);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(" 1 2\t3\n4"), 1234); // blanks, tabs and line feeds are skipped anywhere
    EXPECT_EQ(Val("-2.5e1x"), -25);
    EXPECT_EQ(Val("&H1F"), 31);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val(""), 0);
    // Plain digits, as context numbers are stored, up to the longest a double holds exactly.
    EXPECT_EQ(Val("0"), 0);
    EXPECT_EQ(Val("0042"), 42);
    EXPECT_EQ(Val("999999999999999"), 999999999999999.0);
    EXPECT_EQ(Val("12345678901234567890"), 12345678901234567890.0);
}

TEST(VbConvert, ClngRoundsHalvesToEvenAndOverflows) {
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(-2.5), -2);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    try {
        CLng(2147483648.0);
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_THROW(CInt(40000), VbError);
}

TEST(VbConvert, IsNumericNeedsTheWholeText) {
    EXPECT_TRUE(IsNumeric("108"));
    EXPECT_TRUE(IsNumeric(" 108 "));
    EXPECT_TRUE(IsNumeric("-1.5"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("108a"));
    EXPECT_FALSE(IsNumeric("Help"));
    EXPECT_FALSE(IsNumeric("nan"));
}

TEST(Variant, TextConversionAndComparison) {
    EXPECT_EQ(Variant(true).toText(), "True");
    EXPECT_EQ(Variant(false).toText(), "False");
    EXPECT_EQ(Variant(int32_t{-12}).toText(), "-12");
    EXPECT_EQ(Variant(0.5).toText(), "0.5");
    EXPECT_EQ(Variant(1e20).toText(), "1E+20");
    EXPECT_EQ(Variant(VariantDate{46362.5}).toText(), "12/6/2026 12:00:00 PM");
    EXPECT_TRUE(Variant(int32_t{7}) == Variant(7.0));
    EXPECT_TRUE(Variant("12") == Variant(int32_t{12}));
    EXPECT_FALSE(Variant::null() == Variant(""));
    EXPECT_EQ(Variant("15").toLong(), 15);
    EXPECT_THROW((void)Variant("x").toLong(), VbError);
    EXPECT_TRUE(Variant(int32_t{-1}).toBool());
}

} // namespace
} // namespace corvane
