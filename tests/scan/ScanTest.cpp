// The project scan: stored records merged with the live controls of the project, records of
// vanished controls and modules dropped, and what a form whose controls cannot be read keeps.
#include "testsupport/addin/AddinTestFixture.h"

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
  <VBComponent ComponentName="frmA">
    <HelpItem ComponentName="frmA" ControlName="cmdGo(1)" ContextHelpID="0" ControlType="CommandButton" Caption="Go &amp;next">
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
    // frmGone left the project; the class stays in the data but is never listed.
    EXPECT_EQ(moduleNames(), (Strings{"frmA", "clsThing", "frmB", "ctlBox"}));
    EXPECT_EQ(moduleList(), (Strings{"frmA", "frmB", "ctlBox"}));
    EXPECT_EQ(window.lbxModules().ListIndex(), -1);
    // The renamed control lost its record; the timer has no WhatsThisHelpID and gets none;
    // new controls come after the stored ones; members of the array are keyed name(index).
    EXPECT_EQ(recordKeys("frmA"), (Strings{"cmdGo(1)", "txtName", "cmdGo(0)", "lblNew"}));
    EXPECT_EQ(recordKeys("ctlBox"), (Strings{"txtValue"}));
    // The project's numbers win over the stored ones; captions come from the controls.
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 9);
    EXPECT_EQ(record("frmA", "cmdGo(1)").ContextHelpID, 0);
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

} // namespace
} // namespace corvane::test
