// No command waits for ever: a project or data file that is a FIFO is refused at once naming
// the file, and a help compiler that never ends is stopped at its time limit, named, and its
// language counts as not produced. The programs run under a time limit of their own (timeout)
// or sleep for a bounded time, so a test that finds a hang still ends.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::runShell;
using test::shellQuoted;

using NoHang = ProjectCopy;

// Runs the program under `timeout` (status 124 when it had to be ended).
test::ToolRun corvaneWithin(int seconds, const std::string& arguments) {
    return runShell("timeout " + std::to_string(seconds) + " " + shellQuoted(test::corvaneProgram().string()) + " " +
                    arguments);
}

TEST_F(NoHang, AFifoAsTheDataFileIsRefusedByEveryCommand) {
    fs::remove(dataFile());
    ASSERT_EQ(::mkfifo(dataFile().c_str(), 0644), 0);
    const std::string refusal = "'" + dataFile().string() + "' is a FIFO (named pipe), not a regular file";
    const std::vector<std::string> commands{"scan", "compile", "coverage", "spell", "export --language German",
                                            "import " + shellQuoted((folder() / "x.po").string())};
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        auto space = command.find(' ');
        std::string arguments = command.substr(0, space) + " " + shellQuoted(project()) +
                                (space == std::string::npos ? "" : command.substr(space));
        test::ToolRun run = corvaneWithin(20, arguments);
        EXPECT_NE(run.status, 124) << "the command waited on the FIFO";
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.output.find(refusal), std::string::npos) << run.output;
    }
    struct stat info {};
    ASSERT_EQ(::lstat(dataFile().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)); // nothing replaced it
}

TEST_F(NoHang, AFifoAsTheProjectFileOrAFormIsRefused) {
    const fs::path fifoProject = folder() / "Fifo.vbp";
    ASSERT_EQ(::mkfifo(fifoProject.c_str(), 0644), 0);
    test::ToolRun run = corvaneWithin(20, "scan " + shellQuoted(fifoProject.string()));
    EXPECT_NE(run.status, 124) << "the scan waited on the FIFO";
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("'" + fifoProject.string() + "' is a FIFO (named pipe), not a regular file"),
              std::string::npos)
        << run.output;

    const fs::path form = folder() / "frmAbout.frm";
    fs::remove(form);
    ASSERT_EQ(::mkfifo(form.c_str(), 0644), 0);
    run = corvaneWithin(20, "scan " + shellQuoted(project()));
    EXPECT_NE(run.status, 124) << "the scan waited on the FIFO";
    EXPECT_NE(run.output.find("'" + form.string() + "' is a FIFO (named pipe), not a regular file"),
              std::string::npos)
        << run.output;
}

// A help compiler that never ends (it sleeps, and starts a helper that sleeps too).
class HangingCompiler : public ProjectCopy {
protected:
    HangingCompiler() {
        fs::create_directories(hangingFolder());
        test::writeFile(hangingFolder() / "hhc.exe", "#!/bin/sh\nsleep 60 &\nsleep 60\n");
        fs::permissions(hangingFolder() / "hhc.exe", fs::perms::owner_all);
    }
    fs::path hangingFolder() const { return dir_ / "Hanging Compilers"; }

    test::ScopedEnvironment hanging_{"CORVANE_HELP_COMPILERS", hangingFolder().string()};
};

TEST_F(HangingCompiler, IsStoppedAtItsTimeLimitNamedAndItsLanguageNotProduced) {
    auto start = std::chrono::steady_clock::now();
    Outcome result = runCommandLine({"compile", project(), "--time-limit", "1"});
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 30.0) << "the compile waited for the compiler";
    EXPECT_EQ(result.status, 1);
    const fs::path chm = folder() / "Corvane" / "English" / "OrderEntry_Context.chm";
    EXPECT_NE(result.out.find("Error: The HTML Help compiler \"" + (hangingFolder() / "hhc.exe").string() +
                              "\" was stopped because it ran longer than its time limit of 1 second; \"" +
                              chm.string() + "\" was not produced.\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.err.find("corvane: not produced: " + chm.string() + "\n"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(chm));

    Outcome wrong = runCommandLine({"compile", project(), "--time-limit", "soon"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "corvane compile: --time-limit takes whole seconds (0 for none), not 'soon'\n");
}

} // namespace
} // namespace corvane::cli
