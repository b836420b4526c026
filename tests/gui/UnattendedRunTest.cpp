// The desktop program run where nobody answers: `corvane edit PROJECT --screenshot FILE`
// answers every question itself and says so on standard error, and without a display the
// program says so in one line instead of aborting. Runs the real program as a child process.
#include "gui/GuiTestSupport.h"

#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <QImage>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status = -1;
    std::string errors;
};

#ifdef _WIN32
// One argument of a Windows command line (the tests' paths hold no quotes).
std::string quoted(const std::string& text) { return "\"" + text + "\""; }
// Runs the program on the desktop Windows always has; its status and its output (standard
// error and output together: the screenshot mode writes nothing to standard output).
ProgramRun runProgram(const std::string& arguments) {
    ToolRun run = runToolWithStatus(quoted(corvaneProgram().string()) + " " + arguments);
    return {run.status, run.output};
}
#else
std::string quoted(const std::string& text) { return shellQuoted(text); }
// Runs the program without a display (and without a chosen Qt platform), giving up after a
// minute (status 124) instead of waiting for a user for ever; its status and standard error.
ProgramRun runProgram(const std::string& arguments) {
    ToolRun run = runShell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 " +
                           shellQuoted(corvaneProgram().string()) + " " + arguments + " </dev/null >/dev/null");
    return {run.status, run.output};
}
#endif

#ifndef _WIN32
size_t lineCount(const std::string& text) { return countOf(text, "\n"); }
#endif

} // namespace

TEST(UnattendedRun, TheScreenshotModeAnswersEveryQuestionAndNeverWaits) {
    GuiFixture fixture; // its registry and data folder reach the child through the environment
    // A form whose controls cannot be read: the scan asks the user to go on.
    writeFile(fixture.project().parent_path() / "frmOrder.frm",
              "VERSION 5.00\r\nBegin VB.Form frmOrder\r\n   Caption = \"Order\"\r\n   Begin VB.CommandButton cmdSave\r\n");
    fs::path picture = fixture.dir() / "editor.png";

    ProgramRun run = runProgram("edit " + quoted(fixture.project().string()) + " --screenshot " +
                                            quoted(picture.string()));
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("\"Error loading control\""), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("'frmOrder'"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("-> OK"), std::string::npos) << run.errors;
    QImage image(QString::fromStdString(picture.string()));
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 400);

    // The options that set the editor up; one that names nothing fails the run.
    fs::path cards = fixture.dir() / "cards.png";
    run = runProgram("edit " + quoted(fixture.project().string()) + " --screenshot " +
                                        quoted(cards.string()) + " --module frmMain --view card --group-by ControlType");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_FALSE(QImage(QString::fromStdString(cards.string())).isNull());
    EXPECT_EQ(run.errors.find("This plugin"), std::string::npos) << run.errors;
    run = runProgram("edit " + quoted(fixture.project().string()) + " --screenshot " +
                                        quoted(cards.string()) + " --group-by Colour");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("no column 'Colour'"), std::string::npos) << run.errors;
    // The editor with its preview beside it: one picture wider than the editor alone.
    fs::path beside = fixture.dir() / "beside.png";
    run = runProgram("edit " + quoted(fixture.project().string()) + " --screenshot " +
                     quoted(beside.string()) + " --module frmOrder --during preview");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(QImage(QString::fromStdString(beside.string())).width(),
              QImage(QString::fromStdString(cards.string())).width() + 100);
    // A module without a questioned word has no spell check question to picture.
    run = runProgram("edit " + quoted(fixture.project().string()) + " --screenshot " +
                                        quoted(cards.string()) + " --module frmAbout --during spellcheck");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("Spell check complete for the current module -> OK"), std::string::npos) << run.errors;

    // A project that cannot be opened: its message, then status 1.
    run = runProgram("edit " + quoted((fixture.dir() / "missing.vbp").string()) +
                                        " --screenshot " + quoted(picture.string()));
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("missing.vbp"), std::string::npos) << run.errors;

#ifndef _WIN32 // Windows always has a desktop
    // Without a display a window cannot open: one line and status 2, no abort.
    run = runProgram("edit " + quoted(fixture.project().string()));
    EXPECT_EQ(run.status, 2) << run.errors;
    EXPECT_EQ(lineCount(run.errors), 1u) << run.errors;
    EXPECT_NE(run.errors.find("no display"), std::string::npos) << run.errors;
    run = runProgram("");
    EXPECT_EQ(run.status, 2) << run.errors;
#endif
}

TEST(UnattendedRun, TheScreenshotModePicturesTheErrorReportOfAFailedSave) {
    GuiFixture fixture;
    const fs::path dataFile = fixture.project().parent_path() / "ContextHelp.txt";
    fs::path plain = fixture.dir() / "plain.png", failed = fixture.dir() / "failed.png";
    const std::string project = quoted(fixture.project().string());
    // A save that goes through has no report to picture.
    ProgramRun run = runProgram("edit " + project + " --screenshot " + quoted(plain.string()) + " --during save");
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("the save reported no error"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::exists(dataFile));
    run = runProgram("edit " + project + " --screenshot " + quoted(plain.string()));
    ASSERT_EQ(run.status, 0) << run.errors;

    // The data file links into a folder that is gone (a share no longer mounted): the save
    // fails, its report leads with the plain sentence, and the picture shows it over the editor.
#ifdef _WIN32
    GTEST_SKIP() << "Wine makes no symbolic links (CreateSymbolicLink fails as not implemented): the failed save "
                    "is pictured on Linux";
#endif
    fs::remove(dataFile);
    fs::create_symlink(fixture.dir() / "unmounted" / "ContextHelp.txt", dataFile);
    run = runProgram("edit " + project + " --screenshot " + quoted(failed.string()) + " --during save");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("error report: Corvane could not save the help text: "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("-> Ignore"), std::string::npos) << run.errors;
    QImage editorOnly(QString::fromStdString(plain.string())), withReport(QString::fromStdString(failed.string()));
    ASSERT_FALSE(withReport.isNull());
    EXPECT_EQ(withReport.size(), editorOnly.size());
    EXPECT_NE(withReport, editorOnly) << "the report is not in the picture";
    EXPECT_FALSE(fs::exists(fixture.dir() / "unmounted"));
}

} // namespace corvane::test
