#include "VbideTestFiles.h"
#include "testsupport/TempDir.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <map>

using namespace corvane;
using namespace corvane::vbide;
using corvane::test::filesIn;
using corvane::test::readFile;
using corvane::test::TempDir;
using corvane::test::writeFile;

namespace fs = std::filesystem;

namespace {

std::vector<std::string> controlNames(VBComponent& component) {
    std::vector<std::string> names;
    auto& controls = component.Designer()->VBControls();
    for (int i = 1; i <= controls.Count(); ++i)
        names.push_back(controls.Item(i)->Properties().Item("Name").Value().toText());
    return names;
}

} // namespace

TEST(VBProjectTest, ReadsComponentsInProjectOrderWithTypesAndNames) {
    auto project = VBProject::open(testfiles::trickyFolder() / "Tricky.vbp");
    EXPECT_EQ(project->Name(), "TrickyProject");
    EXPECT_EQ(project->HelpFile(), "C:\\Help\\old.hlp");
    auto& components = project->VBComponents();
    std::vector<std::pair<int, std::string>> seen;
    for (const auto& component : components)
        seen.emplace_back(component->Type(), component->Name());
    std::vector<std::pair<int, std::string>> expected = {
        {5, "frmTricky"}, {5, "frmNested"}, {1, "modMain"},    {2, "clsThing"},
        {5, "Missing"},   {8, "ctlBox"},    {10, "Notes.txt"}, {4, "Tricky.res"}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(components.Contains("FRMNESTED"));
    EXPECT_FALSE(components.Contains("frmNone"));
    EXPECT_EQ(components.Item("frmnested")->FileNames(1),
              (testfiles::trickyFolder() / "Sub Folder" / "frmNested.frm").string());
    EXPECT_THROW(components.Item("frmNone"), VbError);
    EXPECT_THROW(components.Item(9), VbError);
    EXPECT_EQ(components.Item(4)->FileNames(1), (testfiles::trickyFolder() / "clsThing.cls").string());
    EXPECT_EQ(components.Item(3)->Designer(), nullptr);
}

TEST(VBProjectTest, ListsControlsDepthFirstWithTheirTypesAndValues) {
    auto project = VBProject::open(testfiles::trickyFolder() / "Tricky.vbp");
    auto tricky = project->VBComponents().Item("frmTricky");
    EXPECT_EQ(controlNames(*tricky),
              (std::vector<std::string>{"tabMain", "cmdOk", "lvwItems", "lblLong", "dlgOpen", "imgLogo"}));
    auto& controls = tricky->Designer()->VBControls();
    EXPECT_EQ(controls.Item(1)->TypeName(), "SSTab");
    EXPECT_EQ(controls.Item(3)->TypeName(), "ListView");
    EXPECT_EQ(controls.Item(3)->ProgId(), "MSComctlLib.ListView");
    auto& list = controls.Item(3)->Properties();
    EXPECT_EQ(list.Item("WhatsThisHelpID").Value().toLong(), 12);
    EXPECT_TRUE(list.Contains("ColumnHeaders"));
    EXPECT_FALSE(list.Contains("Text")); // inside a BeginProperty group, not the control's
    EXPECT_FALSE(list.Contains("Caption"));
    auto& tab = controls.Item(1)->Properties();
    EXPECT_EQ(tab.Item("Tab(1).Control(3)").Value().toText(), "lblLong");
    EXPECT_EQ(tab.Item("WhatsThisHelpID").Value().toLong(), 0);
    auto& label = controls.Item(4)->Properties();
    EXPECT_EQ(label.Item("Index").Value().toLong(), 3);
    EXPECT_EQ(label.Item("ColumnWidth[0].Value").Value().toLong(), 5);
    EXPECT_EQ(label.Item("Caption").Value().toText().substr(0, 14), "A long caption");
    EXPECT_EQ(label.Item("Caption").Value().toText().size(), 256u);
    // A text the program does not need stays in the .frx as it is.
    EXPECT_EQ(label.Item("ToolTipText").Value().kind(), Variant::Kind::Object);
    EXPECT_TRUE(tricky->warnings().empty());
    EXPECT_FALSE(controls.Item(5)->Properties().Contains("WhatsThisHelpID")); // invisible at run time
    EXPECT_TRUE(controls.Item(6)->Properties().Contains("WhatsThisHelpID"));
    EXPECT_EQ(tricky->Properties().Item("Caption").Value().toText(), "Tricky \"quoted\" caf\xC3\xA9");

    auto nested = project->VBComponents().Item("frmNested");
    EXPECT_EQ(controlNames(*nested),
              (std::vector<std::string>{"fraLevel1", "fraLevel2", "fraLevel3", "fraLevel4", "fraLevel5",
                                        "fraLevel6", "optChoice", "optChoice", "optChoice", "mnuFile",
                                        "mnuFileOpen", "tmrTick"}));
    auto& nestedControls = nested->Designer()->VBControls();
    EXPECT_EQ(nestedControls.Item(8)->Properties().Item("Index").Value().toLong(), 1);
    EXPECT_EQ(nestedControls.Item(8)->Properties().Item("WhatsThisHelpID").Value().toLong(), 7);
    EXPECT_FALSE(nestedControls.Item(10)->Properties().Contains("WhatsThisHelpID")); // a menu
    EXPECT_TRUE(nestedControls.Item(10)->Properties().Contains("Caption"));
    EXPECT_FALSE(nestedControls.Item(12)->Properties().Contains("WhatsThisHelpID")); // a timer
    EXPECT_TRUE(nested->Properties().Item("WhatsThisHelp").Value().toBool());
}

TEST(VBProjectTest, MissingDesignerRaises60061OnlyWhenItsControlsAreAskedFor) {
    auto project = VBProject::open(testfiles::trickyFolder() / "Tricky.vbp");
    auto missing = project->VBComponents().Item("Missing");
    ASSERT_NE(missing->Designer(), nullptr);
    try {
        missing->Designer()->VBControls();
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 60061);
        EXPECT_NE(error.description().find("Missing.frm"), std::string::npos) << error.description();
    }
    EXPECT_THROW(missing->Properties(), VbError);
    EXPECT_EQ(project->VBComponents().Item("ctlBox")->Designer()->VBControls().Count(), 1);
}

TEST(VBProjectTest, SavingUnchangedProjectWritesNothingAndEveryByteStays) {
    TempDir temp;
    auto folder = testfiles::copyTricky(temp);
    auto before = filesIn(folder);
    auto project = VBProject::open(folder / "Tricky.vbp");
    for (const auto& component : project->VBComponents())
        if (component->Designer() && component->Name() != "Missing")
            for (const auto& control : component->Designer()->VBControls())
                control->Properties().Item("Name").Value();
    EXPECT_FALSE(project->isDirty());
    EXPECT_EQ(project->save(), 0);
    EXPECT_EQ(filesIn(folder), before);
}

TEST(VBProjectTest, WritesOnlyTheChangedLinesOfEachFile) {
    TempDir temp;
    auto folder = testfiles::copyTricky(temp);
    auto before = filesIn(folder);
    auto project = VBProject::open(folder / "Tricky.vbp");
    auto nested = project->VBComponents().Item("frmNested");
    auto& controls = nested->Designer()->VBControls();
    controls.Item(7)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{21}));
    controls.Item(8)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{0}));
    nested->Properties().Item("WhatsThisHelp").SetValue(Variant(false));
    auto lvw = project->VBComponents().Item("frmTricky")->Designer()->VBControls().Item(3);
    lvw->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{13}));
    project->SetHelpFile("Tricky_Context.chm::/Tricky_contexttopics.txt");
    EXPECT_TRUE(project->isDirty());
    EXPECT_EQ(project->save(), 3);
    EXPECT_FALSE(project->isDirty());

    auto after = filesIn(folder);
    std::string nestedBefore = before["Sub Folder/frmNested.frm"];
    std::string expectedNested = nestedBefore;
    auto replace = [](std::string& text, const std::string& from, const std::string& to) {
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
    };
    replace(expectedNested, "   WhatsThisHelp   =   -1  'True\n", "");
    replace(expectedNested, "Index           =   0\n",
            "Index           =   0\n                        WhatsThisHelpID =   21\n");
    replace(expectedNested, "                        WhatsThisHelpID =   7\n", "");
    EXPECT_EQ(after["Sub Folder/frmNested.frm"], expectedNested);

    std::string expectedTricky = before["frmTricky.frm"];
    replace(expectedTricky, "WhatsThisHelpID =   12", "WhatsThisHelpID =   13");
    EXPECT_EQ(after["frmTricky.frm"], expectedTricky);

    std::string expectedVbp = before["Tricky.vbp"];
    replace(expectedVbp, "HelpFile=\"C:\\Help\\old.hlp\"",
            "HelpFile=\"Tricky_Context.chm::/Tricky_contexttopics.txt\"");
    EXPECT_EQ(after["Tricky.vbp"], expectedVbp); // the second section's HelpFile stays
    after.erase("Sub Folder/frmNested.frm");
    after.erase("frmTricky.frm");
    after.erase("Tricky.vbp");
    for (const auto& [name, bytes] : after)
        EXPECT_EQ(bytes, before[name]) << name;

    auto reopened = VBProject::open(folder / "Tricky.vbp");
    EXPECT_EQ(reopened->HelpFile(), "Tricky_Context.chm::/Tricky_contexttopics.txt");
    auto& again = reopened->VBComponents().Item("frmNested")->Designer()->VBControls();
    EXPECT_EQ(again.Item(7)->Properties().Item("WhatsThisHelpID").Value().toLong(), 21);
    EXPECT_EQ(again.Item(8)->Properties().Item("WhatsThisHelpID").Value().toLong(), 0);
}

TEST(VBProjectTest, AddFileAddsARelatedDocumentLine) {
    TempDir temp;
    auto folder = testfiles::copyTricky(temp);
    std::string before = readFile(folder / "Tricky.vbp");
    auto project = VBProject::open(folder / "Tricky.vbp");
    writeFile(folder / "ContextHelp.txt", "<Root></Root>\r\n");
    auto added = project->VBComponents().AddFile((folder / "ContextHelp.txt").string(), true);
    EXPECT_EQ(added->Type(), 10);
    EXPECT_EQ(added->FileNames(1), (folder / "ContextHelp.txt").string());
    EXPECT_EQ(project->VBComponents().Count(), 9);
    EXPECT_EQ(project->VBComponents().Item(9), added);
    EXPECT_THROW(project->VBComponents().AddFile((folder / "x.frm").string(), false), VbError);
    project->save();
    std::string expected = before;
    std::string anchor = "RelatedDoc=..\\tricky\\Notes.txt\r\n";
    expected.insert(expected.find(anchor) + anchor.size(), "RelatedDoc=ContextHelp.txt\r\n");
    EXPECT_EQ(readFile(folder / "Tricky.vbp"), expected);
}

TEST(VBProjectTest, MalformedOrMissingProjectFilesGiveClearErrors) {
    TempDir temp;
    try {
        VBProject::open(temp / "none.vbp");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 53);
    }
    writeFile(temp / "bad.vbp", "Type=Exe\r\nForm=a.frm\r\nthis line has no equals\r\n");
    try {
        VBProject::open(temp / "bad.vbp");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 321);
        EXPECT_NE(error.description().find("bad.vbp"), std::string::npos);
        EXPECT_NE(error.description().find("line 3"), std::string::npos) << error.description();
    }
    writeFile(temp / "module.vbp", "Type=Exe\nModule=modNoPath\n");
    EXPECT_THROW(VBProject::open(temp / "module.vbp"), VbError);
    writeFile(temp / "quote.vbp", "Type=Exe\nName=\"Project1\n");
    EXPECT_THROW(VBProject::open(temp / "quote.vbp"), VbError);
}

TEST(VBProjectTest, LfFilesAndFilesWithoutFinalLineBreakKeepTheirLineEnds) {
    TempDir temp;
    writeFile(temp / "p.vbp", "Type=Exe\nForm=f.frm\nName=\"P\"");
    writeFile(temp / "f.frm", "Begin VB.Form f\n   Begin VB.TextBox t\n   End\nEnd\nAttribute VB_Name = \"f\"");
    auto project = VBProject::open(temp / "p.vbp");
    project->SetHelpFile("p.hlp");
    auto text = project->VBComponents().Item(1)->Designer()->VBControls().Item(1);
    text->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{4}));
    EXPECT_EQ(project->save(), 2);
    EXPECT_EQ(readFile(temp / "p.vbp"), "Type=Exe\nForm=f.frm\nName=\"P\"\nHelpFile=\"p.hlp\"");
    EXPECT_EQ(readFile(temp / "f.frm"),
              "Begin VB.Form f\n   Begin VB.TextBox t\n      WhatsThisHelpID =   4\n   End\nEnd\n"
              "Attribute VB_Name = \"f\"");
}

TEST(VBProjectTest, NewUnsavedProjectHasNoFileAndCannotBeSaved) {
    auto project = VBProject::newUnsaved();
    EXPECT_EQ(project->FileName(), "");
    EXPECT_EQ(project->Name(), "Project1");
    EXPECT_EQ(project->VBComponents().Count(), 0);
    EXPECT_THROW(project->save(), VbError);
}

TEST(VBProjectTest, RepeatedSettingsAbsoluteAndParentPaths) {
    TempDir temp;
    writeFile(temp / "forms" / "Abs.frm", "Begin VB.Form frmAbs\r\nEnd\r\n");
    writeFile(temp / "proj" / "p.vbp",
              "Type=Exe\r\nForm=" + (temp / "forms" / "ABS.FRM").string() + "\r\nForm=..\\FORMS\\abs.frm\r\n"
              "HelpFile=\"first.hlp\"\r\nHelpFile=\"second.hlp\"\r\n");
    auto project = VBProject::open(temp / "proj" / "p.vbp");
    EXPECT_EQ(project->HelpFile(), "first.hlp");
    EXPECT_EQ(project->VBComponents().Item(1)->FileNames(1), (temp / "forms" / "Abs.frm").string());
    EXPECT_EQ(project->VBComponents().Item(2)->FileNames(1), (temp / "forms" / "Abs.frm").string());
    EXPECT_EQ(project->VBComponents().Item(2)->Name(), "frmAbs");
    project->SetHelpFile("third.hlp");
    project->save();
    auto reopened = VBProject::open(temp / "proj" / "p.vbp");
    EXPECT_EQ(reopened->HelpFile(), "third.hlp");
    EXPECT_NE(readFile(temp / "proj" / "p.vbp").find("HelpFile=\"second.hlp\""), std::string::npos);
}

TEST(VBProjectTest, ReadsManyDesignersAtOnceEachWithItsOwnOutcome) {
    // Enough forms to be read on several threads; every seventh one cannot be read, and each
    // form uses ActiveX types of its own that the type table learns while the forms are read.
    TempDir dir;
    std::string vbp = "Type=Exe\r\n";
    for (int i = 0; i < 60; ++i) {
        std::string name = "frm" + std::to_string(i);
        vbp += "Form=" + name + ".frm\r\n";
        std::string body = "Begin VB.Form " + name + " \r\n";
        for (int c = 0; c < 3; ++c)
            body += "   Begin Lib" + std::to_string((i + c) % 9) + ".Gadget gad" + std::to_string(c) +
                    " \r\n      Tag = \"" + std::to_string(i * 10 + c) + "\"\r\n   End\r\n";
        body += i % 7 == 3 ? "   Begin VB.CommandButton\r\n" : "End\r\nAttribute VB_Name = \"" + name + "\"\r\n";
        writeFile(dir.path() / (name + ".frm"), body);
    }
    writeFile(dir.path() / "Many.vbp", vbp);
    auto project = VBProject::open(dir.path() / "Many.vbp");
    ASSERT_EQ(project->VBComponents().Count(), 60);
    for (int i = 0; i < 60; ++i) {
        auto component = project->VBComponents().Item(i + 1);
        EXPECT_EQ(component->Name(), "frm" + std::to_string(i));
        if (i % 7 == 3) {
            EXPECT_THROW(component->Designer()->VBControls(), VbError) << i;
            continue;
        }
        auto& controls = component->Designer()->VBControls();
        ASSERT_EQ(controls.Count(), 3) << i;
        for (int c = 0; c < 3; ++c) {
            auto control = controls.Item(c + 1);
            EXPECT_EQ(control->ProgId(), "Lib" + std::to_string((i + c) % 9) + ".Gadget");
            EXPECT_EQ(control->Properties().Item("Tag").Value().toText(), std::to_string(i * 10 + c));
            EXPECT_TRUE(control->Properties().Contains("WhatsThisHelpID"));
        }
    }
}
