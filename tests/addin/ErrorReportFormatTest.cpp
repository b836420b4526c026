#include "addin/ErrorReport.h"
#include "vbruntime/Variant.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using namespace std::string_literals;

TEST(FormatVariable, ValuesWithoutBodyOrLineBreak) {
    EXPECT_EQ(FormatVariable("v", Variant()), "<v>{Empty}</v>");
    EXPECT_EQ(FormatVariable("v", Variant::null()), "<v>{Null}</v>");
    EXPECT_EQ(FormatVariable("mItem", Variant::nothing()), "<mItem>{Nothing}</mItem>");
    EXPECT_EQ(FormatVariable("mItem", Variant::object("HelpItem")), "<mItem>{HelpItem}</mItem>");
    EXPECT_EQ(FormatVariable("src", Variant::dataObject()), "<src>{DataObject}</src>");
    EXPECT_EQ(FormatVariable("rec", Variant::udt()), "<rec>{UDT}</rec>");
    EXPECT_EQ(FormatVariable("opt", Variant::error()), "<opt></opt>");
}

TEST(FormatVariable, PlainValuesAreTheirTextFollowedByCrLf) {
    EXPECT_EQ(FormatVariable("handled", Variant(false)), "<handled>False</handled>\r\n");
    EXPECT_EQ(FormatVariable("b", Variant(true)), "<b>True</b>\r\n");
    EXPECT_EQ(FormatVariable("n", Variant(int16_t{-7})), "<n>-7</n>\r\n");
    EXPECT_EQ(FormatVariable("n", Variant(int32_t{100000})), "<n>100000</n>\r\n");
    EXPECT_EQ(FormatVariable("d", Variant(1.5)), "<d>1.5</d>\r\n");
    EXPECT_EQ(FormatVariable("d", Variant(VariantDate{45000.5})), "<d>3/15/2023 12:00:00 PM</d>\r\n");
    EXPECT_EQ(FormatVariable("s", Variant("")), "<s></s>\r\n");
    // Nothing is escaped: markup and line breaks go in unchanged.
    EXPECT_EQ(FormatVariable("s", Variant("<b> & \"q\"\r\nnext")), "<s><b> & \"q\"\r\nnext</s>\r\n");
}

TEST(FormatVariable, NulCharactersBecomeNullMarks) {
    EXPECT_EQ(FormatVariable("s", Variant("a\0b"s)), "<s>a{Null}b</s>\r\n");
    EXPECT_EQ(FormatVariable("s", Variant("\0\0"s)), "<s>{Null}{Null}</s>\r\n");
}

TEST(FormatVariable, ArraysRenderTheirElementsByIndexAndEndWithCrLf) {
    EXPECT_EQ(FormatVariable("a", Variant::array({Variant("x"), Variant("y")})),
              "<a>\r\n<a[0]>x</a[0]>\r\n<a[1]>y</a[1]>\r\n</a>\r\n");
    EXPECT_EQ(FormatVariable("a", Variant::array({Variant(int16_t{1}), Variant::nothing()}, 5)),
              "<a>\r\n<a[5]>1</a[5]>\r\n<a[6]>{Nothing}</a[6]></a>\r\n");
    EXPECT_EQ(FormatVariable("a", Variant::array({}, 1)), "<a>\r\n</a>\r\n");
    EXPECT_EQ(FormatVariable("a", Variant::array({Variant()}, -2)), "<a>\r\n<a[-2]>{Empty}</a[-2]></a>\r\n");
}

TEST(FormatVariable, CollectionsRenderTheirItemsFromOneWithoutTrailingCrLf) {
    EXPECT_EQ(FormatVariable("c", Variant::collection({Variant("a"), Variant("b")})),
              "<c>\r\n<c[1]>a</c[1]>\r\n<c[2]>b</c[2]>\r\n\r\n</c>");
    EXPECT_EQ(FormatVariable("c", Variant::collection({})), "<c>\r\n\r\n</c>");
    // An object that names itself "Collection" renders as one.
    EXPECT_EQ(FormatVariable("c", Variant::object("Collection")), "<c>\r\n\r\n</c>");
}

TEST(FormatVariable, NestedArraysAndCollections) {
    Variant inner = Variant::collection({Variant("t"), Variant::object("TextBox")});
    Variant outer = Variant::array({inner, Variant::array({Variant(2.25)}, 1)});
    EXPECT_EQ(FormatVariable("Forms", outer),
              "<Forms>\r\n"
              "<Forms[0]>\r\n<Forms[0][1]>t</Forms[0][1]>\r\n<Forms[0][2]>{TextBox}</Forms[0][2]>\r\n</Forms[0]>"
              "<Forms[1]>\r\n<Forms[1][1]>2.25</Forms[1][1]>\r\n</Forms[1]>\r\n"
              "</Forms>\r\n");
    Variant items = Variant::collection({Variant::collection({Variant(int32_t{1})}), Variant::udt()});
    EXPECT_EQ(FormatVariable("m", items),
              "<m>\r\n<m[1]>\r\n<m[1][1]>1</m[1][1]>\r\n\r\n</m[1]><m[2]>{UDT}</m[2]>\r\n</m>");
}

TEST(ErrorReportText, VariablesTextWrapsTheThreeRenderings) {
    EXPECT_EQ(variablesText("L", "M", "P"),
              "<Variables>\r\n<LocalVariables>\r\nL</LocalVariables>\r\n<ModuleVariables>\r\nM</ModuleVariables>\r\n"
              "</Variables>\r\n<Parameters>\r\nP\r\n</Parameters>");
    EXPECT_EQ(variablesText("", "", ""),
              "<Variables>\r\n<LocalVariables>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n</ModuleVariables>\r\n"
              "</Variables>\r\n<Parameters>\r\n\r\n</Parameters>");
}

} // namespace
} // namespace corvane
