// `corvane compile` on a copy of the example project: a real compile with chmcmd through
// the registered front end, the messages and the compile log printed, the answers to the
// questions, the saved project, and an exit status that says whether every file came out.
#include "cli/CommandOutcome.h"
#include "generate/CompilerRegistration.h"
#include "generate/TextReplace.h"
#include "helpdata/DataFileCheckAhead.h"
#include "platform/AppFolders.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::countOf;
using test::replaceEvery;
using test::runTool;

class CompileCommand : public ::testing::Test {
protected:
    CompileCommand() {
        platform::setEnvironmentVariable("CORVANE_REGISTRY", (dir_ / "registry.reg").string().c_str());
        platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", frontEndFolder().string().c_str());
        test::copyExample(project_);
    }
    ~CompileCommand() override {
        platform::setEnvironmentVariable("CORVANE_REGISTRY", nullptr);
        platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", nullptr);
    }

    static fs::path frontEndFolder() { return fs::path(CORVANE_BINARY_DIR) / "bin" / "helpcompilers"; }

    Outcome compile(std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"compile", (project_ / "OrderEntry.vbp").string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return runCommandLine(arguments);
    }

    void editData(const std::string& what, const std::string& with) {
        fs::path data = project_ / "ContextHelp.txt";
        std::string text = test::readFile(data);
        ASSERT_NE(text.find(what), std::string::npos) << what;
        test::writeFile(data, replaceAll(text, what, with));
    }

    std::string languageFile(const std::string& language, const std::string& name) const {
        return (project_ / "Corvane" / language / name).string();
    }

    test::TempDir dir_;
    fs::path project_ = dir_ / "Order Entry; $(touch pwned) `touch pwned2`";
};

TEST_F(CompileCommand, CompilesAChmPerLanguageHoldingEveryTopicAndSavesTheProject) {
    ASSERT_TRUE(fs::exists(frontEndFolder() / "hhc.exe")) << "build the corvane target first (it builds hhc.exe)";
    Outcome result = compile();
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "[Help projects created] 2 Help projects were created in the directory  '" +
                              (project_ / "Corvane").string() +
                              "'\n\nThe WinHelp projects were not compiled: \"Compile generated WinHelp files\" is off in the options.\n");
    for (const std::string language : {"English", "German"}) {
        SCOPED_TRACE(language);
        std::string chm = languageFile(language, "OrderEntry_Context.chm");
        ASSERT_TRUE(fs::exists(chm));
        EXPECT_NE(replaceEvery(runTool("chmls -n list " + quotedArgument(chm)), "\r\n", "\n").find("\n/OrderEntry_ContextTopics.txt\n"),
                  std::string::npos);
        fs::path extracted = dir_ / "extracted.txt";
        runTool("chmls extract " + quotedArgument(chm) + " /OrderEntry_ContextTopics.txt " +
                quotedArgument(extracted.string()));
        std::string popups = test::readFile(extracted);
        EXPECT_EQ(popups, test::readFile(languageFile(language, "OrderEntry_ContextTopics.txt")));
        // Every number of the map has its topic in the compiled popup file.
        std::string map = test::readFile(languageFile(language, "OrderEntry.h"));
        EXPECT_EQ(countOf(popups, ".topic "), countOf(map, "#define IDH_"));
        EXPECT_EQ(countOf(popups, ".topic "), 41u);
        for (const char* id : {"1", "38", "39", "42"})
            EXPECT_EQ(countOf(popups, std::string(".topic ") + id + "\r\n"), 1u) << id;
    }
    EXPECT_FALSE(fs::exists(project_ / "pwned"));
    EXPECT_FALSE(fs::exists(dir_ / "pwned2"));
    std::string vbp = test::readFile(project_ / "OrderEntry.vbp");
    EXPECT_NE(vbp.find("\r\nHelpFile=\"OrderEntry_Context.chm::/OrderEntry_contexttopics.txt\"\r\n"), std::string::npos);
    EXPECT_NE(test::readFile(project_ / "mdiMain.frm").find("         WhatsThisHelpID =   39\r\n"), std::string::npos);
    EXPECT_NE(test::readFile(project_ / "ContextHelp.txt").find("ControlName=\"cmdTodaysOrders\" ContextHelpID=\"39\""),
              std::string::npos);
    EXPECT_TRUE(fs::exists(project_ / "OrderEntry_Context.chm"));

    // A second run produces the files again and succeeds again.
    EXPECT_EQ(compile().status, 0);
}

TEST_F(CompileCommand, CompileLogIsPrintedAndTheQuestionIsAnsweredNoUnlessYes) {
    editData("Opens the selected order for editing.", "Opens the selected order \xE2\x86\x92 editing.");
    Outcome no = compile();
    EXPECT_EQ(no.status, 1);
    EXPECT_NE(no.out.find("[HTML Help compile messages] Errors or warnings were generated by the HTML Help Compiler."),
              std::string::npos)
        << no.out;
    // The compiler's own lines, then the characters the code page lacks.
    EXPECT_NE(no.out.find("[HTML Help Compiler Log]\nWriting CHM OrderEntry_Context.chm\n"), std::string::npos)
        << no.out;
    // Without chmcmd's banner, which each system buffers into another place of the log.
    EXPECT_EQ(no.out.find("a CHM compiler"), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("\nWarning: OrderEntry_ContextTopics.txt, topic 7, line 24, column 26: code page 1252 "
                          "cannot hold the character '\xE2\x86\x92' (U+2192); it was written as '?'.\n[End of log]\n"),
              std::string::npos)
        << no.out;
    EXPECT_NE(no.out.find("[Continue ?] Do you wish to contine generating help files ?\n"), std::string::npos);
    EXPECT_EQ(no.out.find("[Help projects created]"), std::string::npos);
    EXPECT_NE(no.err.find("corvane: not produced: " + languageFile("German", "OrderEntry_Context.chm")),
              std::string::npos)
        << no.err;

    Outcome yes = compile({"--yes"});
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_NE(yes.out.find("[Help projects created]"), std::string::npos);
}

// Build tools and version control see a data file or form change only when its bytes change.
TEST_F(CompileCommand, ASecondCompileLeavesTheDataFileAndTheFormsTheirBytesAndTimes) {
    ASSERT_EQ(compile({"--yes"}).status, 0);
    const fs::path data = project_ / "ContextHelp.txt";
    // Whole seconds: some systems keep no finer times.
    const auto old = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(48));
    fs::last_write_time(data, old);
    const std::string bytes = test::readFile(data);
    // The forms too: the context numbers and popup-help flags they hold are already right.
    std::map<fs::path, std::string> forms;
    for (const auto& entry : fs::directory_iterator(project_))
        if (std::set<fs::path>{".frm", ".ctl", ".pag", ".dob"}.count(entry.path().extension())) {
            fs::last_write_time(entry.path(), old);
            forms[entry.path()] = test::readFile(entry.path());
        }
    ASSERT_EQ(forms.size(), 8u);
    Outcome again = compile({"--yes"});
    EXPECT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_EQ(test::readFile(data), bytes);
    EXPECT_EQ(fs::last_write_time(data), old);
    for (const auto& [form, formBytes] : forms) {
        EXPECT_EQ(test::readFile(form), formBytes) << form;
        EXPECT_EQ(fs::last_write_time(form), old) << form;
    }
    for (const auto& entry : fs::directory_iterator(project_))
        EXPECT_EQ(entry.path().extension() == ".tmp" || entry.path().extension() == ".lock", false)
            << entry.path();
    // Bytes the save writes differently are written: the file is replaced.
    editData("<HelpText Language=", "<HelpText  Language=");
    fs::last_write_time(data, old);
    ASSERT_EQ(compile({"--yes"}).status, 0);
    EXPECT_NE(fs::last_write_time(data), old);
    EXPECT_EQ(test::readFile(data), bytes);
}

// A data file of megabytes is compared with the records while the run ends (flush, control
// properties); what the run changes in a record after it began (a context number taken back)
// is still saved.
TEST_F(CompileCommand, AHugeDataFileKeepsItsTimeYetGetsWhatTheRunChangesLate) {
    // Each comparison reads the records as they are when the languages are generated.
    struct AtStart {
        AtStart() { setDataFileCheckAtStart(true); }
        ~AtStart() { setDataFileCheckAtStart(false); }
    } atStart;
    editData("CompileHTML=\"True\"", "CompileHTML=\"False\"");
    // The last record's texts make it a file of megabytes, most of it after the record changed below.
    for (const std::string lastText : {"Shows the status of the order: received, packed, shipped or delivered.",
                                       "Zeigt den Stand des Auftrags: eingegangen, verpackt, versandt oder zugestellt."}) {
        std::string longText;
        while (longText.size() < (size_t{1} << 20))
            longText += lastText + " ";
        editData(lastText, longText);
    }
    ASSERT_EQ(compile({"--yes"}).status, 0);
    const fs::path data = project_ / "ContextHelp.txt";
    const std::string bytes = test::readFile(data);
    ASSERT_GT(bytes.size(), size_t{1} << 20);
    ASSERT_EQ(bytes.find("ControlName=\"cmdTodaysOrders\" ContextHelpID=\"0\""), std::string::npos);

    // Whole seconds: some systems keep no finer times.
    const auto old = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(48));
    fs::last_write_time(data, old);
    ASSERT_EQ(compile({"--yes"}).status, 0);
    EXPECT_EQ(fs::last_write_time(data), old);
    EXPECT_EQ(test::readFile(data), bytes);

    // The record loses its text but keeps its number in the file: the run takes the number back
    // from the control and the record after generating, and the save writes that.
    editData("<HelpText Language=\"English\">Brings the list of today's orders to the front.</HelpText>",
             "<HelpText Language=\"English\" />");
    fs::last_write_time(data, old);
    Outcome late = compile({"--yes"});
    EXPECT_EQ(late.status, 0) << late.out << late.err;
    EXPECT_NE(fs::last_write_time(data), old);
    EXPECT_NE(test::readFile(data).find("ControlName=\"cmdTodaysOrders\" ContextHelpID=\"0\""), std::string::npos);
}

TEST_F(CompileCommand, WinHelpRequestedWithoutACompilerFailsAndBadArgumentsAreRefused) {
    editData("CompileWinHelp=\"False\"", "CompileWinHelp=\"True\"");
    Outcome result = compile();
    EXPECT_EQ(result.status, 1);
    // One message, without the question for a compiler that no association names.
    EXPECT_NE(result.out.find("[Winhelp compiler not located] The Winhelp compiler was not located.  WinHelp projects "
                              "will be generated but not compiled"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.find("hcrtf.exe).  Please identify"), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("not produced: " + languageFile("English", "OrderEntry_Context.hlp")), std::string::npos);
    EXPECT_TRUE(fs::exists(languageFile("English", "OrderEntry_Context.chm")));

    std::ostringstream out, err;
    EXPECT_EQ(run({"compile"}, out, err), 2);
    EXPECT_EQ(err.str(), "Usage: corvane compile PROJECT.vbp [--yes] [--time-limit SECONDS]\n");
    EXPECT_EQ(run({"compile", "x.vbp", "--no"}, out, err), 2);
    EXPECT_EQ(run({"compile", (dir_ / "missing.vbp").string()}, out, err), 1);
}

TEST_F(CompileCommand, CompilesFromACompilerFolderWithCapitalsAndAfterThatFolderMoved) {
    const fs::path installed = dir_ / "Corvane Install" / "Help Compilers";
    fs::create_directories(installed);
    fs::copy_file(frontEndFolder() / "hhc.exe", installed / "hhc.exe");
    platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", installed.string().c_str());
    RegistryAccess registry(dir_ / "registry.reg");
    auto association = [&] { return registry.GetValue(RegistryRoot::LocalMachine, HhpCommandKey, ""); };

    Outcome first = compile();
    EXPECT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(association(), "\"" + (installed / "hhw.exe").string() + "\" %1");
    EXPECT_EQ(first.out.find("[HTML Help Compiler Log]"), std::string::npos) << first.out;
    EXPECT_TRUE(fs::exists(project_ / "OrderEntry_Context.chm"));

    // The install moves: the association names a program that is gone, and the run points it
    // at the front end where it is now, saying so in the compile log.
    const fs::path moved = dir_ / "Moved Install" / "Help Compilers";
    fs::rename(installed.parent_path(), moved.parent_path());
    fs::remove(project_ / "OrderEntry_Context.chm");
    platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", moved.string().c_str());
    Outcome second = compile();
    EXPECT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_EQ(second.err, "");
    EXPECT_NE(second.out.find("[HTML Help Compiler Log]\nNote: The HTML Help compiler \"" +
                              (installed / "hhc.exe").string() +
                              "\" named by the association of HTML Help project files no longer exists; the "
                              "association now names the compiler front end \"" + (moved / "hhc.exe").string() +
                              "\".\n[End of log]\n"),
              std::string::npos)
        << second.out;
    EXPECT_EQ(association(), "\"" + (moved / "hhw.exe").string() + "\" %1");
    EXPECT_TRUE(fs::exists(languageFile("German", "OrderEntry_Context.chm")));
    EXPECT_EQ(test::readFile(project_ / "OrderEntry_Context.chm"),
              test::readFile(languageFile("English", "OrderEntry_Context.chm")));

    // The next run finds the association good and has nothing to say.
    Outcome third = compile();
    EXPECT_EQ(third.status, 0);
    EXPECT_EQ(third.out.find("[HTML Help Compiler Log]"), std::string::npos);
}

TEST_F(CompileCommand, PrimaryLanguageNotSelectedMeansItsHelpFileIsNotPlaced) {
    editData("PrimaryLanguage=\"English\"", "PrimaryLanguage=\"French\"");
    Outcome result = compile();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_EQ(result.err, "corvane: not placed: " + (project_ / "OrderEntry_Context.chm").string() +
                              " (the primary language \"French\" is not among the selected languages)\n");
    EXPECT_TRUE(fs::exists(languageFile("English", "OrderEntry_Context.chm")));
}

TEST_F(CompileCommand, HelpFileThatCannotBePlacedBesideTheProjectFailsTheRun) {
    fs::create_directories(project_ / "OrderEntry_Context.chm" / "in the way");
    Outcome result = compile();
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_EQ(result.err, "corvane: not placed: " + (project_ / "OrderEntry_Context.chm").string() +
                              " (it is not a copy of " + languageFile("English", "OrderEntry_Context.chm") + ")\n");
    EXPECT_TRUE(fs::exists(languageFile("German", "OrderEntry_Context.chm")));
}

TEST_F(CompileCommand, HtmlHelpCompilerNotLocatedFailsTheRunNamingEveryMissingFile) {
    fs::create_directories(dir_ / "no compilers");
    platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", (dir_ / "no compilers").string().c_str());
    // The help file an earlier compile placed beside the project, and the setting naming it.
    const fs::path placed = project_ / "OrderEntry_Context.chm";
    test::writeFile(placed, "the last good help file");
    const fs::path vbp = project_ / "OrderEntry.vbp";
    test::writeFile(vbp, replaceAll(test::readFile(vbp), "HelpFile=\"\"", "HelpFile=\"Earlier.chm\""));
    Outcome result = compile();
    EXPECT_EQ(test::readFile(placed), "the last good help file");
    EXPECT_NE(test::readFile(vbp).find("HelpFile=\"Earlier.chm\"\r\n"), std::string::npos);
    EXPECT_NE(result.out.find("\n\nLeft as an earlier compile placed them, with the project's help file setting:\n  " +
                              placed.string() + "\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("[HTML Help Compiler not located] The HTML Help Compiler was not located."),
              std::string::npos)
        << result.out;
    for (const std::string language : {"English", "German"})
        EXPECT_NE(result.err.find("corvane: not produced: " + languageFile(language, "OrderEntry_Context.chm") + "\n"),
                  std::string::npos)
            << result.err;
    EXPECT_NE(result.err.find("corvane: not placed: " + (project_ / "OrderEntry_Context.chm").string()),
              std::string::npos);
    // What needs no compiler was written all the same.
    EXPECT_TRUE(fs::exists(languageFile("German", "OrderEntry_ContextTopics.txt")));
    EXPECT_TRUE(fs::exists(languageFile("German", "OrderEntry_ContextTopics.rtf")));
}

// Before, the failure passed on by the error report left the program through an uncaught
// exception.
TEST_F(CompileCommand, LanguageFolderThatCannotBeMadeFailsTheRunNamingItsFiles) {
    fs::create_directories(project_ / "Corvane");
    test::writeFile(project_ / "Corvane" / "German", "a file where the folder goes");
    Outcome result = compile();
    EXPECT_EQ(result.status, 1) << result.out;
    for (const std::string name : {"OrderEntry_ContextTopics.txt", "OrderEntry_Context.hhp",
                                   "OrderEntry_ContextTopics.rtf", "OrderEntry_Context.chm"})
        EXPECT_NE(result.err.find("corvane: not produced: " + languageFile("German", name) + "\n"), std::string::npos)
            << name << "\n" << result.err;
    EXPECT_EQ(result.err.find("not produced: " + languageFile("English", "OrderEntry_Context.chm")), std::string::npos);
    // The error ends the run: it is reported, the run says so, and nothing is placed.
    EXPECT_NE(result.err.find("corvane: error 75 in frmWizard.CreateSingleHelpFile: "), std::string::npos);
    EXPECT_NE(result.err.find("corvane: the creation run ended after an error: error 75 in "
                              "frmWizard.CreateSingleHelpFile: "),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("corvane: not placed: " + (project_ / "OrderEntry_Context.chm").string()),
              std::string::npos);
    // What the run did is saved all the same: the numbers handed out reach the data file.
    EXPECT_NE(test::readFile(project_ / "ContextHelp.txt").find("ControlName=\"cmdTodaysOrders\" ContextHelpID=\"39\""),
              std::string::npos);
}

} // namespace
} // namespace corvane::cli
