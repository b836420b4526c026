// The command-line program ends without freeing what a scan built: what it prints and saves
// is still complete, and nothing is left behind (no lock or temporary file).
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

} // namespace
} // namespace corvane::cli
