#include "addin/ErrorReport.h"
#include "addin/ReportValues.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct HelpItemLike {
    static constexpr std::string_view VbTypeName = "HelpItem";
};
struct PlainObject {};
enum class SpellScope { Item = 1, Module = 2 };

TEST(ReportValues, ProgramValuesRenderAsTheirVbCounterparts) {
    EXPECT_EQ(FormatVariable("s", toVariant(std::string("x"))), "<s>x</s>\r\n");
    EXPECT_EQ(FormatVariable("s", toVariant(std::string_view("v"))), "<s>v</s>\r\n");
    EXPECT_EQ(FormatVariable("b", toVariant(true)), "<b>True</b>\r\n");
    EXPECT_EQ(toVariant(int16_t{3}).kind(), Variant::Kind::Integer);
    EXPECT_EQ(toVariant(int32_t{3}).kind(), Variant::Kind::Long);
    EXPECT_EQ(FormatVariable("e", toVariant(SpellScope::Module)), "<e>2</e>\r\n");
    EXPECT_EQ(FormatVariable("d", toVariant(0.1)), "<d>0.1</d>\r\n");
}

TEST(ReportValues, ObjectReferencesRenderTheirTypeOrNothing) {
    std::shared_ptr<HelpItemLike> none;
    EXPECT_EQ(FormatVariable("mItem", toVariant(none)), "<mItem>{Nothing}</mItem>");
    EXPECT_EQ(FormatVariable("mItem", toVariant(std::make_shared<HelpItemLike>())), "<mItem>{HelpItem}</mItem>");
    PlainObject box;
    EXPECT_EQ(FormatVariable("ctl", objectVariant(&box, "TextBox")), "<ctl>{TextBox}</ctl>");
    EXPECT_EQ(FormatVariable("ctl", objectVariant(static_cast<PlainObject*>(nullptr), "TextBox")),
              "<ctl>{Nothing}</ctl>");
}

TEST(ReportValues, CollectionsAndVectorsKeepTheirOrder) {
    KeyedCollection<std::shared_ptr<HelpItemLike>> items;
    items.Add(std::make_shared<HelpItemLike>(), "txtName");
    items.Add(nullptr, "cmdOK");
    EXPECT_EQ(FormatVariable("Form", toVariant(items)),
              "<Form>\r\n<Form[1]>{HelpItem}</Form[1]><Form[2]>{Nothing}</Form[2]>\r\n</Form>");
    std::vector<NameList> lists(1);
    lists[0].Add("German", "German");
    EXPECT_EQ(FormatVariable("l", toVariant(lists)),
              "<l>\r\n<l[0]>\r\n<l[0][1]>German</l[0][1]>\r\n\r\n</l[0]></l>\r\n");
}

} // namespace
} // namespace corvane
