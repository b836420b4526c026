// The command-line program starts with the allocator's large pages, and ends without freeing
// what a scan built: what it prints and saves is still complete, and nothing is left behind
// (no lock or temporary file).
#include "cli/CommandOutcome.h"
#include "generate/TextReplace.h"
#include "testsupport/TempDir.h"
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
    const std::string program = test::shellQuoted(test::corvaneProgram().string());
    const fs::path printed = dir / "scan.json";
    test::ToolRun json = test::runShell(program + " scan --json " + test::shellQuoted(vbp) + " > " +
                                        test::shellQuoted(printed.string()));
    EXPECT_EQ(json.status, 0) << json.output;
    Outcome inProcess = runCommandLine({"scan", "--json", vbp});
    EXPECT_EQ(test::readFile(printed), inProcess.out);
    EXPECT_GT(inProcess.out.size(), 1000u);

    // A change of the data file is saved whole, as the command saves it in-process.
    const fs::path data = project / "ContextHelp.txt";
    const fs::path other = dir / "q";
    test::copyExample(other);
    test::writeFile(data, replaceAll(test::readFile(data), "<HelpText Language=", "<HelpText  Language="));
    fs::copy_file(data, other / "ContextHelp.txt", fs::copy_options::overwrite_existing);
    test::ToolRun save = test::runShell(program + " scan --save " + test::shellQuoted(vbp));
    EXPECT_EQ(save.status, 0) << save.output;
    EXPECT_EQ(runCommandLine({"scan", "--save", (other / "OrderEntry.vbp").string()}).status, 0);
    EXPECT_EQ(test::readFile(data), test::readFile(other / "ContextHelp.txt"));
    EXPECT_EQ(test::readFile(data).find("<HelpText  Language="), std::string::npos);
    for (const auto& entry : fs::directory_iterator(project))
        EXPECT_TRUE(entry.path().extension() != ".tmp" && entry.path().extension() != ".lock") << entry.path();
}

#ifdef CORVANE_WITH_MIMALLOC
TEST(ProgramEnd, TheProgramRunsWithLargePagesUnlessTheUserChoseOtherwise) {
    const std::string program = test::shellQuoted(test::corvaneProgram().string());
    // The allocator names its options as it starts (the first start, then the second).
    test::ToolRun chosen = test::runShell("env -u MIMALLOC_LARGE_OS_PAGES MIMALLOC_VERBOSE=1 " +
                                          program + " --version 2>&1");
    EXPECT_EQ(chosen.status, 0) << chosen.output;
    EXPECT_NE(chosen.output.find("option 'large_os_pages': 1"), std::string::npos) << chosen.output;
    EXPECT_NE(chosen.output.find("corvane 1."), std::string::npos) << chosen.output;
    // The second start keeps the program's name, as ps and killall know it: it is looked at
    // while the program waits to read a project file that is a pipe.
    test::TempDir dir;
    const std::string pipe = test::shellQuoted((dir / "waiting.vbp").string());
    test::ToolRun named = test::runShell(
        "mkfifo " + pipe + "; env -u MIMALLOC_LARGE_OS_PAGES " + program + " scan " + pipe +
        " >/dev/null 2>&1 & pid=$!; for i in $(seq 200); do grep -qa MIMALLOC_LARGE_OS_PAGES "
        "/proc/$pid/environ && break; sleep 0.05; done; cat /proc/$pid/comm; echo > " + pipe +
        "; wait");
    EXPECT_EQ(named.output, "corvane\n");

    test::ToolRun kept = test::runShell("MIMALLOC_LARGE_OS_PAGES=0 MIMALLOC_VERBOSE=1 " + program +
                                        " --version 2>&1");
    EXPECT_EQ(kept.status, 0) << kept.output;
    EXPECT_NE(kept.output.find("option 'large_os_pages': 0"), std::string::npos) << kept.output;
    EXPECT_EQ(kept.output.find("option 'large_os_pages': 1"), std::string::npos) << kept.output;
}
#endif

} // namespace
} // namespace corvane::cli
