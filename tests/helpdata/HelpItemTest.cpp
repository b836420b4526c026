// The help item record: how it reads itself from and writes itself into an element of the
// help data file, and its text per language.
#include "helpdata/HelpItem.h"
#include "settings/ModMain.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "xml/XMLDocument.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::ScriptedReports;

class HelpItemTest : public ::testing::Test {
protected:
    HelpItemTest() { settings_.newSelectedLanguages(); }

    void select(std::initializer_list<const char*> languages) {
        settings_.newSelectedLanguages();
        for (const char* language : languages)
            settings_.SelectedLanguages->Add(language, language);
    }

    // A record loaded from the first child of <Root> in `xml`.
    std::unique_ptr<HelpItem> load(const std::string& xml) {
        XMLDocument document;
        EXPECT_TRUE(document.LoadText("<Root>" + xml + "</Root>")) << xml;
        auto item = std::make_unique<HelpItem>(settings_.SelectedLanguages);
        item->LoadFromXML(document.Root().Elements().Item(1));
        return item;
    }

    // The document text of one saved record.
    std::string save(HelpItem& item) {
        XMLDocument document;
        item.SaveToXML(document.Root().AddElement("HelpItem", ""));
        return document.XMLText();
    }

    static std::vector<std::pair<std::string, std::string>> texts(const HelpItem& item) {
        std::vector<std::pair<std::string, std::string>> result;
        for (int32_t i = 1; i <= item.HelpTexts.Count(); ++i)
            result.emplace_back(item.HelpTexts.KeyAt(i), item.HelpTexts.Item(i));
        return result;
    }

    using Texts = std::vector<std::pair<std::string, std::string>>;

    ModMain settings_;
    ScriptedReports reports_;
};

const std::string Attributes =
    R"x(ComponentName="frmMain" ControlName="cmdGo(1)" ContextHelpID="7" ControlType="CommandButton" Caption="Stored caption")x";

TEST_F(HelpItemTest, LoadReadsTheAttributesButNotTheCaption) {
    select({"English"});
    auto item = std::make_unique<HelpItem>(settings_.SelectedLanguages);
    item->Caption = "Live caption";
    XMLDocument document;
    ASSERT_TRUE(document.LoadText("<Root><HelpItem " + Attributes + "/></Root>"));
    item->LoadFromXML(document.Root().Elements().Item(1));
    EXPECT_EQ(item->ComponentName, "frmMain");
    EXPECT_EQ(item->ControlName, "cmdGo(1)");
    EXPECT_EQ(item->ContextHelpID, 7);
    EXPECT_EQ(item->ControlType, "CommandButton");
    EXPECT_EQ(item->Caption, "Live caption");
    // An element without children is an old record: its own text is the neutral text.
    EXPECT_EQ(texts(*item), (Texts{{"Neutral", ""}}));
    EXPECT_TRUE(load("<HelpItem " + Attributes + "/>")->Caption.empty());
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(HelpItemTest, LoadKeepsTheFirstTextOfEveryLanguage) {
    select({"German"});
    // The old form: the element's own text, whatever languages are selected.
    EXPECT_EQ(texts(*load("<HelpItem " + Attributes + "> old text </HelpItem>")), (Texts{{"Neutral", " old text "}}));
    // A language that is not selected is kept too; the first text of a language wins.
    auto item = load("<HelpItem " + Attributes +
                     "><HelpText Language=\"English\">en</HelpText><HelpText Language=\"German\">first</HelpText>"
                     "<HelpText Language=\"German\">second</HelpText></HelpItem>");
    EXPECT_EQ(texts(*item), (Texts{{"English", "en"}, {"German", "first"}}));
    // The element name is compared exactly; such a child still hides the element's own text.
    item = load("<HelpItem " + Attributes + ">own<helptext Language=\"German\">x</helptext></HelpItem>");
    EXPECT_TRUE(item->HelpTexts.empty());
    // Language names match the selected list without regard to case; the stored key keeps
    // the file's spelling.
    item = load("<HelpItem " + Attributes + "><HelpText Language=\"GERMAN\">gross</HelpText></HelpItem>");
    EXPECT_EQ(texts(*item), (Texts{{"GERMAN", "gross"}}));
    EXPECT_EQ(item->GetHelpText("german"), "gross");
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(HelpItemTest, LoadTakesTheNumericValueOfTheContextNumber) {
    select({"English"});
    auto idOf = [&](const std::string& text) {
        return load("<HelpItem ComponentName=\"f\" ControlName=\"c\" ContextHelpID=\"" + text +
                    "\" ControlType=\"Label\"/>")
            ->ContextHelpID;
    };
    EXPECT_EQ(idOf("42abc"), 42);
    EXPECT_EQ(idOf("abc"), 0);
    EXPECT_EQ(idOf(""), 0);
    EXPECT_EQ(idOf("2.5"), 2);
    EXPECT_EQ(idOf("3.5"), 4);
    EXPECT_EQ(idOf(" 1 2"), 12);
    EXPECT_EQ(idOf("-17"), -17);
    EXPECT_EQ(idOf("2147483647"), 2147483647);
    EXPECT_TRUE(reports_.reports().empty());

    // A number beyond 32 bits overflows into the report; going on leaves the field as it was.
    reports_.answer("RetryNext");
    auto item = load(R"(<HelpItem ComponentName="f" ControlName="c" ContextHelpID="2147483648" ControlType="Label"/>)");
    ASSERT_EQ(reports_.reports().size(), 1u);
    EXPECT_EQ(reports_.reports()[0].number.toLong(), 6);
    EXPECT_EQ(reports_.reports()[0].module.toText(), "HelpItem");
    EXPECT_EQ(reports_.reports()[0].procedure.toText(), "LoadFromXML");
    EXPECT_EQ(item->ContextHelpID, 0);
    EXPECT_EQ(item->ControlType, "Label");
}

TEST_F(HelpItemTest, AMissingAttributeIsReportedAndTheRestIsStillRead) {
    select({"English"});
    reports_.answer("RetryNext");
    reports_.answer("RetryNext");
    auto item = load(R"(<HelpItem ComponentName="f" ContextHelpID="3" ControlType="Label">)"
                     R"(<HelpText>no language</HelpText><HelpText Language="English">text</HelpText></HelpItem>)");
    ASSERT_EQ(reports_.reports().size(), 2u);
    EXPECT_EQ(reports_.reports()[0].procedure.toText(), "LoadFromXML");
    EXPECT_EQ(item->ControlName, "");
    EXPECT_EQ(item->ContextHelpID, 3);
    EXPECT_EQ(texts(*item), (Texts{{"English", "text"}}));
}

TEST_F(HelpItemTest, SaveWritesTheSelectedLanguagesInTheListsOrder) {
    select({"German", "English"});
    HelpItem item(settings_.SelectedLanguages);
    item.ComponentName = "frmMain";
    item.ControlName = "txtNotes";
    item.ContextHelpID = -3;
    item.ControlType = "TextBox";
    item.Caption = "A & B <\"x\">\r\n\tz";
    item.SetHelpText("English", "Line one\r\nline <two> & \"three\"\t ");
    item.SetHelpText("French", "pas choisi");
    item.SetHelpText("German", "");
    item.Tag = true;
    // A language that is not selected keeps its text, after the selected ones.
    EXPECT_EQ(save(item),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Root>\n"
              "  <HelpItem ComponentName=\"frmMain\" ControlName=\"txtNotes\" ContextHelpID=\"-3\" "
              "ControlType=\"TextBox\" Caption=\"A &amp; B &lt;&quot;x&quot;>&#13;&#10;&#09;z\">\n"
              "    <HelpText Language=\"German\" />\n"
              "    <HelpText Language=\"English\">Line one&#13;\nline &lt;two&gt; &amp; \"three\"\t </HelpText>\n"
              "    <HelpText Language=\"French\">pas choisi</HelpText>\n"
              "  </HelpItem>\n"
              "</Root>\n");

    // What was saved reads back the same (Caption aside, which is never read).
    XMLDocument document;
    ASSERT_TRUE(document.LoadText(save(item)));
    HelpItem back(settings_.SelectedLanguages);
    back.LoadFromXML(document.Root().Elements().Item(1));
    EXPECT_EQ(texts(back), (Texts{{"German", ""},
                              {"English", "Line one\r\nline <two> & \"three\"\t "},
                              {"French", "pas choisi"}}));
    EXPECT_EQ(back.ContextHelpID, -3);
}

TEST_F(HelpItemTest, SavingWithNoLanguageSelectedSelectsNeutral) {
    settings_.newSelectedLanguages();
    HelpItem item(settings_.SelectedLanguages);
    item.ControlName = "lblA";
    item.SetHelpText("neutral", "plain");
    std::string text = save(item);
    EXPECT_NE(text.find("<HelpText Language=\"Neutral\">plain</HelpText>"), std::string::npos) << text;
    ASSERT_EQ(settings_.SelectedLanguages->Count(), 1);
    EXPECT_EQ(settings_.SelectedLanguages->Item(1), "Neutral");
    // A record without any text writes no child.
    HelpItem empty(settings_.SelectedLanguages);
    EXPECT_EQ(save(empty).find("<HelpText"), std::string::npos);
}

// The language dialog replaces the shared list by a new one while the records live on: a
// record reads the list in the slot at the time, not the one there when it was made.
TEST_F(HelpItemTest, ARecordFollowsTheSharedListWhenItIsReplaced) {
    HelpDataSettings project;
    project.newSelectedLanguages();
    project.SelectedLanguages->Add("English", "English");
    HelpItem item(project.SelectedLanguages);
    item.SetHelpText("English", "The name");
    item.SetHelpText("German", "Der Name");
    EXPECT_NE(save(item).find("Language=\"English\""), std::string::npos);

    project.newSelectedLanguages();
    project.SelectedLanguages->Add("German", "German");
    std::string text = save(item);
    // German, selected now, comes first; English is kept after it.
    EXPECT_LT(text.find("<HelpText Language=\"German\">Der Name</HelpText>"),
              text.find("<HelpText Language=\"English\">The name</HelpText>"))
        << text;
    EXPECT_NE(text.find("<HelpText Language=\"English\">The name</HelpText>"), std::string::npos) << text;

    // Without a list (before the connect object made one) the record cannot save.
    project.SelectedLanguages.reset();
    EXPECT_THROW(save(item), VbError);
    ASSERT_EQ(reports_.reports().size(), 1u);
    EXPECT_EQ(reports_.reports()[0].number.toLong(), 91);
}

TEST_F(HelpItemTest, TextsPerLanguage) {
    HelpItem item(settings_.SelectedLanguages);
    EXPECT_FALSE(item.HasHelpText());
    EXPECT_EQ(item.GetHelpText("English"), "");
    item.SetHelpText("English", "");
    item.SetHelpText("German", "   ");
    EXPECT_FALSE(item.HasHelpText());
    item.SetHelpText("French", "\t");
    EXPECT_TRUE(item.HasHelpText());
    item.SetHelpText("French", "\r\n");
    EXPECT_TRUE(item.HasHelpText());
    // Replacing a text moves its language to the end; keys ignore letter case.
    item.SetHelpText("ENGLISH", " kept as typed ");
    EXPECT_EQ(texts(item), (Texts{{"German", "   "}, {"French", "\r\n"}, {"ENGLISH", " kept as typed "}}));
    EXPECT_EQ(item.GetHelpText("english"), " kept as typed ");
    EXPECT_EQ(item.GetHelpText("Neutral"), "");

    // Looked for first at a position, a text is the one the name finds, wherever the hint points.
    for (size_t hint : {0, 1, 2, 3, 9}) {
        EXPECT_EQ(item.textPosition("French", hint), 2) << hint;
        EXPECT_EQ(item.textPosition("english", hint), 3) << hint;
        EXPECT_EQ(item.textPosition("Spanish", hint), 0) << hint;
        EXPECT_EQ(item.textIn("ENGLISH", hint), " kept as typed ") << hint;
        EXPECT_EQ(item.textIn("Spanish", hint), "") << hint;
    }
}

} // namespace
} // namespace corvane
