// The command-line program `corvane` loads no Qt library, and hands the commands that open
// windows to the desktop program beside it, or says clearly that it is missing.
#include "cli/DesktopProgram.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

using test::runShell;
using test::runToolWithStatus;
using test::ToolRun;

std::string quoted(const fs::path& path) { return test::shellQuoted(path.string()); }

const fs::path Program = test::corvaneProgram();
// True on Windows, where programs are named with ".exe".
const bool OnWindows = fs::path::preferred_separator != '/';

TEST(DesktopProgram, ScanLoadsNoQtLibrary) {
    if (OnWindows)
        GTEST_SKIP() << "LD_DEBUG is the Linux loader's; scripts/build-windows.sh checks that "
                        "corvane.exe imports no Qt DLL";
    test::TempDir dir;
    test::copyExample(dir / "p");
    // The dynamic loader names every library it maps, those opened later too.
    ToolRun scan = runShell("LD_DEBUG=libs " + quoted(Program) + " scan " +
                        quoted(dir / "p" / "OrderEntry.vbp"));
    EXPECT_EQ(scan.status, 0) << scan.output;
    EXPECT_NE(scan.output.find("libpugixml"), std::string::npos) << scan.output;
    EXPECT_EQ(scan.output.find("libQt"), std::string::npos) << scan.output;
}

TEST(DesktopProgram, AMissingDesktopProgramIsNamedAndTheCommandFailsWithStatusTwo) {
    test::TempDir dir;
    const fs::path program = dir.path() / Program.filename();
    fs::copy_file(Program, program); // alone, without "corvane-gui" beside it
    for (const std::string arguments : {"", " edit x.vbp", " preview x.vbp --module m -o f.png"}) {
        SCOPED_TRACE(arguments);
        ToolRun run = runToolWithStatus("\"" + program.string() + "\"" + arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.output.find("needs the desktop program '" +
                                  (dir / (OnWindows ? "corvane-gui.exe" : "corvane-gui")).string() +
                                  "', which cannot be started: No such file or directory."),
                  std::string::npos)
            << run.output;
    }
    ToolRun version = runToolWithStatus("\"" + program.string() + "\" --version"); // the rest runs as before
    EXPECT_EQ(version.status, 0) << version.output;
}

TEST(DesktopProgram, TheDesktopProgramGetsTheSameArguments) {
    test::TempDir dir;
    const fs::path program = dir.path() / Program.filename();
    fs::copy_file(Program, program);
    // A stand-in that prints its arguments, one per line, and ends with status 7.
    fs::copy_file(CORVANE_STAND_IN, dir.path() / (OnWindows ? "corvane-gui.exe" : "corvane-gui"));
    test::ScopedEnvironment steps("CORVANE_STAND_IN_STEPS", "arguments|exit=7");
    ToolRun run = runToolWithStatus("\"" + program.string() + "\" edit \"my project.vbp\" --screenshot a.png");
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.output, "[edit]\n[my project.vbp]\n[--screenshot]\n[a.png]\n");
    EXPECT_TRUE(isDesktopCommand({}));
    EXPECT_FALSE(isDesktopCommand({"scan", "edit"}));
}

} // namespace
} // namespace corvane::cli
