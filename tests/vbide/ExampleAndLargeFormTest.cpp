#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <map>

using namespace corvane;
using namespace corvane::vbide;
using corvane::test::exampleFolder;
using corvane::test::filesIn;
using corvane::test::readFile;
using corvane::test::TempDir;
using corvane::test::writeFile;

namespace fs = std::filesystem;

namespace {

// A form with `count` menu entries, nested three deep in groups of nine.
std::string menuForm(int count) {
    std::string text = "VERSION 5.00\r\nBegin VB.Form frmMenus \r\n   Caption         =   \"Menus\"\r\n";
    int written = 0;
    while (written < count) {
        text += "   Begin VB.Menu mnuTop" + std::to_string(written) + " \r\n";
        text += "      Caption         =   \"Top " + std::to_string(written) + "\"\r\n";
        ++written;
        for (int child = 0; child < 8 && written < count; ++child, ++written) {
            text += "      Begin VB.Menu mnuItem \r\n";
            text += "         Caption         =   \"Item " + std::to_string(written) + "\"\r\n";
            text += "         Index           =   " + std::to_string(child) + "\r\n";
            text += "      End\r\n";
        }
        text += "   End\r\n";
    }
    return text + "End\r\nAttribute VB_Name = \"frmMenus\"\r\n";
}

} // namespace

TEST(ExampleProjectTest, ReadsEveryComponentAndSavesBackByteIdentical) {
    if (!fs::exists(exampleFolder() / "OrderEntry.vbp"))
        GTEST_SKIP() << "the example project is not in this checkout";
    TempDir temp;
    fs::copy(exampleFolder(), temp / "OrderEntry", fs::copy_options::recursive);
    auto folder = temp / "OrderEntry";
    auto before = filesIn(folder);
    auto project = VBProject::open(folder / "OrderEntry.vbp");
    EXPECT_EQ(project->Name(), "OrderEntry");
    int visual = 0, controls = 0;
    for (const auto& component : project->VBComponents()) {
        if (component->Type() < 5 || component->Type() > 9)
            continue;
        ++visual;
        for (const auto& control : component->Designer()->VBControls()) {
            ++controls;
            control->Properties().Item("Name").Value();
            if (control->Properties().Contains("WhatsThisHelpID")) {
                auto& id = control->Properties().Item("WhatsThisHelpID");
                Variant old = id.Value();
                id.SetValue(Variant(int32_t{999}));
                id.SetValue(old);
            }
        }
    }
    EXPECT_EQ(visual, 8); // five forms (one MDI), a user control, a property page, a user document
    EXPECT_EQ(project->VBComponents().Item("mdiMain")->Type(), 6);
    EXPECT_GT(controls, 20);
    project->save();
    EXPECT_EQ(filesIn(folder), before);
}

TEST(LargeFormTest, A743EntryMenuFormReadsAndWritesBack) {
    TempDir temp;
    std::string form = menuForm(743);
    writeFile(temp / "menus.vbp", "Type=Exe\r\nForm=MENUS.FRM\r\nName=\"Menus\"\r\n");
    writeFile(temp / "menus.frm", form);
    auto project = VBProject::open(temp / "menus.vbp");
    auto component = project->VBComponents().Item("frmMenus");
    auto& controls = component->Designer()->VBControls();
    ASSERT_EQ(controls.Count(), 743);
    EXPECT_EQ(controls.Item(743)->Properties().Item("Caption").Value().toText(), "Item 742");
    EXPECT_EQ(controls.Item(2)->Properties().Item("Index").Value().toLong(), 0);
    EXPECT_EQ(controls.Item(1)->Properties().Item("Index").Value().toLong(), -1);
    component->Properties().Item("WhatsThisHelp").SetValue(Variant(true));
    project->save();
    std::string expected = form;
    std::string anchor = "   Caption         =   \"Menus\"\r\n";
    expected.insert(expected.find(anchor) + anchor.size(), "   WhatsThisHelp   =   -1  'True\r\n");
    EXPECT_EQ(readFile(temp / "menus.frm"), expected);
}

TEST(LargeFormTest, TruncatedFormsFailWith60061AndAreNeverWritten) {
    TempDir temp;
    std::string form = menuForm(40);
    writeFile(temp / "p.vbp", "Type=Exe\r\nForm=cut.frm\r\nForm=whole.frm\r\n");
    writeFile(temp / "cut.frm", form.substr(0, form.size() / 2));
    writeFile(temp / "whole.frm", form);
    auto project = VBProject::open(temp / "p.vbp");
    auto cut = project->VBComponents().Item(1);
    try {
        cut->Designer()->VBControls();
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 60061);
        EXPECT_NE(error.description().find("cut.frm"), std::string::npos);
        EXPECT_NE(error.description().find("line"), std::string::npos) << error.description();
    }
    EXPECT_EQ(project->VBComponents().Item(2)->Designer()->VBControls().Count(), 40);
    project->VBComponents().Item(2)->Properties().Item("WhatsThisHelp").SetValue(Variant(true));
    project->save();
    EXPECT_EQ(readFile(temp / "cut.frm"), form.substr(0, form.size() / 2));
}
