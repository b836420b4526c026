// The help file creation run on the example project: compiling with the real chmcmd behind
// the association, the stand-in WinHelp compiler's two outcomes, compilers that are not
// located, encoding warnings in the compile log, and what the run writes into the project.
#include "generate/GenerateTestFixture.h"

#include "generate/CompileLock.h"
#include "generate/TextReplace.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TextTools.h"
#include "vbide/VBControl.h"

namespace corvane::test {
namespace {

class GenerateRun : public GenerateTest {};

TEST_F(GenerateRun, CompilesWithChmcmdAndPlacesThePrimaryHelpFileBesideTheProject) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(true, false);
    settings().mGenerateWinHelp = false;
    busy().clearStates();
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_TRUE(logs_.empty()) << logs_.front();
    EXPECT_FALSE(somethingWasExecuted());

    for (const std::string language : {"English", "German"}) {
        fs::path chm = generated(language, "OrderEntry_Context.chm");
        ASSERT_TRUE(fs::exists(chm)) << language;
        EXPECT_NE(runTool("chmls -n list " + quotedArgument(chm.string())).find("/OrderEntry_ContextTopics.txt"),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(generated(language, "OrderEntry_Context.hpj")));
    }
    EXPECT_EQ(readFile(fs::path(projectDir()) / "OrderEntry_Context.chm"),
              readFile(generated("English", "OrderEntry_Context.chm")));
    EXPECT_EQ(registry().GetValue(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\HTML Help",
                                  "OrderEntry_Context.chm"),
              projectDir());
    EXPECT_EQ(project_->HelpFile(), "OrderEntry_Context.chm::/OrderEntry_contexttopics.txt");
    EXPECT_EQ(windows_.messages().back().prompt,
              "2 Help projects were created and compiled in the directory  '" + projectDir() + "Corvane'");

    const auto& states = busy().states();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front().title, "Creating Help files");
    EXPECT_EQ(states.front().message, "Initialising");
    EXPECT_TRUE(states.front().showProgress);
    EXPECT_EQ(states.front().max, 2);
    EXPECT_EQ(states.front().ownerHandle, wizard.hWnd());
    std::vector<std::string> shown;
    for (const auto& state : states)
        if (shown.empty() || shown.back() != state.message)
            shown.push_back(state.message);
    EXPECT_EQ(shown, (std::vector<std::string>{"Initialising", "Creating English language Help file (1 of 2)",
                                               "Creating German language Help file (2 of 2)",
                                               "Updating Control properties", "Saving Help data",
                                               "Saving the project's forms"}));
    EXPECT_FALSE(states.back().visible);
    EXPECT_EQ(states.back().value, 2);
}

TEST_F(GenerateRun, WinHelpStandInProducesTheHelpFileOrTheRunAsksWhetherToGoOn) {
    installFakeWinHelpCompiler();
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, true);
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_FALSE(somethingWasExecuted());
    EXPECT_EQ(readFile(generated("German", "OrderEntry_Context.hlp")), "fake help\n");
    EXPECT_EQ(readFile(fs::path(projectDir()) / "OrderEntry_Context.hlp"), "fake help\n");
    EXPECT_EQ(registry().GetValue(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\Help",
                                  "OrderEntry_Context.hlp"),
              projectDir());
    EXPECT_EQ(project_->HelpFile(), "OrderEntry_Context.hlp");
    EXPECT_EQ(windows_.messages().size(), 1u);

    // The next run fails: the old help file was deleted first, so the failure is seen, and
    // No ends the run before the second language and before any property changes.
    ScopedEnvironment failing("CORVANE_FAKE_HCRTF_FAIL", "1");
    windows_.clearMessages();
    record("frmAbout", "cmdOK").SetHelpText("English", "Closes the window.");
    wizard.CreateHelpFiles();
    EXPECT_FALSE(fs::exists(generated("English", "OrderEntry_Context.hlp")));
    EXPECT_TRUE(fs::exists(generated("German", "OrderEntry_Context.hlp")));
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "WinHelp Compilation");
    EXPECT_EQ(windows_.messages()[0].style, controls::vbYesNo + controls::vbExclamation);
    EXPECT_EQ(windows_.messages()[0].answer, controls::vbNo);
    EXPECT_FALSE(busy().Visible());
    // The new number went into the control at generation; the property pass did not run.
    EXPECT_EQ(record("frmAbout", "cmdOK").ContextHelpID, 43);
    EXPECT_EQ(project_->VBComponents().Item("frmAbout")->Properties().Item("WhatsThisHelp").Value().toBool(), true);
}

TEST_F(GenerateRun, CompilersNotLocatedAreReportedAndTheProjectsAreStillWritten) {
    ScopedEnvironment noFrontEnd("CORVANE_HELP_COMPILERS", (dir_ / "no compilers here").string());
    FrmWizard& wizard = openEditor(copyExample());
    compile(true, true);
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    std::vector<std::string> titles;
    for (const auto& message : windows_.messages())
        titles.push_back(message.title);
    // No WinHelp compiler is associated: one message says so, without asking for the file.
    EXPECT_EQ(titles, (std::vector<std::string>{"HTML Help Compiler", "HTML Help Compiler not located",
                                                "Winhelp compiler not located", "Help projects created"}));
    EXPECT_EQ(windows_.messages()[1].prompt,
              "The HTML Help Compiler was not located.  Help projects will be generated but not compiled.");
    EXPECT_EQ(windows_.messages()[2].prompt,
              "The Winhelp compiler was not located.  WinHelp projects will be generated but not compiled: no WinHelp "
              "compiler (hcrtf.exe) is associated with WinHelp project files (.hpj). Turn off \"Compile generated "
              "WinHelp files\" in the options not to be told again.");
    // The compiled files were asked for and not made: the end says which, and claims no compile.
    EXPECT_EQ(windows_.messages().back().prompt,
              "2 Help projects were created in the directory  '" + projectDir() +
                  systemSeparators("Corvane'\n\nProduced:\n  English/OrderEntry_Context.hhp\n  English/OrderEntry_Context.hpj\n"
                  "  German/OrderEntry_Context.hhp\n  German/OrderEntry_Context.hpj\n\nNot produced:\n  English/OrderEntry_Context.chm\n"
                  "  English/OrderEntry_Context.hlp\n  German/OrderEntry_Context.chm\n  German/OrderEntry_Context.hlp"));
    EXPECT_EQ(windows_.messages().back().style, controls::vbExclamation | controls::vbOKOnly);
    ASSERT_EQ(windows_.fileDialogs().size(), 1u);
    const auto& dialog = windows_.fileDialogs()[0];
    EXPECT_EQ(dialog.title, "HTML Help Compiler");
    EXPECT_EQ(dialog.filter, "HTML Help Compiler (hhc.exe)|hhc.exe");
    EXPECT_EQ(dialog.okCaption, "Select");
    EXPECT_EQ(dialog.flags & 0x1000, 0x1000);

    // An association that names another program than the workshop is still corrected by the user.
    registry().SetValue(RegistryRoot::LocalMachine, "SOFTWARE\\Classes\\hpjfiletype\\shell\\open\\command", "",
                        "notepad.exe %1");
    windows_.clearMessages();
    compile(false, true);
    wizard.CreateHelpFiles();
    ASSERT_EQ(windows_.fileDialogs().size(), 2u);
    EXPECT_EQ(windows_.fileDialogs()[1].filter, "WinHelp Compiler (hcrtf.exe)|hcrtf.exe");
    EXPECT_EQ(windows_.messages().front().title, "WinHelp Compiler");
    // The chooser was cancelled: the message does not claim that no compiler is associated.
    EXPECT_EQ(windows_.messages()[1].prompt, "The Winhelp compiler was not located");

    EXPECT_TRUE(fs::exists(generated("German", "OrderEntry_ContextTopics.txt")));
    EXPECT_TRUE(fs::exists(generated("German", "OrderEntry_ContextTopics.rtf")));
    EXPECT_FALSE(fs::exists(fs::path(projectDir()) / "OrderEntry_Context.chm"));
    // Nothing was produced to place: the registry and the project's setting name no new file.
    EXPECT_EQ(registry().GetValue(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\HTML Help",
                                  "OrderEntry_Context.chm"),
              "");
    EXPECT_EQ(project_->HelpFile(), "");
}

TEST_F(GenerateRun, CharactersTheCodePageLacksShowTheCompileLogAndNoEndsTheRun) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(true, false);
    record("frmMain", "cmdOpen").SetHelpText("English", "Opens the order \xE2\x86\x92 edit.");
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    ASSERT_EQ(logs_.size(), 1u);
    EXPECT_NE(logs_[0].find("Warning: OrderEntry_ContextTopics.txt, topic 7, line"), std::string::npos) << logs_[0];
    EXPECT_NE(logs_[0].find("U+2192"), std::string::npos) << logs_[0];
    std::vector<std::string> titles;
    for (const auto& message : windows_.messages())
        titles.push_back(message.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"HTML Help compile messages", "Continue ?"}));
    EXPECT_EQ(windows_.messages()[1].style, controls::vbYesNo + controls::vbQuestion);
    EXPECT_FALSE(fs::exists(generated("German", "OrderEntry_ContextTopics.txt")));
    EXPECT_NE(readFile(generated("English", "OrderEntry_ContextTopics.txt")).find("Opens the order ? edit.\r\n"),
              std::string::npos);
    EXPECT_EQ(project_->HelpFile(), "");
}

TEST_F(GenerateRun, WarningInSmallLettersShowsNoLogAndVersionFiveSkipsHtmlHelpPlacement) {
    installFakeWinHelpCompiler();
    FrmWizard& wizard = openEditor(copyExample());
    ide_->setVersion("5.0");
    compile(true, true);
    record("frmMain", "cmdOpen").SetHelpText("English", "warning: error: not the compiler's words");
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_TRUE(logs_.empty());
    EXPECT_TRUE(fs::exists(generated("English", "OrderEntry_Context.chm")));
    EXPECT_FALSE(fs::exists(fs::path(projectDir()) / "OrderEntry_Context.chm"));
    EXPECT_EQ(registry().GetValue(RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows\\HTML Help",
                                  "OrderEntry_Context.chm"),
              "");
    EXPECT_TRUE(fs::exists(fs::path(projectDir()) / "OrderEntry_Context.hlp"));
    EXPECT_EQ(project_->HelpFile(), "OrderEntry_Context.hlp");
}

TEST_F(GenerateRun, NumbersFlagsAndFrmLinesWrittenIntoTheProject) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, false);
    for (const auto& item : *wizard.formsData()->Item("frmMain"))
        item->HelpTexts.Clear();
    record("frmOrder", "fraCustomer").SetHelpText("German", "Nur deutsch.");
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_FALSE(project_->isDirty()) << "the run wrote the forms it changed";

    // The new numbers follow the highest one, in walk order, the same in both languages.
    EXPECT_EQ(record("mdiMain", "cmdTodaysOrders").ContextHelpID, 39);
    EXPECT_EQ(record("frmOrder", "fraCustomer").ContextHelpID, 40);
    std::string mdi = readFile(fs::path(projectDir()) / "mdiMain.frm");
    EXPECT_NE(mdi.find("      Begin VB.CommandButton cmdTodaysOrders \r\n"
                       "         Caption         =   \"&Today's Orders\"\r\n"
                       "         Height          =   375\r\n"
                       "         Left            =   2850\r\n"
                       "         TabIndex        =   3\r\n"
                       "         Top             =   60\r\n"
                       "         WhatsThisHelpID =   39\r\n"
                       "         Width           =   1575\r\n"),
              std::string::npos);
    for (const std::string language : {"English", "German"}) {
        std::string popups = readFile(generated(language, "OrderEntry_ContextTopics.txt"));
        EXPECT_NE(popups.find(".topic 40\r\n"), std::string::npos);
        EXPECT_EQ(countOf(readFile(generated(language, "OrderEntry.h")), "#define IDH_40 40\r\n"), 1u);
    }
    EXPECT_NE(readFile(generated("English", "OrderEntry_ContextTopics.txt")).find(".topic 40\r\n\r\n\r\n"),
              std::string::npos);

    // A module without text loses its flag and its numbers; one text gives a module the flag.
    std::string frmMain = readFile(fs::path(projectDir()) / "frmMain.frm");
    EXPECT_EQ(frmMain.find("WhatsThisHelp"), std::string::npos);
    EXPECT_EQ(record("frmMain", "cboFilter").ContextHelpID, 0);
    EXPECT_NE(readFile(fs::path(projectDir()) / "frmAbout.frm").find("   WhatsThisHelp   =   -1  'True\r\n"),
              std::string::npos);
}

TEST_F(GenerateRun, EveryModuleOfFormsIsWalkedEvenWithAStoredModuleMissingFromTheList) {
    fs::path vbp = copyExample();
    fs::path data = vbp.parent_path() / "ContextHelp.txt";
    std::string text = readFile(data);
    const std::string anchor = "  <VBComponent ComponentName=\"mdiMain\">";
    text.insert(text.find(anchor),
                "  <VBComponent ComponentName=\"modMain\">\r\n"
                "    <HelpItem ComponentName=\"modMain\" ControlName=\"txtGhost\" ContextHelpID=\"77\" "
                "ControlType=\"TextBox\" Caption=\"\">\r\n"
                "      <HelpText Language=\"English\">No control behind this one.</HelpText>\r\n"
                "    </HelpItem>\r\n"
                "  </VBComponent>\r\n");
    writeFile(data, text);
    FrmWizard& wizard = openEditor(vbp);
    // modMain (no visual module) is not listed; frmSplash (gone, kept for its text) is.
    ASSERT_EQ(wizard.formsData()->Count(), wizard.lbxModules().ListCount() + 1);
    ASSERT_EQ(wizard.formNames()->Item(1), "modMain");
    compile(false, false);
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    std::string popups = readFile(generated("English", "OrderEntry_ContextTopics.txt"));
    EXPECT_EQ(popups.find(".topic 77"), std::string::npos);
    // docOrderStatus, the last module, has its topics.
    EXPECT_NE(popups.find(".topic 37\r\n"), std::string::npos);
    EXPECT_NE(popups.find(".topic 38\r\n"), std::string::npos);
    EXPECT_EQ(record("modMain", "txtGhost").ContextHelpID, 77);
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

TEST_F(GenerateRun, CompileLogTextBoxFillsTheWindowAtEverySize) {
    auto log = controls::Form::create<FrmCompileLog>();
    log->txtLogText().SetText("Warning: x\n");
    EXPECT_EQ(log->Caption(), "HTML Help Compiler Log");
    log->Show();
    auto fills = [&] {
        const controls::TextBox& box = log->txtLogText();
        return box.Left() == 0 && box.Top() == 0 && box.Width() == log->ScaleWidth() &&
               box.Height() == log->ScaleHeight();
    };
    EXPECT_TRUE(fills());
    EXPECT_GT(log->txtLogText().Width(), 0);
    log->Move(0, 0, 3000, 2000);
    EXPECT_TRUE(fills());
    log->SetWindowState(controls::vbMinimized);
    EXPECT_TRUE(fills());
    log->SetWindowState(controls::vbNormal);
    EXPECT_TRUE(fills());
    EXPECT_EQ(log->txtLogText().Width(), 3000 - 8 * 15);
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_EQ(log->txtLogText().Text(), "Warning: x\n");
}

// The editor's compile takes the project's compile lock too: while another compile holds it
// the busy window says so, and a wait that ends without it stops the run with a message naming
// the folder, before anything is written; once the lock is free the run goes on as always.
TEST_F(GenerateRun, TheEditorsCompileWaitsForAnotherCompileOfTheProjectAndStopsNamingTheFolder) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(true, false);
    const std::string output = projectDir() + "Corvane";
    std::optional<CompileLock> other = CompileLock::take(output); // another compile at work
    const auto wait = CompileLock::setWait(std::chrono::milliseconds(200));
    busy().clearStates();
    wizard.CreateHelpFiles();
    CompileLock::setWait(wait);

    EXPECT_TRUE(reports_.reports().empty());
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0].title, "Creating Help files");
    EXPECT_TRUE(windows_.messages()[0].prompt.starts_with("Another compile (process ")) << windows_.messages()[0].prompt;
    EXPECT_NE(windows_.messages()[0].prompt.find(") is writing the help files in '" + output + "': its lock file '" +
                                                 output + ".lock' is held. Try again when that compile has ended."),
              std::string::npos)
        << windows_.messages()[0].prompt;
    bool toldWaiting = false;
    for (const auto& state : busy().states())
        toldWaiting = toldWaiting || state.message.starts_with("Waiting for another compile of this project to end (");
    EXPECT_TRUE(toldWaiting);
    EXPECT_FALSE(busy().states().back().visible);
    EXPECT_FALSE(fs::exists(output)) << "nothing was written";

    other.reset(); // that compile ended
    windows_.clearMessages();
    wizard.CreateHelpFiles();
    EXPECT_TRUE(fs::exists(generated("English", "OrderEntry_Context.chm")));
    // The project generates WinHelp too and does not compile it: the end claims no compile.
    EXPECT_EQ(windows_.messages().back().prompt,
              "2 Help projects were created in the directory  '" + output +
                  "'\n\nThe WinHelp projects were not compiled: \"Compile generated WinHelp files\" is off in the options.");
    EXPECT_FALSE(fs::exists(output + ".lock")) << "the run let its lock go";
}

} // namespace
} // namespace corvane::test
