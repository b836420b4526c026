// Two compiles of one project at once, as real processes: the second waits for the first (the
// lock "Corvane.lock" beside the output folder), so neither spoils the other's help files, and
// both succeed. A compile held up too long stops naming the folder and the holder; a lock left
// by a killed compile is taken over.
#include "cli/CommandOutcome.h"
#include "generate/CompileLock.h"
#include "helpdata/HelpDataFile.h"
#include "settings/ModMain.h"
#include "testsupport/MarkerHolder.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <iostream>
#include <thread>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runShell;
using test::shellQuoted;
using test::TempDir;
using test::ToolRun;

class CompileRace : public ::testing::Test {
protected:
    CompileRace() { test::copyExample(dir_ / "seed"); }

    fs::path project(int run) {
        fs::path folder = dir_ / ("run" + std::to_string(run));
        fs::copy(dir_ / "seed", folder, fs::copy_options::recursive);
        return folder / "OrderEntry.vbp";
    }

    // What is wrong with the output of the compiles of `vbp` (empty when nothing).
    static std::string spoiled(const fs::path& vbp) {
        const fs::path folder = vbp.parent_path();
        std::string wrong;
        for (const char* language : {"English", "German"}) {
            const fs::path chm = folder / "Corvane" / language / "OrderEntry_Context.chm";
            std::error_code error;
            if (!fs::is_regular_file(chm) || fs::file_size(chm, error) == 0)
                wrong += chm.string() + " missing or empty; ";
        }
        const fs::path placed = folder / "OrderEntry_Context.chm";
        if (!fs::exists(placed) || readFile(placed) != readFile(folder / "Corvane" / "English" / "OrderEntry_Context.chm"))
            wrong += "the help file beside the project is not the English one; ";
        ModMain settings;
        settings.newSelectedLanguages();
        HelpDataFile file(settings);
        ModuleRecords forms;
        NameList names;
        file.load(folder / "ContextHelp.txt", forms, names);
        if (!file.complete())
            wrong += "the data file: " + file.problemReport() + "; ";
        if (fs::exists(CompileLock::lockPathOf(folder / "Corvane")))
            wrong += "the lock was left; ";
        return wrong;
    }

    static std::string compileCommand(const fs::path& vbp) {
        return "timeout 120 " + shellQuoted(test::corvaneProgram().string()) + " compile --yes " +
               shellQuoted(vbp.string()) + " 2>&1";
    }

    Outcome compileHere(const fs::path& vbp) { return runCommandLine({"compile", "--yes", vbp.string()}); }

    TempDir dir_;
    test::ProgramFiles files_{dir_.path()};
    // The compiles run here find the build's help compilers as the program does beside them.
    test::ScopedEnvironment compilers_{"CORVANE_HELP_COMPILERS",
                                       (fs::path(CORVANE_BINARY_DIR) / "bin" / "helpcompilers").string()};
};

TEST_F(CompileRace, TwoCompilesAtOnceBothSucceedAndNeitherSpoilsTheOthersFiles) {
    constexpr int Runs = 10;
    int spoiledRuns = 0;
    for (int run = 0; run < Runs; ++run) {
        const fs::path vbp = project(run);
        ToolRun first, second;
        std::thread one([&] { first = runShell(compileCommand(vbp)); });
        std::thread two([&] { second = runShell(compileCommand(vbp)); });
        one.join();
        two.join();
        EXPECT_EQ(first.status, 0) << first.output;
        EXPECT_EQ(second.status, 0) << second.output;
        const std::string wrong = spoiled(vbp);
        EXPECT_EQ(wrong, "") << "run " << run;
        spoiledRuns += first.status != 0 || second.status != 0 || !wrong.empty() ? 1 : 0;
    }
    std::cout << "compile+compile: " << Runs << " runs, " << spoiledRuns << " spoiled\n";
}

TEST_F(CompileRace, ACompileHeldUpTooLongStopsNamingTheFolderAndTheHolder) {
    const fs::path vbp = project(0);
    const fs::path output = vbp.parent_path() / "Corvane";
    const std::string before = readFile(vbp.parent_path() / "ContextHelp.txt");
    // Another compile, held up (a question on its screen, a hung compiler).
    pid_t holder = test::holdMarkerInChild(CompileLock::lockPathOf(output), "compile");
    const auto wait = CompileLock::setWait(std::chrono::milliseconds(300));
    Outcome held = compileHere(vbp);
    CompileLock::setWait(wait);
    test::killAndWait(holder);

    EXPECT_EQ(held.status, 1);
    EXPECT_NE(held.err.find("corvane: waiting for another compile of this project to end (process " +
                            std::to_string(holder) + " on "),
              std::string::npos)
        << held.err;
    EXPECT_NE(held.err.find("corvane compile: Another compile (process " + std::to_string(holder) + " on "),
              std::string::npos)
        << held.err;
    EXPECT_NE(held.err.find(") is writing the help files in '" + output.string() + "': its lock file '" +
                            output.string() + ".lock' is held. Try again when that compile has ended.\n"),
              std::string::npos)
        << held.err;
    EXPECT_FALSE(fs::exists(output)) << "nothing was generated";
    EXPECT_EQ(readFile(vbp.parent_path() / "ContextHelp.txt"), before) << "nothing was saved";

    // The holder was killed: its lock file stays, and the next compile takes it over.
    ASSERT_TRUE(fs::exists(output.string() + ".lock"));
    Outcome next = compileHere(vbp);
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_NE(next.err.find("corvane: note: A compile of the help files in '" + output.string() + "' by process " +
                            std::to_string(holder) + " on "),
              std::string::npos)
        << next.err;
    EXPECT_NE(next.err.find(" did not finish; its lock was taken over."), std::string::npos) << next.err;
    EXPECT_EQ(spoiled(vbp), "");
}

} // namespace
} // namespace corvane::cli
