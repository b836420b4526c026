#include "testsupport/VbErrors.h"
#include "vbruntime/Utilities.h"

#include <gtest/gtest.h>

#include <set>

namespace corvane {
namespace {

using namespace Utilities;

KeyedCollection<std::string> projectValues() {
    KeyedCollection<std::string> values;
    values.Add("Demo", "ProjectName");
    values.Add("Demo_ContextTopics.txt", "TextPopups");
    values.Add("", "Map");
    values.Add("50%", "Percent");
    values.Add("%ProjectName%", "Tricky");
    return values;
}

using test::errorNumberOf;

// An object collection that, like the XML attributes or the IDE's properties, offers Contains.
struct PropertyNames {
    std::set<std::string> names;
    bool Contains(std::string_view name) const { return names.count(std::string(name)) != 0; }
};

TEST(Utilities, KeyExistsIgnoresCaseAndItemExistsAsksTheCollection) {
    KeyedCollection<int> ids;
    ids.Add(1, "IDH_1");
    EXPECT_TRUE(KeyExists(ids, "idh_1"));
    EXPECT_FALSE(KeyExists(ids, "IDH_10"));
    EXPECT_FALSE(KeyExists(KeyedCollection<std::string>(), ""));

    PropertyNames properties{{"Caption", "WhatsThisHelpID"}};
    EXPECT_TRUE(ItemExists(properties, "WhatsThisHelpID"));
    EXPECT_FALSE(ItemExists(properties, "whatsthishelpid")); // the collection decides about case
    EXPECT_TRUE(ItemExists(projectValues(), "textpopups"));
}

TEST(Utilities, FillTemplateReplacesKnownTokensOnceFromLeftToRight) {
    auto values = projectValues();
    auto fill = [&](std::string_view templ) { return FillTemplate(templ, values, '%'); };
    EXPECT_EQ(fill("[OPTIONS]\r\nCompiled file=%ProjectName%_Context.chm\r\n[FILES]\r\n%TextPopups%\r\n%Map%"),
              "[OPTIONS]\r\nCompiled file=Demo_Context.chm\r\n[FILES]\r\nDemo_ContextTopics.txt\r\n");
    EXPECT_EQ(fill("%projectname%-%PROJECTNAME%"), "Demo-Demo");
    // values are never scanned again
    EXPECT_EQ(fill("%Tricky%"), "%ProjectName%");
    EXPECT_EQ(fill("%Percent%%ProjectName%"), "50%Demo");
    EXPECT_EQ(fill("%Map%%Map%"), "");
}

TEST(Utilities, FillTemplateLeavesUnknownEmptyAndOpenTokensAsTheyStand) {
    auto values = projectValues();
    auto fill = [&](std::string_view templ) { return FillTemplate(templ, values, '%'); };
    EXPECT_EQ(fill("100%% sure"), "100%% sure");
    EXPECT_EQ(fill("%%ProjectName%"), "%Demo");
    EXPECT_EQ(fill("%ProjectName%%"), "Demo%");
    // an unknown pair gives up its first delimiter, which may then close... the second opens a token
    EXPECT_EQ(fill("%a %ProjectName%"), "%a Demo");
    EXPECT_EQ(fill("%unknown% %ProjectName%"), "%unknown% Demo");
    EXPECT_EQ(fill("%unknown%ProjectName%"), "%unknownDemo");
    EXPECT_EQ(fill("%ProjectName"), "%ProjectName");
    EXPECT_EQ(fill("50% off"), "50% off");
    EXPECT_EQ(fill("%"), "%");
    EXPECT_EQ(fill(""), "");
    EXPECT_EQ(fill("no tokens at all"), "no tokens at all");
    EXPECT_EQ(FillTemplate("$ProjectName$ costs 5% %ProjectName%", values, '$'), "Demo costs 5% %ProjectName%");
}

TEST(Utilities, FillTemplateHandlesAMegabyteWithTenThousandTokens) {
    KeyedCollection<std::string> values;
    for (int k = 0; k < 100; ++k)
        values.Add("value " + std::to_string(k) + " %KEY0%", "KEY" + std::to_string(k));
    std::string templ;
    std::string expected;
    std::string filler(96, 'x');
    for (int i = 0; i < 10000; ++i) {
        templ += "%key" + std::to_string(i % 100) + "%" + filler;
        expected += "value " + std::to_string(i % 100) + " %KEY0%" + filler;
    }
    templ += "% unterminated";
    expected += "% unterminated";
    ASSERT_GT(templ.size(), 1000000u);
    EXPECT_TRUE(FillTemplate(templ, values, '%') == expected); // not EXPECT_EQ: no megabyte in the log
}

TEST(Utilities, GetTokenCountsPiecesFromOne) {
    EXPECT_EQ(GetToken("6.0.8169", ".", 1), "6");
    EXPECT_EQ(GetToken("6.0.8169", ".", 2), "0");
    EXPECT_EQ(GetToken("6.0.8169", ".", 3), "8169");
    EXPECT_EQ(GetToken("6.0.8169", ".", 4), "");
    EXPECT_EQ(GetToken("6", ".", 1), "6");
    EXPECT_EQ(GetToken("", ".", 1), "");
    EXPECT_EQ(GetToken(".5", ".", 1), "");
    EXPECT_EQ(GetToken("a..b", ".", 2), "");
    EXPECT_EQ(GetToken("a..b", ".", 3), "b");
    EXPECT_EQ(GetToken("a..b.", ".", 4), "");
    EXPECT_EQ(GetToken("a--b--c", "--", 2), "b");
    EXPECT_EQ(GetToken("a---b", "--", 2), "-b");
    EXPECT_EQ(GetToken("a.b", "", 1), "a.b");
    EXPECT_EQ(GetToken("a.b", "", 2), "");
    EXPECT_EQ(errorNumberOf([] { GetToken("a.b", ".", 0); }), 5);
}

TEST(Utilities, ValueTextGivesStringsAsTheyAreAndNumbersAsCStr) {
    EXPECT_EQ(ValueText(Variant("&OK  ")), "&OK  ");
    EXPECT_EQ(ValueText(Variant(std::string("line 1\r\nline 2"))), "line 1\r\nline 2");
    EXPECT_EQ(ValueText(Variant(static_cast<int16_t>(-7))), "-7");
    EXPECT_EQ(ValueText(Variant(static_cast<int32_t>(123456789))), "123456789");
    EXPECT_EQ(ValueText(Variant(1.5)), "1.5");
    EXPECT_EQ(ValueText(Variant(1e20)), "1E+20");
    EXPECT_EQ(ValueText(Variant(true)), "True");
    EXPECT_EQ(ValueText(Variant(false)), "False");
    EXPECT_EQ(ValueText(Variant()), "");
    EXPECT_EQ(ValueText(Variant::null()), "");
    EXPECT_EQ(errorNumberOf([] { ValueText(Variant::object("Font")); }), 13);
    EXPECT_EQ(errorNumberOf([] { ValueText(Variant::array({Variant("a")})); }), 13);
}

} // namespace
} // namespace corvane
