// The project scan: stored records merged with the live controls of the project, the text of
// vanished controls and modules kept, and what a form whose controls cannot be read keeps.
#include "testsupport/addin/AddinTestFixture.h"

#include "controls/BusyWindow.h"
#include "controls/HeadlessWindowSystem.h"
#include "settings/ModMain.h"

#include "vbide/VBProject.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

using Strings = std::vector<std::string>;

// What the close writes for the stored data after the scan.
const char* const SavedData =
    R"x(<?xml version="1.0" encoding="UTF-8"?>
<Root CurrentLanguage="English" PrimaryLanguage="English" GenerateHTML="True" CompileHTML="True" GenerateWinHelp="False" CompileWinHelp="False">
  <SelectedLanguage Name="English" />
  <VBComponent ComponentName="frmGone">
    <HelpItem ComponentName="frmGone" ControlName="cmdX" ContextHelpID="1" ControlType="CommandButton" Caption="X">
      <HelpText Language="English">gone</HelpText>
    </HelpItem>
  </VBComponent>
  <VBComponent ComponentName="frmA">
    <HelpItem ComponentName="frmA" ControlName="txtOldName" ContextHelpID="2" ControlType="TextBox" Caption="">
      <HelpText Language="English">renamed</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmA" ControlName="cmdGo(1)" ContextHelpID="5" ControlType="CommandButton" Caption="Go &amp;next">
      <HelpText Language="English">next</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmA" ControlName="txtName" ContextHelpID="9" ControlType="TextBox" Caption="">
      <HelpText Language="English">name</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmA" ControlName="cmdGo(0)" ContextHelpID="4" ControlType="CommandButton" Caption="Go &amp;first" />
    <HelpItem ComponentName="frmA" ControlName="lblNew" ContextHelpID="7" ControlType="Label" Caption="New" />
  </VBComponent>
  <VBComponent ComponentName="clsThing">
    <HelpItem ComponentName="clsThing" ControlName="x" ContextHelpID="0" ControlType="" Caption="" />
  </VBComponent>
  <VBComponent ComponentName="frmB">
    <HelpItem ComponentName="frmB" ControlName="chkSeven" ContextHelpID="7" ControlType="CheckBox" Caption="Seven" />
  </VBComponent>
  <VBComponent ComponentName="ctlBox">
    <HelpItem ComponentName="ctlBox" ControlName="txtValue" ContextHelpID="0" ControlType="TextBox" Caption="" />
  </VBComponent>
</Root>
)x";

// The form file with the lines of `names`' WhatsThisHelpID removed (CR LF line ends).
std::string withoutHelpIds(std::string form, const Strings& lineStarts) {
    for (const std::string& start : lineStarts) {
        auto at = form.find(start);
        EXPECT_NE(at, std::string::npos) << start;
        auto end = form.find('\n', form.find("WhatsThisHelpID", at));
        auto lineBegin = form.rfind('\n', form.find("WhatsThisHelpID", at)) + 1;
        form.erase(lineBegin, end + 1 - lineBegin);
    }
    std::string crlf;
    for (char c : form) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    return crlf;
}

class ScanTest : public AddinTest {};

TEST_F(ScanTest, MergesStoredRecordsWithTheLiveControls) {
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\n");
    writeFile(dir_ / "ContextHelp.txt", SmallStoredData);
    FrmWizard& window = openEditor(vbp);

    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_TRUE(reports_.reports().empty());
    // frmGone left the project: kept for its text and listed at once, after the project's
    // modules, its entries marked removed; the class is kept but never listed.
    EXPECT_EQ(moduleNames(), (Strings{"frmGone", "frmA", "clsThing", "frmB", "ctlBox"}));
    EXPECT_EQ(moduleList(), (Strings{"frmA", "frmB", "ctlBox", "frmGone"}));
    EXPECT_EQ(window.lbxModules().ListIndex(), -1);
    selectModule("frmGone");
    EXPECT_EQ(window.Grid().cellValue(0, 1).toText(), "CommandButton - removed");
    selectModule("frmA");
    // The renamed control's record is kept for its text, without a control; the timer has no
    // WhatsThisHelpID and gets none; new controls come after the stored ones; members of the
    // array are keyed name(index).
    EXPECT_EQ(recordKeys("frmA"), (Strings{"txtOldName", "cmdGo(1)", "txtName", "cmdGo(0)", "lblNew"}));
    EXPECT_TRUE(record("frmA", "txtOldName").gone);
    EXPECT_EQ(window.scanResult().keptRecords, (Strings{"frmA/txtOldName"}));
    EXPECT_EQ(window.scanResult().keptModules, (Strings{"frmGone"}));
    EXPECT_EQ(recordKeys("ctlBox"), (Strings{"txtValue"}));
    // The project's numbers win over the stored ones, but for one stored for a control with
    // text whose form shows none; captions come from the controls.
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 9);
    EXPECT_EQ(record("frmA", "cmdGo(1)").ContextHelpID, 5);
    EXPECT_EQ(record("frmA", "cmdGo(1)").Caption, "Go &next");
    EXPECT_EQ(record("frmA", "cmdGo(1)").GetHelpText("English"), "next");
    EXPECT_EQ(record("frmA", "txtName").Caption, "");
    EXPECT_EQ(record("frmA", "cmdGo(0)").ControlType, "CommandButton");
    EXPECT_FALSE(record("frmA", "cmdGo(0)").HasHelpText());
    EXPECT_EQ(record("frmA", "lblNew").ContextHelpID, 7);
    EXPECT_EQ(record("frmB", "chkSeven").ContextHelpID, 7);
    EXPECT_EQ(window.highestId(), 9);
    EXPECT_TRUE(record("frmA", "lblNew").Tag);
    EXPECT_FALSE(record("clsThing", "x").Tag);

    closeWithCloseBox();
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), SavedData);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "ContextHelp.txt.tmp"));

    // Records without text gave their controls' numbers up; the host writes that on save.
    ASSERT_GT(ide_->ActiveVBProject()->save(), 0);
    EXPECT_EQ(readFile(dir_ / "frmA.frm"), withoutHelpIds(SmallFormA, {"cmdGo \n      Caption         =   \"Go &first\"",
                                                                       "lblNew"}));
    EXPECT_EQ(readFile(dir_ / "frmB.frm"), withoutHelpIds(SmallFormB, {"chkSeven"}));
}

TEST_F(ScanTest, AFormWhoseControlsCannotBeReadKeepsItsStoredRecords) {
    auto vbp = copyExample();
    const auto folder = vbp.parent_path();
    std::filesystem::remove(folder / "frmAbout.frm");
    std::string before = readFile(folder / "ContextHelp.txt");
    openEditor(vbp);

    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "Error loading control");
    EXPECT_NE(windows_.messages()[0].prompt.find("named 'frmAbout'"), std::string::npos)
        << windows_.messages()[0].prompt;
    EXPECT_TRUE(reports_.reports().empty());
    // The form is still listed, with every stored record and text, and no live control.
    EXPECT_EQ(moduleList(), (Strings{"mdiMain", "frmMain", "frmOrder", "frmCustomer", "frmAbout", "ctlAddress",
                                     "ppgAddress", "docOrderStatus"}));
    EXPECT_EQ(recordKeys("frmAbout"),
              (Strings{"picIcon", "lblTitle", "lblVersion", "lblDisclaimer", "cmdOK", "cmdSysInfo"}));
    EXPECT_EQ(record("frmAbout", "cmdSysInfo").GetHelpText("English"),
              "Shows information about your computer that our support may ask you for.");
    EXPECT_EQ(record("frmAbout", "cmdSysInfo").Control(), nullptr);
    // The other forms were read.
    EXPECT_NE(record("frmCustomer", "txtPhone").Control(), nullptr);

    closeWithCloseBox();
    ASSERT_TRUE(reports_.reports().empty());
    auto element = [](const std::string& text) {
        auto begin = text.find("<VBComponent ComponentName=\"frmAbout\">");
        return text.substr(begin, text.find("</VBComponent>", begin) - begin);
    };
    std::string after = readFile(folder / "ContextHelp.txt");
    EXPECT_EQ(element(after), element(before));
}

// A window system whose message boxes fail: a stand-in for any fault inside the scan.
class FailingMessages : public controls::HeadlessWindowSystem {
public:
    int MsgBox(std::string_view prompt, int, std::string_view) override {
        throw std::runtime_error("the message box failed: " + std::string(prompt.substr(0, 20)));
    }
};

// A scan that fails is reported, and its busy window does not stay up over the report.
TEST_F(ScanTest, AFailedScanIsReportedAndTakesItsBusyWindowDown) {
    auto vbp = copyExample();
    std::filesystem::remove(vbp.parent_path() / "frmAbout.frm"); // its scan shows a message
    FailingMessages failing;
    {
        controls::WindowSystemScope scope(failing);
        openEditor(vbp);
    }
    ASSERT_EQ(reports_.reports().size(), 1u);
    EXPECT_NE(reports_.reports()[0].description.toText().find("occured in VBInstance (set)"), std::string::npos)
        << reports_.reports()[0].description.toText();
    EXPECT_FALSE(addin_->modMain().Busy->Visible());
}

TEST_F(ScanTest, ADataFileInTheFolderButNotInTheProjectIsAddedAsItIs) {
    auto vbp = writeSmallProject(dir_.path());
    writeFile(dir_ / "ContextHelp.txt", SmallStoredData);
    openEditor(vbp);

    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), SmallStoredData);
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "name");
    auto project = ide_->ActiveVBProject();
    int related = 0;
    for (const auto& component : project->VBComponents())
        if (component->Type() == 10 && component->FileNames(1) == (dir_ / "ContextHelp.txt").string())
            ++related;
    EXPECT_EQ(related, 1);

    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), SavedData);
    project->save();
    EXPECT_NE(readFile(vbp).find("RelatedDoc=ContextHelp.txt\r\n"), std::string::npos);
}

// Stored data of the small project where txtName was stored as txtFormer (the same context
// number) and chkOld is gone too.
const char* const RenamedData =
    R"x(<Root CurrentLanguage="English" PrimaryLanguage="English">
  <SelectedLanguage Name="English" />
  <VBComponent ComponentName="frmA">
    <HelpItem ComponentName="frmA" ControlName="txtFormer" ContextHelpID="9" ControlType="TextBox" Caption=""><HelpText Language="English">The name.</HelpText><HelpText Language="German">Der Name.</HelpText></HelpItem>
    <HelpItem ComponentName="frmA" ControlName="chkOld" ContextHelpID="3" ControlType="CheckBox" Caption=""><HelpText Language="English">Old box.</HelpText></HelpItem>
  </VBComponent>
</Root>
)x";

// A renamed control gets its text back when the user agrees; the gone entries are shown in the
// grid, marked, and kept in the file until their text is cleared.
TEST_F(ScanTest, ARenamedControlIsOfferedItsTextAndTheGoneOnesStayMarkedInTheGrid) {
    addin_->modMain().guardsSharedUse = true; // a person at the desktop is asked
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\n");
    writeFile(dir_ / "ContextHelp.txt", RenamedData);
    windows_.answerNext(controls::vbYes);
    FrmWizard& window = openEditor(vbp);

    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "Renamed controls");
    EXPECT_NE(windows_.messages()[0].prompt.find("\n  frmA: txtFormer -> txtName\n"), std::string::npos)
        << windows_.messages()[0].prompt;
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "The name.");
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("German"), "Der Name.");
    EXPECT_EQ(recordKeys("frmA"), (Strings{"chkOld", "txtName", "cmdGo(0)", "cmdGo(1)", "lblNew"}));
    EXPECT_TRUE(window.hasUnsavedEdits());
    // chkOld has no counterpart: it stays, marked, and the grid shows it.
    selectModule("frmA");
    EXPECT_EQ(gridRows()[0], "chkOld|Old box.");
    EXPECT_EQ(window.Grid().cellValue(0, 1).toText(), "CheckBox - removed");

    closeWithCloseBox();
    std::string saved = readFile(dir_ / "ContextHelp.txt");
    EXPECT_NE(saved.find("ControlName=\"chkOld\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("txtFormer"), std::string::npos) << saved;

    // Cleared, a gone entry holds nothing to keep: the next scan lets it go.
    clickMenu();
    typeHelpText("frmA", "chkOld", "");
    selectRow("txtName");
    closeWithCloseBox();
    clickMenu();
    EXPECT_EQ(recordKeys("frmA"), (Strings{"txtName", "cmdGo(0)", "cmdGo(1)", "lblNew"}));
}

// Two designers of one module name (in any letter case, as VB compares names): the second is
// named and left out; nothing of the first is lost, and the second's file is not touched.
TEST_F(ScanTest, ASecondDesignerOfAModuleNameIsLeftOutAndNamed) {
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\nForm=frmCopy.frm\nForm=frmUpper.frm\n");
    writeFile(dir_ / "ContextHelp.txt", SmallStoredData);
    std::string copy = SmallFormA; // a copy of frmA's designer, as a merge of two branches leaves it
    copy.replace(copy.find("WhatsThisHelpID =   9"), 21, "WhatsThisHelpID =   5");
    writeCrLf(dir_ / "frmCopy.frm", copy);
    std::string upper = copy;
    const std::string name = "Attribute VB_Name = \"frmA\"";
    upper.replace(upper.find(name), name.size(), "Attribute VB_Name = \"FRMA\"");
    writeCrLf(dir_ / "frmUpper.frm", upper);
    const std::string copyBefore = readFile(dir_ / "frmCopy.frm");
    FrmWizard& window = openEditor(vbp);

    ASSERT_EQ(windows_.messages().size(), 2u);
    EXPECT_EQ(windows_.messages()[0].title, "Module listed twice");
    EXPECT_NE(windows_.messages()[0].prompt.find("The designer in 'frmCopy.frm' names the module 'frmA'"),
              std::string::npos)
        << windows_.messages()[0].prompt;
    EXPECT_EQ(window.scanResult().repeatedModules, (Strings{"frmA (frmCopy.frm)", "FRMA (frmUpper.frm)"}));
    EXPECT_EQ(moduleList(), (Strings{"frmA", "frmB", "ctlBox", "frmGone"}));
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 9) << "the first designer's number";
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "name");

    window.CreateHelpFiles();
    closeWithCloseBox();
    ide_->ActiveVBProject()->save();
    EXPECT_EQ(readFile(dir_ / "frmCopy.frm"), copyBefore);
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">name</HelpText>"), std::string::npos);
}

} // namespace
} // namespace corvane::test
