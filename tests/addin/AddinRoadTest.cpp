// The add-in's road from the menu click to the saved help data, end to end on the bundled
// example project, and the menu command's checks on the way.
#include "testsupport/addin/AddinTestFixture.h"

#include "controls/BusyWindow.h"
#include "settings/ModMain.h"
#include "vbide/CommandBars.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <map>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string PositionKey = "Software\\Halvex\\Corvane\\WindowPosition_Main";

class AddinRoadTest : public AddinTest {
protected:
    // Every record's texts and caption, by "module.key".
    std::map<std::string, std::string> snapshot() {
        std::map<std::string, std::string> result;
        for (const std::string& module : moduleNames())
            for (const auto& item : *editor().formsData()->Item(module)) {
                std::string value = item->Caption.str() + "|";
                for (int32_t i = 1; i <= item->HelpTexts.Count(); ++i)
                    value += item->HelpTexts.KeyAt(i) + "=" + std::string(item->HelpTexts.Item(i)) + "|";
                result[module + "." + item->ControlName.str()] = value;
            }
        return result;
    }
};

TEST_F(AddinRoadTest, EditAndCloseTheExampleProjectThenReopenIt) {
    auto vbp = copyExample();
    const auto folder = vbp.parent_path();
    const std::string frmMainBefore = readFile(folder / "frmMain.frm");
    FrmWizard& window = openEditor(vbp);

    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(moduleList(), (Strings{"mdiMain", "frmMain", "frmOrder", "frmCustomer", "frmAbout", "ctlAddress",
                                     "ppgAddress", "docOrderStatus", "frmSplash"}));
    // frmSplash left the project: kept for its text, and listed after the project's modules.
    EXPECT_EQ(moduleNames(), (Strings{"mdiMain", "frmMain", "frmOrder", "frmCustomer", "frmAbout", "frmSplash",
                                      "ctlAddress", "ppgAddress", "docOrderStatus"}));
    EXPECT_EQ(window.scanResult().keptModules, (Strings{"frmSplash"}));
    EXPECT_EQ(window.highestId(), 38);
    EXPECT_FALSE(addin_->modMain().Busy->Visible());

    // The user writes help for the new check box and clears the text of cmdOpen in the
    // editor; a German text goes straight into a record.
    typeHelpText("frmOrder", "chkExpress", "Tick this box to deliver the order\r\nby express courier.");
    typeHelpText("frmMain", "cmdOpen", "");
    record("frmMain", "cmdOpen").SetHelpText("German", "");
    record("frmOrder", "cmdPrint").SetHelpText("German", "Druckt die Auftragsbestätigung & den Lieferschein.");
    // ... and arranges the window.
    window.Move(300, 450, 9000, 6000);
    window.splitMain().Panes(1).SetSize(2000);
    window.Grid().Groups().Add(1, 1, 0);
    window.SetSpellType("sc_currentmodule");
    auto edited = snapshot();
    // The text box's last edit is still pending in the grid; the close commits it.
    edited["frmMain.cmdOpen"] = "&Open|English=|German=|";

    // The close box keeps the window until the timer's first tick.
    EXPECT_FALSE(window.userClose());
    EXPECT_TRUE(window.loaded());
    EXPECT_EQ(readFile(folder / "ContextHelp.txt"), readFile(exampleFolder() / "ContextHelp.txt"));
    EXPECT_TRUE(windows_.runPendingEvents());
    EXPECT_FALSE(window.loaded());
    EXPECT_FALSE(windows_.runPendingEvents()); // the timer does not fire a second time
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_FALSE(addin_->modMain().Busy->Visible());

    EXPECT_EQ(readFile(folder / "ContextHelp.txt"),
              readFile(fs::path(CORVANE_TEST_DATA_DIR) / "addin" / "OrderEntryRoad" / "ContextHelp.txt"));
    EXPECT_FALSE(fs::exists(folder / "ContextHelp.txt.tmp"));
    EXPECT_EQ(registryValue("Software\\Halvex", "CorvaneSplitMain"), "Splitter;0;2000");
    EXPECT_EQ(registryValue("Software\\Halvex", "CorvaneSplitRight"), "Splitter;1;2100");
    EXPECT_EQ(registryValue("Software\\Halvex\\Corvane", "SpellType"), "sc_currentmodule");
    EXPECT_EQ(registryValue(PositionKey, "WindowState"), "0");
    EXPECT_EQ(registryValue(PositionKey, "Left"), "300");
    EXPECT_EQ(registryValue(PositionKey, "Top"), "450");
    EXPECT_EQ(registryValue(PositionKey, "Width"), "9000");
    EXPECT_EQ(registryValue(PositionKey, "Height"), "6000");
    EXPECT_EQ(registryValue(PositionKey, "GridView"), "0");
    EXPECT_EQ(registryValue(PositionKey, "GridGroups"), "1:1");

    // cmdOpen lost its context number; the host writes it into the form file.
    ide_->ActiveVBProject()->save();
    std::string expectedForm = frmMainBefore;
    const std::string idLine = "      WhatsThisHelpID =   7\r\n";
    expectedForm.erase(expectedForm.find(idLine, expectedForm.find("cmdOpen")), idLine.size());
    EXPECT_EQ(readFile(folder / "frmMain.frm"), expectedForm);

    // The next click finds everything as it was left.
    clickMenu();
    FrmWizard& again = editor();
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_EQ(snapshot(), edited);
    EXPECT_EQ(again.Left(), 300);
    EXPECT_EQ(again.Width(), 9000);
    EXPECT_EQ(again.splitMain().GetLayout(), "Splitter;0;2000");
    EXPECT_EQ(again.splitright().GetLayout(), "Splitter;1;2100");
    EXPECT_EQ(again.GetSpellType(), "sc_currentmodule");
    EXPECT_EQ(addin_->modMain().SaveGridGroups(again.Grid()), "1:1");
    EXPECT_EQ(again.highestId(), 38);
    EXPECT_EQ(record("frmMain", "cmdOpen").ContextHelpID, 0);
}

TEST_F(AddinRoadTest, TheCommandNeedsASavedActiveProject) {
    clickMenu();
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0],
              (controls::MessageBoxRecord{"No project selected", "Please select a Project before invoking Corvane", 48,
                                          controls::vbOK}));
    EXPECT_EQ(addin_->editor(), nullptr);

    ide_->newUnsavedProject();
    clickMenu();
    ASSERT_EQ(windows_.messages().size(), 2u);
    EXPECT_EQ(windows_.messages()[1],
              (controls::MessageBoxRecord{"Project not saved", "You must save this project before using Corvane with it",
                                          48, controls::vbOK}));
    EXPECT_EQ(addin_->editor(), nullptr);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(AddinRoadTest, ASecondClickStartsAfreshAndDropsEditsTheUserDoesNotSave) {
    auto vbp = copyExample();
    const std::string stored = readFile(vbp.parent_path() / "ContextHelp.txt");
    openEditor(vbp);
    typeHelpText("frmMain", "cmdDelete", "Deletes the selected order.");
    windows_.clearWindowLog();

    // The user is asked about the unsaved edit; No drops it.
    windows_.answerNext(controls::vbNo);
    clickMenu();
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].prompt, "Save the changes to the help text before the editor closes?");
    EXPECT_EQ(controls::buttonSet(windows_.messages()[0].style), controls::vbYesNoCancel);
    EXPECT_EQ(windows_.windowLog().front(), "unload frmWizard");
    EXPECT_TRUE(editor().loaded());
    EXPECT_EQ(readFile(vbp.parent_path() / "ContextHelp.txt"), stored);
    EXPECT_FALSE(record("frmMain", "cmdDelete").HasHelpText());

    // The click works on the project that is active at that moment. The example generates
    // WinHelp too; the small project stores no formats, so the IDE's version chooses them: the
    // example's choice does not carry over.
    ASSERT_TRUE(addin_->modMain().mGenerateWinHelp);
    fs::create_directories(dir_ / "small");
    openProject(writeSmallProject(dir_ / "small"));
    clickMenu();
    EXPECT_EQ(moduleList(), (Strings{"frmA", "frmB", "ctlBox"}));
    const ModMain& settings = addin_->modMain();
    EXPECT_EQ((std::vector<bool>{settings.mGenerateHTML, settings.mCompileHTML, settings.mGenerateWinHelp,
                                 settings.mCompileWinHelp}),
              (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(readFile(vbp.parent_path() / "ContextHelp.txt"), stored);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(AddinRoadTest, RemovingAnyProjectClosesTheEditorAndDropsEditsTheUserDoesNotSave) {
    auto vbp = copyExample();
    const std::string stored = readFile(vbp.parent_path() / "ContextHelp.txt");
    fs::create_directories(dir_ / "small");
    auto small = openProject(writeSmallProject(dir_ / "small"));
    auto example = openProject(vbp);
    clickMenu();
    typeHelpText("frmMain", "cmdDelete", "Deletes the selected order.");

    // Asked about the unsaved edit, the user answers No: it is dropped.
    windows_.answerNext(controls::vbNo);
    ide_->removeProject(small);
    EXPECT_FALSE(editor().loaded());
    windows_.runPendingEvents();
    EXPECT_EQ(readFile(vbp.parent_path() / "ContextHelp.txt"), stored);
    EXPECT_FALSE(fs::exists(dir_ / "small" / "ContextHelp.txt"));
    EXPECT_EQ(windows_.messages().size(), 1u);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(AddinRoadTest, TheMenuEntry) {
    auto menu = ide_->CommandBars("Add-Ins");
    ide_->Clipboard().SetText("earlier content");
    connect();
    auto entry = addin_->wizard()->menuEntry();
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(menu->Controls().Count(), 3);
    EXPECT_EQ(menu->Controls().Item(3), entry);
    EXPECT_EQ(entry->Caption(), "Corvane ...");
    EXPECT_EQ(entry->OnAction(), "hello");
    EXPECT_TRUE(entry->BeginGroup()); // the Visual Data Manager's entry begins a group alone
    ASSERT_NE(entry->Face(), nullptr);
    EXPECT_EQ(ide_->Clipboard().GetData(), entry->Face());
    EXPECT_EQ(ide_->Clipboard().GetText(), "");

    addin_->disconnect();
    EXPECT_EQ(menu->Controls().Count(), 2);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(AddinRoadTest, TheExternalModeInstallsNoEntry) {
    connect(vbext_cm_External);
    EXPECT_EQ(addin_->wizard()->menuEntry(), nullptr);
    EXPECT_EQ(ide_->CommandBars("Add-Ins")->Controls().Count(), 2);
    addin_->disconnect();
    EXPECT_TRUE(reports_.reports().empty());
    // Removing a project still reaches the add-in without harm.
    auto project = openProject(writeSmallProject(dir_.path()));
    ide_->removeProject(project);
    EXPECT_TRUE(reports_.reports().empty());
}

// The entry made on an "Add-Ins" menu with the given entries: does it begin a group?
struct GroupCase {
    std::vector<vbide::MenuEntry> menu;
    bool beginsGroup;
};

TEST_F(AddinRoadTest, TheEntryBeginsAGroupOnlyAfterALoneGroupStart) {
    const std::vector<GroupCase> cases = {
        {{}, false},
        {{{"Only", false}}, false},
        {{{"Only", true}}, true},
        {{{"A", false}, {"B", true}}, true},
        {{{"A", true}, {"B", true}}, false},
        {{{"A", true}, {"B", false}}, false},
        {{{"A", false}, {"B", false}, {"C", true}}, true},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        auto ide = std::make_shared<vbide::VBE>(cases[i].menu);
        Addin addin;
        addin.load();
        addin.connect(ide);
        auto entry = addin.wizard()->menuEntry();
        // Short menus get a usable entry too.
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Caption(), "Corvane ...");
        EXPECT_EQ(entry->BeginGroup(), cases[i].beginsGroup);
        windows_.clearMessages();
        entry->click();
        EXPECT_EQ(messageTitles(), (Strings{"No project selected"}));
    }
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(AddinRoadTest, StartUpReadsEachLanguageOnce) {
    writeFile(dir_ / "data" / "languages.txt", "English\nGerman\nENGLISH\nenglish\nFrench\n");
    connect();
    const NameList& languages = addin_->modMain().Languages;
    EXPECT_EQ(Strings(languages.begin(), languages.end()), (Strings{"English", "German", "French"}));
    EXPECT_TRUE(reports_.reports().empty());
}

} // namespace
} // namespace corvane::test
