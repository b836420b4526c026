// The editor's module list, grid and help text box worked as the user works them: what the
// window shows after each step and what reaches the help item records.
#include "testsupport/addin/AddinTestFixture.h"

#include "settings/ModMain.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

using Strings = std::vector<std::string>;

class EditorGridTest : public AddinTest {
protected:
    FrmWizard& open(const std::string& current = "English", const std::string& primary = "English") {
        return openEditor(writeEditProject(dir_.path(), current, primary));
    }
    std::string english(const std::string& module, const std::string& key) {
        return record(module, key).GetHelpText("English");
    }
    // The sort keys as "column:order".
    Strings sortKeys() {
        Strings keys;
        for (const auto& key : editor().Grid().SortKeys())
            keys.push_back(std::to_string(key.ColIndex) + ":" + std::to_string(key.SortOrder));
        return keys;
    }
    void TearDown() override { EXPECT_TRUE(reports_.reports().empty()); }
};

TEST_F(EditorGridTest, SelectingModulesFillsTheGridAndTheFramesShowTheCurrentControl) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    EXPECT_EQ(window.ModuleListContainer().Caption(), "frmEdit");
    EXPECT_EQ(window.Grid().ItemCount(), 4);
    EXPECT_EQ(gridRows(), (Strings{"cmdOK|Saves and closes.", "txtName|Your name.", "lblTitle|", "chkBold|Bold text."}));
    EXPECT_EQ(window.Grid().Row(), 0);
    EXPECT_TRUE(window.txtHelpText().Enabled());
    EXPECT_EQ(window.txtHelpText().Text(), "Saves and closes.");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls - cmdOK");
    EXPECT_EQ(window.HelpTextContainer().Caption(), "Help Text - cmdOK");
    // Columns by number whatever their display order: type, name, help text, caption.
    EXPECT_EQ(window.Grid().cellValue(0, 1).toText(), "CommandButton");
    EXPECT_EQ(window.Grid().cellValue(0, 4).toText(), "OK");
    EXPECT_EQ(window.Grid().Columns().Item(3).Caption(), "Help Text");
    EXPECT_EQ(window.Grid().GroupByBoxInfoText(), "Drag a column header here to group by that column");

    selectRow("chkBold");
    EXPECT_EQ(window.txtHelpText().Text(), "Bold text.");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls - chkBold");
    EXPECT_EQ(window.HelpTextContainer().Caption(), "Help Text - chkBold");

    // A module without controls: an empty grid, and nothing to type into.
    selectModule("frmEmpty");
    EXPECT_EQ(window.ModuleListContainer().Caption(), "frmEmpty");
    EXPECT_EQ(window.Grid().ItemCount(), 0);
    EXPECT_EQ(gridRows(), Strings{});
    EXPECT_FALSE(window.txtHelpText().Enabled());
    EXPECT_EQ(window.txtHelpText().Text(), "");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls");
    EXPECT_EQ(window.HelpTextContainer().Caption(), "Help Text");

    selectModule("frmOther");
    EXPECT_TRUE(window.txtHelpText().Enabled());
    EXPECT_EQ(window.txtHelpText().Text(), "A note.");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls - txtNote");
    EXPECT_EQ(english("frmEdit", "chkBold"), "Bold text.") << "looking changes nothing";
}

TEST_F(EditorGridTest, TypingUpdatesTheCellAtEveryKeystrokeAndTheRecordWhenTheRowIsCommitted) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    for (const char* typed : {"S", "Sa", "Sav", "Save"}) {
        window.txtHelpText().SetText(typed);
        EXPECT_EQ(window.Grid().Value(3).toText(), typed);
        EXPECT_EQ(gridRows()[0], std::string("cmdOK|") + typed);
        EXPECT_EQ(english("frmEdit", "cmdOK"), "Saves and closes.") << "not committed while typing";
    }
    selectRow("txtName");
    EXPECT_EQ(english("frmEdit", "cmdOK"), "Save");
    EXPECT_EQ(window.txtHelpText().Text(), "Your name.");

    // Typing, then choosing another module: the text is kept.
    window.txtHelpText().SetText("Your full name.");
    selectModule("frmOther");
    EXPECT_EQ(english("frmEdit", "txtName"), "Your full name.");
    EXPECT_EQ(english("frmOther", "txtNote"), "A note.");
    window.txtHelpText().SetText("A short note.");
    selectModule("frmEdit");
    EXPECT_EQ(english("frmOther", "txtNote"), "A short note.");
    EXPECT_EQ(gridRows(), (Strings{"cmdOK|Save", "txtName|Your full name.", "lblTitle|", "chkBold|Bold text."}));
    EXPECT_EQ(record("frmEdit", "txtName").GetHelpText("German"), "") << "only the current language is written";

    // Typing into a row that had no text: the record gets it under the current language.
    selectRow("lblTitle");
    window.txtHelpText().SetText("The title\r\n\tof the form.");
    window.Grid().Update();
    EXPECT_EQ(english("frmEdit", "lblTitle"), "The title\r\n\tof the form.");
}

TEST_F(EditorGridTest, UndoingTheEditOfARowWithoutTextLeavesItsRecordAsItWas) {
    FrmWizard& window = open();
    std::vector<HelpTextEdit> edits;
    window.helpTextEdited.connect([&](const HelpTextEdit& edit) { edits.push_back(edit); });
    selectModule("frmEdit");
    selectRow("lblTitle");
    ASSERT_FALSE(record("frmEdit", "lblTitle").HelpTexts.Contains("English"));
    window.txtHelpText().SetText("The title.");
    selectRow("cmdOK");
    window.txtHelpText().SetText("Saves.");
    selectRow("chkBold");
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_FALSE(edits[0].hadText);
    EXPECT_TRUE(edits[1].hadText);

    // Undone, then redone and undone again: the record holds no English text, as before.
    for (bool undo : {true, false, true})
        ASSERT_TRUE(window.restoreHelpText(edits[0], undo));
    ASSERT_TRUE(window.restoreHelpText(edits[1], true));
    EXPECT_FALSE(record("frmEdit", "lblTitle").HelpTexts.Contains("English"));
    EXPECT_EQ(english("frmEdit", "lblTitle"), "");
    EXPECT_EQ(english("frmEdit", "cmdOK"), "Saves and closes.");
    window.saveHelpData();
    const std::string saved = readFile(dir_ / "ContextHelp.txt");
    EXPECT_NE(saved.find("ControlName=\"lblTitle\" ContextHelpID=\"3\" ControlType=\"Label\" Caption=\"Title\" />\n"),
              std::string::npos)
        << saved;
    EXPECT_EQ(saved.find("<HelpText Language=\"English\" />"), std::string::npos);
}

TEST_F(EditorGridTest, EditingACellUpdatesTheTextBoxAndTheRecordAtOnceAndAClearedCellStoresEmpty) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    selectRow("chkBold");
    window.Grid().SetValue(3, Variant("Makes the text bold."));
    EXPECT_EQ(window.txtHelpText().Text(), "Makes the text bold.");
    EXPECT_EQ(english("frmEdit", "chkBold"), "Makes the text bold.");

    // The user clears the cell: nothing is copied to the text box, the record gets "" when the
    // row is committed.
    selectRow("cmdOK");
    window.Grid().SetValue(3, Variant::null());
    EXPECT_EQ(english("frmEdit", "cmdOK"), "Saves and closes.");
    selectRow("txtName");
    EXPECT_EQ(english("frmEdit", "cmdOK"), "");
    EXPECT_TRUE(record("frmEdit", "cmdOK").HelpTexts.Contains("English"));
    EXPECT_EQ(gridRows()[0], "cmdOK|");
    EXPECT_EQ(window.txtHelpText().Text(), "Your name.");

    // Typing into a cleared cell is kept too.
    selectRow("cmdOK");
    window.Grid().SetValue(3, Variant::null());
    window.txtHelpText().SetText("Closes.");
    EXPECT_EQ(window.Grid().Value(3).toText(), "Closes.");
    selectRow("txtName");
    EXPECT_EQ(english("frmEdit", "cmdOK"), "Closes.");
}

TEST_F(EditorGridTest, HeaderClicksSortOneColumnAscendingThenDescending) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    controls::Grid& grid = window.Grid();
    grid.clickColumnHeader(2);
    EXPECT_EQ(sortKeys(), (Strings{"2:1"}));
    EXPECT_EQ(gridRows(), (Strings{"chkBold|Bold text.", "cmdOK|Saves and closes.", "lblTitle|", "txtName|Your name."}));
    grid.clickColumnHeader(2);
    EXPECT_EQ(sortKeys(), (Strings{"2:-1"}));
    EXPECT_EQ(gridRows(), (Strings{"txtName|Your name.", "lblTitle|", "cmdOK|Saves and closes.", "chkBold|Bold text."}));
    grid.clickColumnHeader(2);
    EXPECT_EQ(sortKeys(), (Strings{"2:1"}));
    grid.clickColumnHeader(3);
    EXPECT_EQ(sortKeys(), (Strings{"3:1"}));
    EXPECT_EQ(gridRows(), (Strings{"lblTitle|", "chkBold|Bold text.", "cmdOK|Saves and closes.", "txtName|Your name."}));

    // The current control stays current and the text box follows the row, not the position.
    selectRow("txtName");
    EXPECT_EQ(window.txtHelpText().Text(), "Your name.");
    window.txtHelpText().SetText("A name.");
    selectRow("cmdOK");
    EXPECT_EQ(english("frmEdit", "txtName"), "A name.");
    EXPECT_EQ(english("frmEdit", "cmdOK"), "Saves and closes.");
}

TEST_F(EditorGridTest, TheReferenceLineShowsThePrimaryLanguagesTextOrSaysItIsBlank) {
    FrmWizard& window = open("English", "German");
    selectModule("frmEdit");
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (German) is \"Speichert und schließt.\"");
    selectRow("txtName");
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (German) is blank");
    selectRow("chkBold");
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (German) is \"Fetter Text.\"");
    // A module without rows leaves the line as it was.
    selectModule("frmEmpty");
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "Help text in the primary language (German) is \"Fetter Text.\"");

    // Editing the primary language itself: no reference line.
    selectModule("frmEdit");
    pickLanguage("German");
    EXPECT_EQ(window.txtPrimaryLanguage().Text(), "");
    EXPECT_EQ(window.txtHelpText().Text(), "Speichert und schließt.");
}

TEST_F(EditorGridTest, GroupingSurvivesSelectingAnotherModule) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    window.Grid().Groups().Add(1, -1, 0);
    ModMain& settings = window.settings();
    EXPECT_EQ(settings.SaveGridGroups(window.Grid()), "1:-1");
    EXPECT_EQ(gridRows(), (Strings{"txtName|Your name.", "lblTitle|", "cmdOK|Saves and closes.", "chkBold|Bold text."}));
    selectModule("frmOther");
    EXPECT_EQ(settings.SaveGridGroups(window.Grid()), "1:-1");
    selectModule("frmEmpty");
    selectModule("frmEdit");
    EXPECT_EQ(settings.SaveGridGroups(window.Grid()), "1:-1");
    EXPECT_EQ(gridRows(), (Strings{"txtName|Your name.", "lblTitle|", "cmdOK|Saves and closes.", "chkBold|Bold text."}));
}

TEST_F(EditorGridTest, BeforeAModuleIsSelectedThereIsNothingToTypeInto) {
    FrmWizard& window = open();
    EXPECT_FALSE(window.txtHelpText().Enabled()) << "typing would have no record to go to";
    EXPECT_EQ(window.txtHelpText().Text(), "");
    pickLanguage("German");
    EXPECT_FALSE(window.txtHelpText().Enabled());
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls");
    selectModule("frmOther");
    EXPECT_TRUE(window.txtHelpText().Enabled());
    EXPECT_EQ(window.txtHelpText().Text(), "");
    window.txtHelpText().SetText("Eine Notiz.");
    selectModule("frmEmpty");
    EXPECT_EQ(record("frmOther", "txtNote").GetHelpText("German"), "Eine Notiz.");
    EXPECT_EQ(english("frmOther", "txtNote"), "A note.");
}

TEST_F(EditorGridTest, TheGridsEventsWhenTheUserChangesModuleAndLanguage) {
    FrmWizard& window = open();
    selectModule("frmEdit");
    selectRow("chkBold");
    controls::Grid& grid = window.Grid();
    // Listeners after the window's own: a read the window makes in its handler comes first.
    auto log = std::make_shared<Strings>();
    grid.UnboundReadData.connect([log](int32_t index, const Variant&, controls::GridRowValues&) {
        log->push_back("read " + std::to_string(index));
    });
    grid.UnboundUpdate.connect([log](int32_t index, const Variant&, controls::GridRowValues& values) {
        log->push_back("update " + std::to_string(index) + " " + values.Value(3).toText());
    });
    grid.Change.connect([log] { log->push_back("change"); });
    grid.RowColChange.connect([log, &grid](const Variant& lastRow, int16_t lastCol) {
        log->push_back("rowcol from " + lastRow.toText() + "," + std::to_string(lastCol) + " to " +
                       std::to_string(grid.Row()) + " of " + std::to_string(grid.ItemCount()));
    });

    window.txtHelpText().SetText("Bold!");
    pickLanguage("German");
    EXPECT_EQ(*log, (Strings{"change", "update 4 Bold!", "read 4", "rowcol from 3,1 to 3 of 4"}));
    log->clear();

    window.txtHelpText().SetText("Fett!");
    selectModule("frmOther");
    EXPECT_EQ(*log, (Strings{"change", "update 4 Fett!", "read 1", "rowcol from 3,1 to 0 of 1", "read 1",
                             "rowcol from 0,1 to 0 of 1"}));
    log->clear();

    grid.clickColumnHeader(2);
    EXPECT_EQ(*log, Strings{}) << "sorting one row reads nothing new";
    EXPECT_EQ(record("frmEdit", "chkBold").GetHelpText("English"), "Bold!");
    EXPECT_EQ(record("frmEdit", "chkBold").GetHelpText("German"), "Fett!");
}

} // namespace
} // namespace corvane::test
