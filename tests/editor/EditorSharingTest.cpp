// The editor beside other programs that write the same help data: Save without closing, the
// unsaved mark, a second editor told the project is open, the recovery of a killed editor's
// edits, the watch on the data file (also a code page chosen there) and a conflict put to the
// user at the save.
#include "files/ProcessMarker.h"
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataRecovery.h"
#include "settings/ModMain.h"
#include "testsupport/CodePageProjects.h"
#include "testsupport/TextTools.h"
#include "testsupport/addin/AddinTestFixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <chrono>
#include <ctime>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

class EditorSharingTest : public AddinTest {
protected:
    EditorSharingTest() { addin_->modMain().guardsSharedUse = true; }
    fs::path vbp() { return writeEditProject(dir_.path()); }
    fs::path dataFile() const { return dir_ / "ContextHelp.txt"; }
    // The data file as another program reads it.
    struct OtherProgram {
        explicit OtherProgram(const fs::path& file) : data(settings) {
            settings.newSelectedLanguages();
            data.load(file, forms, names);
        }
        ModMain settings;
        HelpDataFile data;
        ModuleRecords forms;
        NameList names;
    };
    // The text of a control as a program that reads the file now sees it.
    std::string stored(const std::string& module, const std::string& key, const std::string& language = "English") {
        OtherProgram other(dataFile());
        return other.forms.Item(module)->Item(key)->GetHelpText(language);
    }
    // Another program sets a text and saves the file.
    void otherProgramSets(const std::string& module, const std::string& key, const std::string& language,
                          const std::string& text) {
        OtherProgram other(dataFile());
        other.forms.Item(module)->Item(key)->SetHelpText(language, text);
        other.data.save(other.forms, other.names);
    }
    const controls::MessageBoxRecord* message(const std::string& title) const {
        for (const auto& shown : windows_.messages())
            if (shown.title == title)
                return &shown;
        return nullptr;
    }
};

TEST_F(EditorSharingTest, SaveWritesWithoutClosingAndTheTitleShowsTheProjectAndUnsavedEdits) {
    FrmWizard& window = openEditor(vbp());
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit");
    typeHelpText("frmEdit", "cmdOK", "Saves the order.");
    selectRow("txtName"); // commits the row
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit*");
    EXPECT_EQ(tool("save").ShortcutKey(), "Ctrl+S");

    clickTool("save");
    EXPECT_TRUE(window.loaded());
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Saves the order.");
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit");
    EXPECT_FALSE(window.hasUnsavedEdits());
    EXPECT_FALSE(fs::exists(dataFile().string() + ".recovery"));

    // A second save after another program's: both changes are in the file.
    typeHelpText("frmEdit", "chkBold", "Bold.");
    selectRow("cmdOK");
    otherProgramSets("frmOther", "txtNote", "English", "Their note.");
    clickTool("save");
    EXPECT_EQ(stored("frmEdit", "chkBold"), "Bold.");
    EXPECT_EQ(stored("frmOther", "txtNote"), "Their note.");
    EXPECT_EQ(record("frmOther", "txtNote").GetHelpText("English"), "Their note.") << "the editor shows it too";
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(EditorSharingTest, ASecondEditorIsToldWhoHasTheProjectAndOpensReadOnlyOrEditsToo) {
    const fs::path project = vbp();
    // Another editor, a real process, has the project open.
    const fs::path ready = dir_ / "ready";
    pid_t other = ::fork();
    if (other == 0) {
        auto marker = ProcessMarker::tryTake(dataFile().string() + ".inuse", "editor");
        writeFile(dir_ / "ready.tmp", marker ? "y" : "n");
        fs::rename(dir_ / "ready.tmp", ready); // the answer appears whole
        for (;;)
            ::pause();
    }
    // The other editor ends with the test, whatever the test's outcome: it holds the test's
    // output stream, which the test runner waits on.
    struct EndedWithTheTest {
        pid_t pid;
        void end() {
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
            pid = -1;
        }
        ~EndedWithTheTest() { end(); }
    } otherEditor{other};
    for (int i = 0; i < 2000 && !fs::exists(ready); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(readFile(ready), "y");

    windows_.answerNext(controls::vbYes); // read-only
    FrmWizard& window = openEditor(project);
    const auto* told = message("Project open in another editor");
    ASSERT_TRUE(told);
    EXPECT_NE(told->prompt.find("(process " + std::to_string(other) + " on "), std::string::npos) << told->prompt;
    EXPECT_TRUE(window.readOnly());
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit [read-only]");
    EXPECT_TRUE(window.txtHelpText().Locked());
    EXPECT_FALSE(tool("save").Enabled());
    EXPECT_FALSE(tool("compile").Enabled());
    const std::string before = readFile(dataFile());
    closeWithCloseBox();
    EXPECT_FALSE(window.loaded());
    EXPECT_EQ(readFile(dataFile()), before) << "a read-only editor saves nothing";

    // Taking over: edit here too; the other editor's marker stays its own.
    windows_.clearMessages();
    windows_.answerNext(controls::vbNo);
    FrmWizard& second = openEditor(project);
    EXPECT_FALSE(second.readOnly());
    typeHelpText("frmEdit", "cmdOK", "Mine.");
    selectRow("txtName");
    closeWithCloseBox();
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Mine.");
    EXPECT_EQ(ProcessMarker::holderOf(dataFile().string() + ".inuse").process, other);

    // Once that editor has ended, its marker no longer stops anyone.
    otherEditor.end();
    windows_.clearMessages();
    openEditor(project);
    EXPECT_FALSE(message("Project open in another editor"));
    EXPECT_FALSE(editor().readOnly());
    EXPECT_EQ(ProcessMarker::holderOf(dataFile().string() + ".inuse").process, ::getpid());
    closeWithCloseBox();
    EXPECT_FALSE(fs::exists(dataFile().string() + ".inuse"));
}

// kill -9 of an editor with unsaved edits: the next editor offers every one of them back.
TEST_F(EditorSharingTest, TheEditsOfAKilledEditorAreOfferedBackNamedAndRestored) {
    const fs::path project = vbp();
    const fs::path ready = dir_ / "ready";
    const std::string command = shellQuoted(CORVANE_EDIT_DRIVER) + " " + shellQuoted(project.string()) +
                                " --guard --set 'frmEdit/cmdOK/English=Killed <&> edit'" +
                                " --set 'frmOther/txtNote/German=Eine Notiz\r\nzwei Zeilen'" +
                                " --set 'frmEdit/lblTitle/English=  spaced  ' --ready " + shellQuoted(ready.string()) +
                                " --hang >/dev/null 2>&1 & echo $!";
    ToolRun started = runShell(command);
    const pid_t driver = std::stoi(started.output);
    for (int i = 0; i < 12000 && !fs::exists(ready); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const bool driverReady = fs::exists(ready);
    ::kill(driver, SIGKILL); // ended before any check, so that a failed one leaves no process behind
    for (int i = 0; i < 2000 && ::kill(driver, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(driverReady);
    ASSERT_TRUE(fs::exists(dataFile().string() + ".recovery"));
    const std::string before = readFile(dataFile());

    windows_.answerNext(controls::vbYes); // restore
    FrmWizard& window = openEditor(project);
    const auto* offered = message("Restore unsaved help text");
    ASSERT_TRUE(offered);
    // The killed editor's marker is taken over, and the offer says whose it was first.
    EXPECT_EQ(offered->prompt.rfind("The Corvane editor that had this project open (process " + std::to_string(driver) +
                                        " on ",
                                    0),
              0u)
        << offered->prompt;
    EXPECT_EQ(windows_.messages().size(), 1u);
    // Each text with its age, the saved text it replaces and its own; nothing was saved over
    // them, so restoring is the default answer.
    for (const char* line : {"These 3 unsaved texts were kept:\n  frmEdit/cmdOK (English), kept ",
                             "\n      saved:   \"Saves and closes.\"\n      unsaved: \"Killed <&> edit\"\n  frmEdit/lblTitle "
                             "(English), kept ",
                             "\n      saved:   \"\"\n      unsaved: \"  spaced  \"\n  frmOther/txtNote (German), kept ",
                             "\n      unsaved: \"Eine Notiz  zwei Zeilen\"\n\nRestore them?"})
        EXPECT_NE(offered->prompt.find(line), std::string::npos) << line << "\n" << offered->prompt;
    EXPECT_EQ(offered->style & controls::vbDefaultButton2, 0);
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("English"), "Killed <&> edit");
    EXPECT_EQ(record("frmOther", "txtNote").GetHelpText("German"), "Eine Notiz\r\nzwei Zeilen");
    EXPECT_EQ(record("frmEdit", "lblTitle").GetHelpText("English"), "  spaced  ");
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit*");
    EXPECT_EQ(readFile(dataFile()), before) << "restored, not yet saved";
    closeWithCloseBox();
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Killed <&> edit");
    EXPECT_EQ(stored("frmOther", "txtNote", "German"), "Eine Notiz\r\nzwei Zeilen");
    EXPECT_FALSE(fs::exists(dataFile().string() + ".recovery"));
    EXPECT_FALSE(fs::exists(dataFile().string() + ".lock"));
}

// A recovery file older than the data file: what was saved over after it was kept is left out,
// what nothing was saved over is offered, and where the saved text is no longer the one a kept
// text replaced, keeping the saved texts is the default answer.
TEST_F(EditorSharingTest, OnlyTextsNewerThanTheSavedFileAreOfferedAndTheSavedOnesWinByDefault) {
    const fs::path project = vbp();
    otherProgramSets("frmOther", "txtNote", "English", "Saved later.");
    const long long now = static_cast<long long>(std::time(nullptr));
    HelpDataRecovery(dataFile()).write(std::vector<RecoveredText>{
        {"frmEdit", "cmdOK", "English", "Kept, nothing saved over it", "Saves and closes.", now - 7200},
        {"frmEdit", "txtName", "English", "Kept long ago, saved over since", "An older saved text", 1000},
        {"frmOther", "txtNote", "English", "Kept after that save", "A note.", now + 60},
        {"frmEdit", "chkBold", "English", "Bold text.", "", now - 60}, // saved already
    });
    windows_.answerNext(controls::vbNo);
    openEditor(project);
    const auto* offered = message("Restore unsaved help text");
    ASSERT_TRUE(offered);
    EXPECT_NE(offered->prompt.find("These 2 unsaved texts were kept:\n  frmEdit/cmdOK (English), kept 2 hours ago\n"
                                   "      saved:   \"Saves and closes.\"\n      unsaved: \"Kept, nothing saved over it\"\n"
                                   "  frmOther/txtNote (English), kept just now\n      saved:   \"Saved later.\"\n"
                                   "      unsaved: \"Kept after that save\"\n\n"
                                   "1 older unsaved text was left out: the help data was saved with other texts for them "
                                   "after they were kept.\n\nThe help data was saved with other texts for some of them "
                                   "since they were kept.\n\nRestore them?"),
              std::string::npos)
        << offered->prompt;
    EXPECT_NE(offered->style & controls::vbDefaultButton2, 0) << "No, keeping the saved texts, is the default";
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("English"), "Saves and closes.");
    EXPECT_EQ(record("frmOther", "txtNote").GetHelpText("English"), "Saved later.");
    EXPECT_FALSE(fs::exists(dataFile().string() + ".recovery"));
}

// The text in the Help Text box counts before its row is left: the title's mark, the recovery
// file, and every command see it.
TEST_F(EditorSharingTest, TheTextBeingTypedIsAnUnsavedChangeThatRecoveryAndTheCommandsSee) {
    FrmWizard& window = openEditor(vbp());
    typeHelpText("frmEdit", "cmdOK", "Still in the box.");
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit*");
    windows_.advance(3000);
    windows_.runPendingEvents();
    const std::vector<RecoveredText> kept = HelpDataRecovery(dataFile()).read();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].text, "Still in the box.");
    EXPECT_EQ(kept[0].replaced, "Saves and closes.");
    EXPECT_NEAR(static_cast<double>(kept[0].keptSince), static_cast<double>(std::time(nullptr)), 5.0);
    // Typed again, then any command of the toolbar takes it as it stands.
    typeHelpText("frmEdit", "chkBold", "Typed, then checked.");
    clickTool("cardview");
    EXPECT_EQ(record("frmEdit", "chkBold").GetHelpText("English"), "Typed, then checked.");
    closeWithCloseBox();
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Still in the box.");
    EXPECT_EQ(stored("frmEdit", "chkBold"), "Typed, then checked.");
}

TEST_F(EditorSharingTest, AnotherProgramsSaveIsAnnouncedOnceAndLoadedBesideTheOwnEdits) {
    FrmWizard& window = openEditor(vbp());
    typeHelpText("frmEdit", "cmdOK", "Mine.");
    selectRow("txtName");
    windows_.advance(2000);
    windows_.DoEvents();
    EXPECT_FALSE(message("Help data changed on disk")) << "nothing changed yet";

    otherProgramSets("frmEdit", "txtName", "English", "Their name.");
    otherProgramSets("frmEdit", "cmdOK", "German", "Ihr OK.");
    windows_.answerNext(controls::vbYes); // load the changes
    windows_.advance(2000);
    windows_.DoEvents();
    ASSERT_EQ(windows_.messages().size(), 2u);
    // The question, then which texts the other version changed here.
    EXPECT_EQ(windows_.messages()[1].title, "Help data changed on disk");
    EXPECT_EQ(windows_.messages()[1].prompt, "These texts were loaded from the other program's version:\n"
                                             "  frmEdit/cmdOK (German)\n  frmEdit/txtName (English)");
    EXPECT_EQ(record("frmEdit", "txtName").GetHelpText("English"), "Their name.");
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("German"), "Ihr OK.");
    EXPECT_EQ(record("frmEdit", "cmdOK").GetHelpText("English"), "Mine.");
    EXPECT_EQ(gridRows()[1], "txtName|Their name.");
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit*") << "the own edit is still unsaved";

    // Told once per version: declined, the same version is not announced again.
    windows_.clearMessages();
    otherProgramSets("frmOther", "txtNote", "English", "Another note.");
    windows_.answerNext(controls::vbNo);
    for (int i = 0; i < 3; ++i) {
        windows_.advance(2000);
        windows_.DoEvents();
    }
    EXPECT_EQ(windows_.messages().size(), 1u);
    closeWithCloseBox(); // the save merges what was not loaded
    EXPECT_EQ(stored("frmOther", "txtNote"), "Another note.");
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Mine.");
    EXPECT_EQ(stored("frmEdit", "txtName"), "Their name.");
}

TEST_F(EditorSharingTest, ACodePageChosenByAnotherProgramReadsTheProjectAgainWhenItsSaveIsLoaded) {
    // A Korean project whose data file says Western: its names read garbled.
    const CodePageProject& korean = codePageProjects().at(3);
    const fs::path project = writeCodePageProject(korean, dir_.path());
    writeFile(dataFile(), "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" CodePage=\"1252\">"
                          "<SelectedLanguage Name=\"English\"/><VBComponent ComponentName=\"frmMain\"><HelpItem "
                          "ComponentName=\"frmMain\" ControlName=\"cmdCancel\" ContextHelpID=\"0\" "
                          "ControlType=\"CommandButton\" Caption=\"\"><HelpText Language=\"English\">Cancels."
                          "</HelpText></HelpItem></VBComponent></Root>\n");
    FrmWizard& window = openEditor(project);
    ASSERT_EQ(window.VBP()->codePage(), 1252);
    EXPECT_NE(record("frmMain", "cmdCancel").Caption, korean.cancelCaption);

    // Another program (corvane scan --codepage 949 --save) chooses Korean.
    ModMain settings;
    settings.newSelectedLanguages();
    HelpDataFile file(settings);
    ModuleRecords forms;
    NameList names;
    file.load(dataFile(), forms, names);
    settings.codePage = 949;
    file.save(forms, names);
    windows_.answerNext(controls::vbYes); // load the changes
    windows_.advance(2000);
    windows_.DoEvents();
    ASSERT_TRUE(message("Help data changed on disk"));
    EXPECT_EQ(window.VBP()->codePage(), 949);
    EXPECT_EQ(window.VBP()->Name(), korean.projectName);
    EXPECT_EQ(record("frmMain", "cmdCancel").Caption, korean.cancelCaption);
    EXPECT_EQ(record("frmMain", "cmdCancel").GetHelpText("English"), "Cancels.");
    EXPECT_EQ(moduleList(), std::vector<std::string>{"frmMain"});
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(EditorSharingTest, ATextChangedThereAndHereIsPutToTheUserBeforeAnythingIsOverwritten) {
    FrmWizard& window = openEditor(vbp());
    typeHelpText("frmEdit", "cmdOK", "Mine.");
    selectRow("txtName");
    otherProgramSets("frmEdit", "cmdOK", "English", "Theirs.");
    const std::string theirs = readFile(dataFile());

    windows_.answerNext(controls::vbNo); // the watch: not now
    windows_.answerNext(controls::vbCancel);
    windows_.advance(2000);
    windows_.DoEvents();
    closeWithCloseBox();
    const auto* asked = message("Help text changed elsewhere");
    ASSERT_TRUE(asked);
    EXPECT_NE(asked->prompt.find("frmEdit/cmdOK (English)"), std::string::npos) << asked->prompt;
    EXPECT_TRUE(window.loaded()) << "cancelled: the window stays open with the edits";
    EXPECT_EQ(readFile(dataFile()), theirs);

    windows_.answerNext(controls::vbYes); // keep mine
    closeWithCloseBox();
    EXPECT_FALSE(window.loaded());
    EXPECT_EQ(stored("frmEdit", "cmdOK"), "Mine.");
    EXPECT_TRUE(reports_.reports().empty());
}

} // namespace
} // namespace corvane::test
