// The command-line program `corvane` loads no Qt library, and hands the commands that open
// windows to the desktop program beside it, or says clearly that it is missing.
#include "cli/DesktopProgram.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

using test::runShell;
using test::ToolRun;

std::string quoted(const fs::path& path) { return test::shellQuoted(path.string()); }

const fs::path Program = test::corvaneProgram();

TEST(DesktopProgram, ScanLoadsNoQtLibrary) {
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
    fs::copy_file(Program, dir / "corvane"); // alone, without "corvane-gui" beside it
    for (const std::string arguments : {"", " edit x.vbp", " preview x.vbp --module m -o f.png"}) {
        SCOPED_TRACE(arguments);
        ToolRun run = runShell(quoted(dir / "corvane") + arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.output.find("needs the desktop program '" + (dir / "corvane-gui").string() +
                                  "', which cannot be started: No such file or directory."),
                  std::string::npos)
            << run.output;
    }
    ToolRun version = runShell(quoted(dir / "corvane") + " --version"); // the rest runs as before
    EXPECT_EQ(version.status, 0) << version.output;
}

TEST(DesktopProgram, TheDesktopProgramGetsTheSameArguments) {
    test::TempDir dir;
    fs::copy_file(Program, dir / "corvane");
    // A stand-in that prints its arguments, one per line.
    test::writeFile(dir / "corvane-gui", "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done\nexit 7\n");
    fs::permissions(dir / "corvane-gui", fs::perms::owner_all);
    ToolRun run = runShell(quoted(dir / "corvane") + " edit 'my project.vbp' --screenshot a.png");
    EXPECT_EQ(run.status, 7);
    EXPECT_EQ(run.output, "[edit]\n[my project.vbp]\n[--screenshot]\n[a.png]\n");
    EXPECT_TRUE(isDesktopCommand({}));
    EXPECT_FALSE(isDesktopCommand({"scan", "edit"}));
}

} // namespace
} // namespace corvane::cli
