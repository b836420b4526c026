// The command-line program starts with the allocator's large pages, and ends without freeing
// what a scan built: what it prints and saves is still complete, and nothing is left behind
// (no lock or temporary file).
#include "cli/CommandOutcome.h"
#include "generate/TextReplace.h"
#include "main/LargePages.h"
#include "testsupport/TempDir.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

TEST(ProgramEnd, TheProgramsScanPrintsAndSavesWhatTheCommandDoesInProcess) {
    test::TempDir dir;
    const fs::path project = dir / "p";
    test::copyExample(project);
    const std::string vbp = (project / "OrderEntry.vbp").string();
    // Started directly (no shell), its standard output and error in one pipe.
    const std::string program = "\"" + test::corvaneProgram().string() + "\"";
    test::ToolRun json = test::runToolWithStatus(program + " scan --json \"" + vbp + "\"");
    EXPECT_EQ(json.status, 0) << json.output;
    Outcome inProcess = runCommandLine({"scan", "--json", vbp});
    EXPECT_EQ(inProcess.err, ""); // so the pipe holds only what the program printed
    EXPECT_EQ(json.output, inProcess.out);
    EXPECT_GT(inProcess.out.size(), 1000u);

    // A change of the data file is saved whole, as the command saves it in-process.
    const fs::path data = project / "ContextHelp.txt";
    const fs::path other = dir / "q";
    test::copyExample(other);
    test::writeFile(data, replaceAll(test::readFile(data), "<HelpText Language=", "<HelpText  Language="));
    test::writeFile(other / "ContextHelp.txt", test::readFile(data));
    test::ToolRun save = test::runToolWithStatus(program + " scan --save \"" + vbp + "\"");
    EXPECT_EQ(save.status, 0) << save.output;
    EXPECT_EQ(runCommandLine({"scan", "--save", (other / "OrderEntry.vbp").string()}).status, 0);
    EXPECT_EQ(test::readFile(data), test::readFile(other / "ContextHelp.txt"));
    EXPECT_EQ(test::readFile(data).find("<HelpText  Language="), std::string::npos);
    for (const auto& entry : fs::directory_iterator(project))
        EXPECT_TRUE(entry.path().extension() != ".tmp" && entry.path().extension() != ".lock") << entry.path();
}

#ifdef CORVANE_WITH_MIMALLOC
TEST(ProgramStart, TheAllocatorIsAskedForLargePagesUnlessTheUserChoseOtherwise) {
    auto reset = [] {
        mi_option_set(mi_option_large_os_pages, 0);
        mi_option_set(mi_option_eager_commit_delay, 1);
    };
    reset();
    {
        test::ScopedEnvironment chosen("MIMALLOC_LARGE_OS_PAGES", "0");
        useLargePages();
        EXPECT_FALSE(mi_option_is_enabled(mi_option_large_os_pages));
        EXPECT_EQ(mi_option_get(mi_option_eager_commit_delay), 1);
    }
    {
        test::ScopedEnvironment unset("MIMALLOC_LARGE_OS_PAGES", std::nullopt);
        useLargePages();
        EXPECT_TRUE(mi_option_is_enabled(mi_option_large_os_pages));
        EXPECT_EQ(mi_option_get(mi_option_eager_commit_delay), 0);
    }
    reset(); // the other tests run with mimalloc's defaults
}
#endif

} // namespace
} // namespace corvane::cli
