// Results that must say what went wrong: context numbers at the top of a Long's range name the
// control that can get none and the one holding the largest (and never overflow), and a designer cut short makes scan and
// compile say so in their exit status.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

using WrongResults = ProjectCopy;

TEST_F(WrongResults, NumbersAtTheTopOfTheRangeNameTheControlThatGetsNone) {
    // The highest number a Long holds: no number follows it.
    edit("mdiMain.frm", "      WhatsThisHelpID =   1\r\n", "      WhatsThisHelpID =   2147483647\r\n");
    Outcome full = runCommandLine({"compile", project(), "--yes"});
    EXPECT_EQ(full.status, 1);
    const std::string refusal = "Overflow: the control 'cmdTodaysOrders' of 'mdiMain' needs a context number, but "
                                "the highest number in use is 2147483647, the largest a control can hold; give the "
                                "control that has it, 'picToolbar' of 'mdiMain', a smaller WhatsThisHelpID and "
                                "compile again";
    EXPECT_NE(full.err.find("corvane: error 6 in frmWizard.CreateSingleHelpFile: " + refusal + "\n"),
              std::string::npos)
        << full.err;
    // The caller's report carries the cause too: no error text is empty.
    EXPECT_NE(full.err.find("corvane: error 65535 in frmWizard.CreateHelpFiles: error 6 in "
                            "frmWizard.CreateSingleHelpFile: " + refusal + "\n"),
              std::string::npos)
        << full.err;
    EXPECT_EQ(full.err.find(": \n"), std::string::npos) << full.err;
    EXPECT_EQ(test::readFile(folder() / "mdiMain.frm").find("2147483648"), std::string::npos);

    // One below: the next control gets the last number, the one after it is named.
    edit("mdiMain.frm", "      WhatsThisHelpID =   2147483647\r\n", "      WhatsThisHelpID =   2147483646\r\n");
    Outcome last = runCommandLine({"compile", project(), "--yes"});
    EXPECT_EQ(last.status, 1);
    EXPECT_NE(last.err.find("Overflow: the control 'cmdPrint' of 'frmOrder' needs a context number"),
              std::string::npos)
        << last.err;
}

TEST_F(WrongResults, ADesignerCutShortMakesScanAndCompileFail) {
    const std::string form = test::readFile(folder() / "frmAbout.frm");
    test::writeFile(folder() / "frmAbout.frm", form.substr(0, form.find("   Begin VB.Label lblTitle")));
    const std::string line = "the designer of 'frmAbout' (" + (folder() / "frmAbout.frm").string() +
                             ") could not be read: ";
    Outcome scan = runCommandLine({"scan", project()});
    EXPECT_EQ(scan.status, 1);
    EXPECT_NE(scan.err.find("corvane scan: " + line), std::string::npos) << scan.err;
    Outcome json = runCommandLine({"scan", project(), "--json"});
    EXPECT_EQ(json.status, 1);
    Outcome compile = runCommandLine({"compile", project(), "--yes"});
    EXPECT_EQ(compile.status, 1);
    EXPECT_NE(compile.err.find("corvane compile: " + line), std::string::npos) << compile.err;

    Outcome coverage = runCommandLine({"coverage", project()});
    EXPECT_EQ(coverage.status, 0);
    EXPECT_NE(coverage.out.find("  frmAbout (its designer could not be read): "), std::string::npos) << coverage.out;
}

} // namespace
} // namespace corvane::cli
