// GetCompilerPath and GetFileName: the association lookup in any letter case, the file
// dialog when the association does not name the workshop, and the association rewritten so
// that the next lookup succeeds without asking.
#include "controls/FileDialog.h"
#include "generate/CompilerLocation.h"
#include "generate/GenerateTestFixture.h"
#include "testsupport/ScopedEnvironment.h"

namespace corvane::test {
namespace {

const char* const HtmlCommandKey = "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command";
const char* const WinHelpCommandKey = "SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command";

class CompilerLocation : public GenerateTest {
protected:
    FrmWizard& wizard() {
        if (!addin_)
            openEditor(copyExample("Project"));
        windows_.clearMessages();
        return editor();
    }
    std::string association(const char* key) { return registry().GetValue(RegistryRoot::LocalMachine, key, ""); }
    // An executable file at `path`, its folders made.
    static void makeProgram(const std::string& path) {
        writeFile(path, "#!/bin/sh\n");
        fs::permissions(path, fs::perms::owner_all);
    }
};

TEST_F(CompilerLocation, AssociationNamingTheWorkshopInAnyCaseKeepsTheRestOfItsSpelling) {
    FrmWizard& w = wizard();
    const std::string opt = (dir_ / "Opt").string();
    makeProgram(opt + "/HTML Help Workshop/hhc.exe");
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "",
                        "\"" + opt + "/HTML Help Workshop/HHW.EXE\" %1 --log " + opt + "/Hhw.Exe.log");
    EXPECT_EQ(w.GetCompilerPath(true), "\"" + opt + "/HTML Help Workshop/hhc.exe\" %1 --log " + opt + "/hhc.exe.log");
    makeProgram(opt + "/Tools/hcrtf.exe");
    registry().SetValue(RegistryRoot::LocalMachine, WinHelpCommandKey, "", opt + "/Tools/HCW.exe \"%1\"");
    EXPECT_EQ(w.GetCompilerPath(false), opt + "/Tools/hcrtf.exe \"%1\"");
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_TRUE(windows_.fileDialogs().empty());
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(CompilerLocation, AssociationWhoseProgramIsGoneLeadsToTheFrontEndOrAsks) {
    FrmWizard& w = wizard();
    const std::string gone = (dir_ / "Old Compilers" / "hhw.exe").string();
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", "\"" + gone + "\" %1");
    const fs::path frontEnd = fs::path(CORVANE_HHC).parent_path().make_preferred(); // as the program names it
    EXPECT_EQ(w.GetCompilerPath(true), "\"" + (frontEnd / "hhc.exe").string() + "\" %1");
    EXPECT_EQ(association(HtmlCommandKey), "\"" + (frontEnd / "hhw.exe").string() + "\" %1");
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_TRUE(windows_.fileDialogs().empty());

    // An association of another program that is gone goes the same way; one that exists is
    // the user's choice and is asked about.
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", "/nowhere/editor.exe %1");
    EXPECT_EQ(w.GetCompilerPath(true), "\"" + (frontEnd / "hhc.exe").string() + "\" %1");
    makeProgram((dir_ / "editor.exe").string());
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", (dir_ / "editor.exe").string() + " %1");
    windows_.answerFileDialogNext(std::nullopt);
    EXPECT_EQ(w.GetCompilerPath(true), "");
    EXPECT_EQ(windows_.messages().size(), 1u);

    // Without a front end (and for WinHelp, which has none) the user is asked, as for any
    // association that leads to no compiler; nothing is written.
    windows_.clearMessages();
    ScopedEnvironment noFrontEnd("CORVANE_HELP_COMPILERS", (dir_ / "empty").string());
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", "\"" + gone + "\" %1");
    registry().SetValue(RegistryRoot::LocalMachine, WinHelpCommandKey, "", "/gone/hcw.exe %1");
    windows_.answerFileDialogNext(std::nullopt);
    windows_.answerFileDialogNext(std::nullopt);
    EXPECT_EQ(w.GetCompilerPath(true), "");
    EXPECT_EQ(w.GetCompilerPath(false), "");
    EXPECT_EQ(windows_.messages().size(), 2u);
    EXPECT_EQ(association(HtmlCommandKey), "\"" + gone + "\" %1");
    EXPECT_EQ(association(WinHelpCommandKey), "/gone/hcw.exe %1");
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(CompilerLocation, ReplacedAssociationIsNotedInTheCompileLogOnceWithTheCompilersMessages) {
    FrmWizard& w = wizard();
    const fs::path gone = dir_ / "Old Compilers";
    const std::string note = "Note: The HTML Help compiler \"" + (gone / "hhc.exe").string() +
                             "\" named by the association of HTML Help project files no longer exists; the "
                             "association now names the compiler front end \"" +
                             (fs::path(CORVANE_HHC).parent_path().make_preferred() / "hhc.exe").string() + "\".\n";
    compile(true, false);
    settings().mGenerateWinHelp = false;
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", "\"" + (gone / "HHW.exe").string() + "\" %1");
    w.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    ASSERT_EQ(logs_.size(), 1u);
    EXPECT_EQ(logs_[0], note);
    EXPECT_TRUE(fs::exists(generated("German", "OrderEntry_Context.chm")));
    EXPECT_EQ(windows_.messages().back().title, "Help projects created");

    // With compiler messages to show, the note leads their log and is not shown again.
    logs_.clear();
    windows_.clearMessages();
    registry().SetValue(RegistryRoot::LocalMachine, HtmlCommandKey, "", "\"" + (gone / "HHW.exe").string() + "\" %1");
    record("frmMain", "cmdOpen").SetHelpText("English", "Opens the order \xE2\x86\x92 edit.");
    windows_.answerNext(controls::vbOK);
    windows_.answerNext(controls::vbYes);
    w.CreateHelpFiles();
    ASSERT_EQ(logs_.size(), 1u);
    EXPECT_TRUE(logs_[0].starts_with(note + "Writing CHM")) << logs_[0];
    EXPECT_NE(logs_[0].find("U+2192"), std::string::npos);
    EXPECT_EQ(windows_.messages().back().title, "Help projects created");
}

TEST_F(CompilerLocation, ChosenCompilerRewritesTheAssociationAndTheNextLookupDoesNotAsk) {
    FrmWizard& w = wizard();
    registry().SetValue(RegistryRoot::LocalMachine, WinHelpCommandKey, "", "notepad.exe %1");
    const std::string opt = (dir_ / "Opt").string();
    const std::string chosen = opt + "/My hcrtf.exe Tools/hcrtf.exe";
    makeProgram(chosen);
    windows_.answerFileDialogNext(chosen);
    EXPECT_EQ(w.GetCompilerPath(false), "\"" + chosen + "\" %1");
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].prompt,
              "The file associated with Winhelp project files (.hpj) is not the Microsoft WinHelp compiler "
              "(hcrtf.exe).  Please identify the location of the WinHelp compiler using the following dialog box.");
    EXPECT_EQ(windows_.messages()[0].title, "WinHelp Compiler");
    EXPECT_EQ(windows_.messages()[0].style, controls::vbExclamation);
    // Every occurrence of the compiler's name becomes the workshop's, the folder's too.
    EXPECT_EQ(association(WinHelpCommandKey), "\"" + opt + "/My hcw.exe Tools/hcw.exe\" %1");
    EXPECT_TRUE(registry().KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\hpjfiletype\\shell\\open"));

    windows_.clearMessages();
    EXPECT_EQ(w.GetCompilerPath(false), "\"" + chosen + "\" %1");
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_EQ(windows_.fileDialogs().size(), 1u);
}

TEST_F(CompilerLocation, CancelledDialogLocatesNothingAndWritesNothing) {
    FrmWizard& w = wizard();
    windows_.answerFileDialogNext(std::nullopt);
    EXPECT_EQ(w.GetCompilerPath(true), "");
    EXPECT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "HTML Help Compiler");
    EXPECT_FALSE(registry().KeyExists(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\hhp.file"));
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(CompilerLocation, GetFileNameSetsTheDialogAndKeepsOtherFlags) {
    wizard();
    controls::FileDialog dialog;
    dialog.SetFlags(0x1004);
    windows_.answerFileDialogNext("/picked/file.exe");
    EXPECT_EQ(GetFileName(dialog, "Pick", "All (*.*)|*.*", "/start/here/old.exe", false), "/picked/file.exe");
    ASSERT_EQ(windows_.fileDialogs().size(), 1u);
    const auto& shown = windows_.fileDialogs()[0];
    EXPECT_EQ(shown.title, "Pick");
    EXPECT_EQ(shown.filter, "All (*.*)|*.*");
    EXPECT_EQ(shown.initDir, "/start/here/");
    EXPECT_EQ(shown.fileName, "old.exe");
    EXPECT_EQ(shown.flags, 0x0004);
    EXPECT_EQ(shown.okCaption, "Select");

    windows_.answerFileDialogNext(std::nullopt);
    EXPECT_EQ(GetFileName(dialog, "Pick", "", "", true), "");
    EXPECT_EQ(windows_.fileDialogs()[1].initDir, "");
    EXPECT_EQ(windows_.fileDialogs()[1].fileName, "");
    EXPECT_EQ(windows_.fileDialogs()[1].flags, 0x1004);
    EXPECT_TRUE(dialog.Cancelled());
}

} // namespace
} // namespace corvane::test
