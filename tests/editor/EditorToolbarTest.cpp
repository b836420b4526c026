// The editor's toolbar worked as the user works it: table and card view, the spell-check
// scope, the language combo, and the options and language dialogs answered by a scripted user.
#include "testsupport/addin/AddinTestFixture.h"

#include "testsupport/CodePageProjects.h"
#include "testsupport/TextTools.h"
#include "vbide/VBProject.h"

#include "settings/FrmOptions.h"
#include "settings/FrmPrimaryLanguage.h"
#include "settings/FrmSelectLanguages.h"
#include "settings/ModMain.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

using Strings = std::vector<std::string>;

class EditorToolbarTest : public AddinTest {
protected:
    FrmWizard& open(const std::string& current = "English", const std::string& primary = "English") {
        return openEditor(writeEditProject(dir_.path(), current, primary));
    }
    ModMain& settings() { return editor().settings(); }
    std::string groups() { return settings().SaveGridGroups(editor().Grid()); }
    Strings selectedLanguages() {
        const NameList& list = *settings().SelectedLanguages;
        return Strings(list.begin(), list.end());
    }
    // Clicks a line of the language dialog so that it is ticked or not.
    static void tick(FrmSelectLanguages& form, const std::string& name, bool ticked) {
        controls::ListBox& list = form.lbxLanguages();
        for (int32_t i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == name) {
                if (list.Selected(i) != ticked)
                    list.SetSelected(i, ticked);
                return;
            }
        ADD_FAILURE() << "no line " << name;
    }
    void TearDown() override { EXPECT_TRUE(reports_.reports().empty()); }
};

TEST_F(EditorToolbarTest, CardViewKeepsTheGroupingThatTableViewRestores) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    controls::Grid& grid = window.Grid();
    EXPECT_TRUE(tool("tableview").Checked());
    EXPECT_FALSE(tool("cardview").Checked());
    EXPECT_EQ(tool("cardview").Caption(), "Card View");
    EXPECT_EQ(tool("tableview").ToolTipText(), "View the list of controls in table format");

    grid.Groups().Add(1, 1, 0);
    clickTool("cardview");
    EXPECT_TRUE(tool("cardview").Checked());
    EXPECT_FALSE(tool("tableview").Checked());
    EXPECT_EQ(grid.View(), controls::jgexCard);
    clickTool("tableview");
    EXPECT_FALSE(tool("cardview").Checked());
    EXPECT_TRUE(tool("tableview").Checked());
    EXPECT_EQ(grid.View(), controls::jgexTable);
    EXPECT_EQ(groups(), "1:1");

    // A second card view click keeps the grouping saved by the first.
    grid.Groups().Add(2, -1, 0);
    clickTool("cardview");
    clickTool("cardview");
    EXPECT_EQ(grid.View(), controls::jgexCard);
    clickTool("tableview");
    EXPECT_EQ(groups(), "1:1,2:-1");
    clickTool("tableview"); // nothing held any more: the grouping stays as it is
    EXPECT_EQ(groups(), "1:1,2:-1");
    EXPECT_EQ(gridRows(), (Strings{"chkBold|Bold text.", "cmdOK|Saves and closes.", "lblTitle|", "txtName|Your name."}));
}

TEST_F(EditorToolbarTest, AScopeToolSelectsItsScopeWithoutCheckingAnything) {
    FrmWizard& window = open();
    selectModule("frmOther");
    windows_.clearWindowLog();
    const Strings scopes{"sc_currentitem", "sc_currentmodule", "sc_allmodules"};
    const Strings tips{"Spell Check the help text for the current item",
                       "Spell Check the help text for the current module",
                       "Spell Check the help text for all modules"};
    for (size_t i : {size_t{1}, size_t{0}, size_t{2}, size_t{1}}) {
        clickTool(scopes[i], "spellcheck");
        for (size_t j = 0; j < scopes.size(); ++j)
            EXPECT_EQ(tool(scopes[j], "spellcheck").Checked(), i == j) << scopes[i] << " clicked, " << scopes[j];
        EXPECT_EQ(tool("spellcheck").ToolTipText(), tips[i]);
        EXPECT_EQ(window.GetSpellType(), scopes[i]);
    }
    EXPECT_TRUE(windows_.messages().empty()) << "no check ran";
    EXPECT_TRUE(windows_.windowLog().empty());
    EXPECT_EQ(window.lbxModules().Text(), "frmOther");

    // An unknown scope name unchecks every scope and keeps the tooltip.
    window.SetSpellType("sc_nothing");
    EXPECT_EQ(window.GetSpellType(), "");
    EXPECT_EQ(tool("spellcheck").ToolTipText(), tips[1]);
}

TEST_F(EditorToolbarTest, PickingTheCurrentLanguageChangesNothing) {
    FrmWizard& window = open();
    EXPECT_EQ(languageCombo(), (Strings{"English", "German"}));
    EXPECT_EQ(tool("selectedlanguage").ComboListIndex(), 0);
    EXPECT_EQ(tool("selectedlanguage").ToolTipText(), "Currently Active Language");
    selectModule("frmEdit");
    selectRow("txtName");
    window.txtHelpText().SetText("Pending.");
    const int64_t rowsRead = window.Grid().rowsRead();
    pickLanguage("English");
    EXPECT_EQ(window.Grid().rowsRead(), rowsRead) << "no row was read again";
    EXPECT_EQ(record("frmEdit", "txtName").GetHelpText("English"), "Your name.") << "the edit is still pending";
    EXPECT_EQ(window.txtHelpText().Text(), "Pending.");
    EXPECT_EQ(settings().mCurrentLanguage, "English");
}

TEST_F(EditorToolbarTest, PickingAnotherLanguageStoresThePendingEditAndKeepsThePlaceInTheGrid) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    controls::Grid& grid = window.Grid();
    grid.Groups().Add(1, 1, 0); // CheckBox, CommandButton, Label, TextBox
    selectRow("lblTitle");
    grid.SetCol(2);
    grid.SetFirstRow(1);
    window.txtHelpText().SetText("The title.");

    pickLanguage("German");
    EXPECT_EQ(settings().mCurrentLanguage, "German");
    EXPECT_EQ(record("frmEdit", "lblTitle").GetHelpText("English"), "The title.");
    EXPECT_EQ(record("frmEdit", "lblTitle").GetHelpText("German"), "");
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.FirstRow(), 1);
    EXPECT_EQ(groups(), "1:1");
    EXPECT_EQ(gridRows(), (Strings{"chkBold|Fetter Text.", "cmdOK|Speichert und schließt.", "lblTitle|", "txtName|"}));
    EXPECT_EQ(window.txtHelpText().Text(), "");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls - lblTitle");
    EXPECT_TRUE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (English) is \"The title.\"");
    // The project's languages and its primary language are not touched.
    EXPECT_EQ(selectedLanguages(), (Strings{"English", "German"}));
    EXPECT_EQ(settings().mPrimaryLanguage, "English");

    // Typing now writes German; back in English the English text is shown again.
    window.txtHelpText().SetText("Der Titel.");
    pickLanguage("English");
    EXPECT_EQ(record("frmEdit", "lblTitle").GetHelpText("German"), "Der Titel.");
    EXPECT_EQ(record("frmEdit", "lblTitle").GetHelpText("English"), "The title.");
    EXPECT_EQ(window.txtHelpText().Text(), "The title.");
    EXPECT_FALSE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(EditorToolbarTest, TheLanguageComboShowsTheFirstLanguageWhenTheCurrentOneIsNotSelected) {
    FrmWizard& window = open("French", "English");
    EXPECT_EQ(languageCombo(), (Strings{"English", "German"}));
    EXPECT_EQ(tool("selectedlanguage").ComboListIndex(), 0);
    EXPECT_EQ(settings().mCurrentLanguage, "French");

    // A project without selected languages gets the current one.
    settings().newSelectedLanguages();
    window.LoadSelectedLanguages("French");
    EXPECT_EQ(selectedLanguages(), (Strings{"French"}));
    EXPECT_EQ(settings().SelectedLanguages->KeyAt(1), "French");
    EXPECT_EQ(languageCombo(), (Strings{"French"}));
    EXPECT_EQ(tool("selectedlanguage").ComboListIndex(), 0);

    window.LoadSelectedLanguages("German");
    EXPECT_EQ(languageCombo(), (Strings{"French"}));
    EXPECT_EQ(settings().mCurrentLanguage, "French");
}

TEST_F(EditorToolbarTest, TheOptionsToolShowsTheOptionsDialogWhoseChangesAreSaved) {
    FrmWizard& window = open();
    windows_.clearWindowLog();
    windows_.onModalOnce("frmOptions", [](controls::Form& form) {
        auto& options = dynamic_cast<FrmOptions&>(form);
        EXPECT_EQ(options.chkGenerateHTML().Value(), controls::vbChecked);
        options.chkGenerateHTML().SetValue(controls::vbUnchecked); // the only format: WinHelp takes over
        options.cmdOk().SetValue(true);
    });
    clickTool("options");
    EXPECT_EQ(windows_.windowLog().front(), "modal frmOptions");
    EXPECT_FALSE(settings().mGenerateHTML);
    EXPECT_TRUE(settings().mGenerateWinHelp);
    EXPECT_FALSE(settings().mCompileWinHelp);
    EXPECT_TRUE(window.loaded());

    closeWithCloseBox();
    const std::string saved = readFile(dir_ / "ContextHelp.txt");
    EXPECT_NE(saved.find("GenerateHTML=\"False\" CompileHTML=\"False\" GenerateWinHelp=\"True\" CompileWinHelp=\"False\""),
              std::string::npos)
        << saved.substr(0, 300);
}

TEST_F(EditorToolbarTest, ACodePageChosenWhileAFormHasUnsavedChangesIsRefusedAndNotStored) {
    const CodePageProject& korean = codePageProjects().at(3);
    const auto vbp = writeCodePageProject(korean, dir_.path());
    writeFile(dir_ / "ContextHelp.txt", "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" "
                                        "CodePage=\"1252\"><SelectedLanguage Name=\"English\"/></Root>\n");
    FrmWizard& window = openEditor(vbp);
    // A compile set a number the project has not saved yet: reading again would lose it.
    window.VBP()->VBComponents().Item("frmMain")->Designer()->VBControls().Item(4)->Properties()
        .Item("WhatsThisHelpID").SetValue(Variant(int32_t{7}));
    windows_.onModalOnce("frmOptions", [](controls::Form& form) {
        auto& options = dynamic_cast<FrmOptions&>(form);
        controls::ComboBox& list = options.cboCodePage();
        EXPECT_EQ(list.Text(), "1252 Western European");
        for (int32_t i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == "949 Korean")
                list.SetListIndex(i);
        options.cmdOk().SetValue(true);
    });
    clickTool("options");
    ASSERT_FALSE(windows_.messages().empty());
    EXPECT_EQ(windows_.messages().back().title, "Code page");
    EXPECT_NE(windows_.messages().back().prompt.find("unsaved changes in 'frmMain'"), std::string::npos);
    EXPECT_EQ(window.VBP()->codePage(), 1252);
    EXPECT_EQ(settings().codePage, 1252);

    closeWithCloseBox();
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(" CodePage=\"1252\""), std::string::npos);
}

TEST_F(EditorToolbarTest, TheLanguageOptionsToolFillsTheComboAgainFromTheChosenLanguages) {
    FrmWizard& window = open();
    windows_.clearWindowLog();
    windows_.onModalOnce("frmSelectLanguages", [](controls::Form& form) {
        auto& dialog = dynamic_cast<FrmSelectLanguages&>(form);
        tick(dialog, "English", false);
        tick(dialog, "French", true);
        dialog.cmdOk().SetValue(true);
    });
    windows_.onModalOnce("frmPrimaryLanguage", [](controls::Form& form) {
        auto& dialog = dynamic_cast<FrmPrimaryLanguage&>(form);
        controls::ComboBox& combo = dialog.cboLanguages();
        ASSERT_EQ(combo.ListCount(), 2);
        EXPECT_EQ(combo.List(0), "German");
        EXPECT_EQ(combo.List(1), "French");
        combo.SetListIndex(1);
        dialog.cmdOk().SetValue(true);
    });
    windows_.answerNext(controls::vbNo); // keep the texts of the language taken off the list
    clickTool("languageoptions");
    EXPECT_EQ(windows_.windowLog(), (Strings{"modal frmSelectLanguages", "modal frmPrimaryLanguage",
                                             "hide frmPrimaryLanguage", "hide frmSelectLanguages",
                                             "unload frmSelectLanguages"}));
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "Language removed");
    EXPECT_EQ(windows_.messages()[0].prompt,
              "The help text in English (4 texts) stays in the help data file: it is not shown or compiled while "
              "English is not selected, and comes back when you select it again.\n\nDelete these 4 texts now "
              "instead?");
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("English"), "Saves and closes.");
    windows_.clearMessages();
    EXPECT_EQ(selectedLanguages(), (Strings{"German", "French"}));
    EXPECT_EQ(settings().mPrimaryLanguage, "French");
    EXPECT_EQ(languageCombo(), (Strings{"German", "French"}));
    EXPECT_EQ(tool("selectedlanguage").ComboListIndex(), 0);
    EXPECT_EQ(settings().mCurrentLanguage, "English") << "the combo does not switch the language";
    EXPECT_TRUE(windows_.messages().empty());

    // Taken off the list again, German's texts go only when the user says so, knowing how many.
    windows_.onModalOnce("frmSelectLanguages", [](controls::Form& form) {
        auto& dialog = dynamic_cast<FrmSelectLanguages&>(form);
        tick(dialog, "German", false);
        dialog.cmdOk().SetValue(true);
    });
    windows_.answerNext(controls::vbYes);
    clickTool("languageoptions");
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_NE(windows_.messages()[0].prompt.find("The help text in German (2 texts) stays"), std::string::npos)
        << windows_.messages()[0].prompt;
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("German"), "");
    EXPECT_FALSE(record("frmEdit", "cmdOK").HelpTexts.Contains("German"));
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("English"), "Saves and closes.") << "English is kept";
    EXPECT_TRUE(window.hasUnsavedEdits());
    windows_.clearMessages();
    windows_.onModalOnce("frmSelectLanguages", [](controls::Form& form) {
        auto& dialog = dynamic_cast<FrmSelectLanguages&>(form);
        tick(dialog, "German", true);
        dialog.cmdOk().SetValue(true);
    });
    windows_.onModalOnce("frmPrimaryLanguage", [](controls::Form& form) {
        auto& dialog = dynamic_cast<FrmPrimaryLanguage&>(form);
        dialog.cboLanguages().SetListIndex(1);
        dialog.cmdOk().SetValue(true);
    });
    clickTool("languageoptions");

    // Picking a language of the new list switches to it.
    selectModule("frmEdit");
    pickLanguage("German");
    EXPECT_EQ(settings().mCurrentLanguage, "German");
    EXPECT_TRUE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (French) is blank");
}

TEST_F(EditorToolbarTest, TheLanguageBeingEditedAtCloseIsTheCurrentOneNextTime) {
    open();
    selectModule("frmOther");
    pickLanguage("German");
    editor().txtHelpText().SetText("Eine Notiz.");
    closeWithCloseBox();
    const std::string saved = readFile(dir_ / "ContextHelp.txt");
    EXPECT_NE(saved.find("<Root CurrentLanguage=\"German\" PrimaryLanguage=\"English\""), std::string::npos);
    EXPECT_NE(saved.find("<HelpText Language=\"German\">Eine Notiz.</HelpText>"), std::string::npos);

    clickMenu();
    FrmWizard& again = editor();
    EXPECT_EQ(languageCombo(), (Strings{"English", "German"}));
    EXPECT_EQ(tool("selectedlanguage").ComboListIndex(), 1);
    EXPECT_TRUE(again.txtPrimaryLanguage().Visible());
    selectModule("frmOther");
    EXPECT_EQ(again.txtHelpText().Text(), "Eine Notiz.");
    EXPECT_EQ(again.txtPrimaryLanguage().Text(), "Help text in the primary language (English) is \"A note.\"");
}

} // namespace
} // namespace corvane::test
