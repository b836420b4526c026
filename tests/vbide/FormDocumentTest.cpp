#include "vbide/FormDocument.h"

#include "vbruntime/VbError.h"

#include <gtest/gtest.h>
#include <map>

using namespace corvane;
using namespace corvane::vbide;

namespace {

std::shared_ptr<FormDocument> readForm(const std::string& bytes,
                                       std::map<std::string, std::string> frx = {},
                                       int codePage = 1252) {
    FrxLoader loader = [frx](const std::string& name) -> std::optional<FrxFile> {
        auto it = frx.find(name);
        if (it == frx.end())
            return std::nullopt;
        std::string content = it->second;
        return FrxFile{name, content.size(), [content] { return content; }};
    };
    return std::make_shared<FormDocument>(bytes, codePage, "test.frm", loader,
                                          ControlTypeTable::standard());
}

const std::string simpleForm = "VERSION 5.00\r\n"
                               "Begin VB.Form frmMain \r\n"
                               "   Caption         =   \"Orders\"\r\n"
                               "   ClientHeight    =   3195\r\n"
                               "   StartUpPosition =   3  'Windows Default\r\n"
                               "   Begin VB.CommandButton cmdOk \r\n"
                               "      Caption         =   \"OK\"\r\n"
                               "      Height          =   495\r\n"
                               "      Left            =   1200\r\n"
                               "      TabIndex        =   0\r\n"
                               "      Top             =   960\r\n"
                               "      Width           =   1215\r\n"
                               "   End\r\n"
                               "End\r\n"
                               "Attribute VB_Name = \"frmMain\"\r\n";

std::string withLine(std::string text, const std::string& after, const std::string& line) {
    size_t at = text.find(after);
    at = text.find("\r\n", at) + 2;
    return text.insert(at, line + "\r\n");
}

int32_t failureOf(const std::string& bytes, std::string* description = nullptr,
                  std::map<std::string, std::string> frx = {}) {
    try {
        readForm(bytes, std::move(frx));
    } catch (const VbError& error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

} // namespace

TEST(FormDocumentTest, WritesHelpPropertiesExactlyAsTheIdeAndRemovesThemAtDefault) {
    auto form = readForm(simpleForm);
    auto& button = form->controls().Item(1)->Properties();
    button.Item("WhatsThisHelpID").SetValue(Variant(int32_t{5}));
    form->designerProperties().Item("WhatsThisHelp").SetValue(Variant(true));
    EXPECT_TRUE(form->isDirty());
    std::string expected =
        withLine(withLine(simpleForm, "StartUpPosition", "   WhatsThisHelp   =   -1  'True"),
                 "      Top ", "      WhatsThisHelpID =   5");
    std::string written = form->render();
    EXPECT_EQ(written, expected);
    form->markSaved(written);
    EXPECT_FALSE(form->isDirty());
    EXPECT_EQ(form->render(), expected);

    button.Item("WhatsThisHelpID").SetValue(Variant(int32_t{17}));
    EXPECT_EQ(form->render(),
              withLine(withLine(simpleForm, "StartUpPosition", "   WhatsThisHelp   =   -1  'True"),
                       "      Top ", "      WhatsThisHelpID =   17"));
    button.Item("WhatsThisHelpID").SetValue(Variant(int32_t{0}));
    form->designerProperties().Item("WhatsThisHelp").SetValue(Variant(false));
    EXPECT_EQ(form->render(), simpleForm);
}

TEST(FormDocumentTest, GivesTheIdesPropertiesAndDefaults) {
    auto form = readForm(simpleForm);
    EXPECT_EQ(form->name(), "frmMain");
    EXPECT_EQ(form->progId(), "VB.Form");
    auto control = form->controls().Item(1);
    EXPECT_EQ(control->TypeName(), "CommandButton");
    EXPECT_EQ(control->ProgId(), "VB.CommandButton");
    auto& properties = control->Properties();
    EXPECT_EQ(properties.Item("Name").Value().toText(), "cmdOk");
    EXPECT_EQ(properties.Item("index").Value().toLong(), -1);
    EXPECT_EQ(properties.Item("Caption").Value().kind(), Variant::Kind::String);
    EXPECT_EQ(properties.Item("Height").Value().kind(), Variant::Kind::Long);
    EXPECT_EQ(properties.Item("Height").Value().toLong(), 495);
    EXPECT_EQ(properties.Item("WhatsThisHelpID").Value().toLong(), 0);
    EXPECT_TRUE(properties.Contains("WhatsThisHelpID"));
    EXPECT_FALSE(properties.Contains("WhatsThisHelp"));
    EXPECT_THROW(properties.Item("NoSuchProperty"), VbError);
    EXPECT_THROW(properties.Item("Name").SetValue(Variant("other")), VbError);
    EXPECT_THROW(properties.Item("Height").SetValue(Variant("tall")), VbError);
    auto& designer = form->designerProperties();
    EXPECT_EQ(designer.Item("WhatsThisHelp").Value().kind(), Variant::Kind::Boolean);
    EXPECT_FALSE(designer.Item("WhatsThisHelp").Value().toBool());
    EXPECT_FALSE(designer.Contains("WhatsThisHelpID"));
    EXPECT_EQ(designer.Item("StartUpPosition").Value().toLong(), 3);
    EXPECT_FALSE(form->isDirty());
}

TEST(FormDocumentTest, MalformedDesignersNameFileAndLine) {
    std::string description;
    EXPECT_EQ(failureOf("VERSION 5.00\r\nBegin VB.Form f\r\n   Caption = \"x\"\r\n", &description),
              60061);
    EXPECT_NE(description.find("test.frm"), std::string::npos);
    EXPECT_NE(description.find("begun at line 2"), std::string::npos) << description;

    EXPECT_EQ(failureOf("Begin VB.Form\r\nEnd\r\n", &description), 60061);
    EXPECT_EQ(failureOf("Attribute VB_Name = \"x\"\r\n", &description), 60061);
    EXPECT_EQ(failureOf("Begin VB.Form f\r\n   EndProperty\r\nEnd\r\n"), 60061);
    EXPECT_EQ(failureOf(""), 60061);
}

TEST(FormDocumentTest, FaultyPropertyLinesAreWarningsAndStayAsWritten) {
    std::string form = "Begin VB.Form f\r\n   Caption\r\n   Begin VB.Label lbl\r\n"
                       "      Caption = \"open\r\n      Tag = \"also open\r\n      Index = two\r\n"
                       "      WhatsThisHelpID = 7\r\n   End\r\nEnd\r\n";
    auto document = readForm(form);
    ASSERT_EQ(document->controls().Count(), 1);
    auto& label = document->controls().Item(1)->Properties();
    EXPECT_EQ(label.Item("Caption").Value().toText(), ""); // needed and unreadable: the default
    EXPECT_EQ(label.Item("Tag").Value().toText(), "\"also open"); // not needed: kept as written
    EXPECT_EQ(label.Item("Index").Value().toLong(), -1);
    EXPECT_EQ(label.Item("WhatsThisHelpID").Value().toLong(), 7);
    const auto& warnings = document->warnings();
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0].line, 2u);
    EXPECT_EQ(warnings[0].property, "");
    EXPECT_EQ(warnings[1].describe(), "test.frm, line 4: property Caption of lbl: a quoted value has no closing quote");
    EXPECT_EQ(warnings[2].line, 5u);
    EXPECT_EQ(warnings[3].describe(),
              "test.frm, line 6: property Index of lbl: the value 'two' is not a whole number; -1 is taken");
    // Nothing was changed, and a new value replaces the faulty line.
    EXPECT_EQ(document->render(), form);
    label.Item("Caption").SetValue(Variant("closed"));
    std::string written = document->render();
    EXPECT_NE(written.find("      Caption         =   \"closed\"\r\n      Tag = \"also open\r\n"), std::string::npos)
        << written;
}

TEST(FormDocumentTest, OnlyNeededTextsAreReadFromTheFrx) {
    std::string form =
        "Begin VB.Form f\r\n   Begin VB.Label lbl\r\n      Caption = $\"f.frx\":0000\r\n"
        "      Tag = \"f.frx\":0006\r\n      ToolTipText = \"f.frx\":0100\r\n   End\r\nEnd\r\n";
    auto document = readForm(form, {{"f.frx", std::string("\x02\0\0\0"
                                                          "hi"
                                                          "\x02"
                                                          "ok",
                                                          9)}});
    auto& label = document->controls().Item(1)->Properties();
    EXPECT_EQ(label.Item("Caption").Value().toText(), "hi");
    EXPECT_EQ(label.Item("Tag").Value().kind(), Variant::Kind::Object); // kept in the file, not read
    ASSERT_EQ(document->warnings().size(), 1u);
    EXPECT_EQ(document->warnings()[0].describe(),
              "test.frm, line 5: property ToolTipText of lbl: the offset 256 lies past the end of 'f.frx' (9 bytes)");

    // A caption that does not read, and a missing file: warnings, and the control loads.
    document = readForm(form, {{"f.frx", std::string("\x20\0\0\0" "hi" "\x02" "ok", 9)}});
    ASSERT_EQ(document->controls().Count(), 1);
    EXPECT_EQ(document->controls().Item(1)->Properties().Item("Caption").Value().toText(), "");
    ASSERT_EQ(document->warnings().size(), 2u);
    EXPECT_EQ(document->warnings()[0].line, 3u);
    EXPECT_NE(document->warnings()[0].problem.find("'f.frx': the record at offset 0000"), std::string::npos)
        << document->warnings()[0].problem;
    document = readForm(form);
    ASSERT_EQ(document->warnings().size(), 3u);
    EXPECT_EQ(document->warnings()[1].problem, "the file 'f.frx' it refers to does not exist");
    EXPECT_EQ(document->render(), form);
}

TEST(FormDocumentTest, ValuesTheCodePageCannotHoldAreErrors) {
    auto form = readForm(simpleForm);
    auto& caption = form->controls().Item(1)->Properties().Item("Caption");
    EXPECT_THROW(caption.SetValue(Variant("\xE4\xB8\xAD")), VbError); // a CJK character in 1252
    EXPECT_THROW(caption.SetValue(Variant("two\r\nlines")), VbError);
    EXPECT_FALSE(form->isDirty());
    caption.SetValue(Variant("Caf\xC3\xA9"));
    std::string written = form->render();
    EXPECT_NE(written.find("\"Caf\xE9\""), std::string::npos); // written back in Windows-1252
}

TEST(FormDocumentTest, DoubleByteNamesAreDecodedBeforeQuotesAreSought) {
    // Big5 "\xA5\x5C" is one character whose second byte is a backslash; "\xB1\x22"-like
    // pairs are not valid Big5, so the test uses characters with backslash trail bytes.
    std::string form =
        "Begin VB.Form frm\r\n   Caption = \"\xA5\x5C\"\r\n"
        "   Begin VB.TextBox txt\xA5\x5C\r\n      Text = \"\xB3\\\xA4\xA4\"\r\n   End\r\nEnd\r\n";
    auto document = readForm(form, {}, 950);
    auto control = document->controls().Item(1);
    EXPECT_EQ(control->Properties().Item("Name").Value().toText(), "txt\xE5\x8A\x9F");
    EXPECT_EQ(document->designerProperties().Item("Caption").Value().toText(), "\xE5\x8A\x9F");
    control->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{3}));
    std::string written = document->render();
    EXPECT_EQ(written, "Begin VB.Form frm\r\n   Caption = \"\xA5\x5C\"\r\n"
                       "   Begin VB.TextBox txt\xA5\x5C\r\n      Text = \"\xB3\\\xA4\xA4\"\r\n"
                       "      WhatsThisHelpID =   3\r\n   End\r\nEnd\r\n");
}

TEST(FormDocumentTest, PropertiesKeepTheirPlaceAsTheyAreLookedUp) {
    std::string form = withLine(simpleForm, "      Width ", "      Custom          =   \"extra\"");
    auto document = readForm(form);
    auto control = document->controls().Item(1);
    auto& properties = control->Properties();
    Property& first = properties.Item("WhatsThisHelpID"); // not in the file
    for (const char* name : {"Index", "Visible", "Enabled", "TabStop", "Tag", "ToolTipText"})
        EXPECT_TRUE(properties.Contains(name)) << name;
    EXPECT_EQ(properties.Item("custom").Value().toText(), "extra");

    // Positions walk the type's properties in the table's order, then those only the file has.
    auto type = ControlTypeTable::standard()->typeFor("VB.CommandButton");
    ASSERT_EQ(properties.Count(), static_cast<int>(type->properties.size()) + 1);
    for (int i = 1; i <= static_cast<int>(type->properties.size()); ++i)
        EXPECT_EQ(properties.Item(i).Name(), type->properties[static_cast<size_t>(i - 1)]->name)
            << i;
    EXPECT_EQ(properties.Item(properties.Count()).Name(), "Custom");
    EXPECT_EQ(properties.Item("Height").Value().toLong(), 495);
    EXPECT_EQ(&properties.Item("WhatsThisHelpID"), &first);

    // A property looked up before the collection was walked is the one the file gets.
    first.SetValue(Variant(int32_t{42}));
    EXPECT_EQ(document->render(), withLine(form, "      Top ", "      WhatsThisHelpID =   42"));
    EXPECT_FALSE(properties.Contains("NoSuchProperty"));
    EXPECT_THROW(properties.Item(properties.Count() + 1), VbError);
}
