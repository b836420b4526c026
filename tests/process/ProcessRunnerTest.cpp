#include "platform/AppFolders.h"
#include "process/ProcessRunner.h"

#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>

namespace corvane {
namespace {

namespace fs = std::filesystem;

const std::string kHelper = CORVANE_PRINT_ARGS;

// The helper's path quoted for a command line.
std::string helper() { return "\"" + kHelper + "\""; }

std::string run(const std::string& commandLine, int* exitCode = nullptr) {
    ProcessRunner runner;
    runner.Run(commandLine);
    if (exitCode != nullptr)
        *exitCode = runner.ExitCode();
    return runner.Output();
}

using test::errorOf;

// A copy of the helper under another name, executable.
fs::path copyHelper(const fs::path& target) {
    fs::create_directories(target.parent_path());
    fs::copy_file(kHelper, target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_all);
    return target;
}

int openDescriptorCount() {
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST(ProcessRunner, ArgumentsArriveExactlyWithoutAnyShell) {
    test::TempDir dir;
    test::writeFile(dir / "x; touch pwned", "data");
    ProcessRunner runner;
    runner.SetWorkingDirectory(dir.path());
    runner.Run(helper() + R"( "a b" plain "x; touch pwned" $(touch pwned2) `touch pwned3` | * "q\"uote" "" 'single' > out.txt & echo)");
    EXPECT_EQ(runner.Output(), "[a b]\n[plain]\n[x; touch pwned]\n[$(touch]\n[pwned2)]\n[`touch]\n[pwned3`]\n"
                               "[|]\n[*]\n[q\"uote]\n[]\n['single']\n[>]\n[out.txt]\n[&]\n[echo]\n");
    EXPECT_EQ(runner.ExitCode(), 0);
    for (const char* name : {"pwned", "pwned2", "pwned3", "out.txt"})
        EXPECT_FALSE(fs::exists(dir / name)) << name;
}

TEST(ProcessRunner, RunsAProgramWhosePathHasBlanksAndShellCharacters) {
    test::TempDir dir;
    fs::path program = copyHelper(dir / "my tools" / "x; touch pwned");
    ProcessRunner runner;
    runner.SetWorkingDirectory(dir.path());
    runner.Run("\"" + program.string() + "\" \"" + (dir / "My Project" / "P_Context.hhp").string() + "\"");
    EXPECT_EQ(runner.Output(), "[" + (dir / "My Project" / "P_Context.hhp").string() + "]\n");
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    EXPECT_FALSE(fs::exists(dir / "my tools" / "pwned"));
}

TEST(ProcessRunner, CapturesStandardErrorInterleavedAndReportsExitCodes) {
    int code = -1;
    EXPECT_EQ(run(helper() + " one --stderr=warning two --exit=3", &code), "[one]\nwarning\n[two]\n");
    EXPECT_EQ(code, 3);

    std::string expected;
    for (int i = 1; i <= 200; ++i)
        expected += "out " + std::to_string(i) + "\nerr " + std::to_string(i) + "\n";
    EXPECT_EQ(run(helper() + " --interleave=200", &code), expected);
    EXPECT_EQ(code, 0);

    EXPECT_EQ(run(helper() + " before --signal=15 after", &code), "[before]\n");
    EXPECT_EQ(code, 128 + 15);
    run(helper() + " --exit=255", &code);
    EXPECT_EQ(code, 255);
}

TEST(ProcessRunner, ReadsOutputOfManyMegabytesWithoutBlocking) {
    int code = -1;
    std::string output = run(helper() + " --megabytes=8 --stderr=done", &code);
    ASSERT_EQ(output.size(), 8u * 1024 * 1024 + 5);
    EXPECT_EQ(code, 0);
    std::string expected;
    for (size_t i = 0; i < 8u * 1024 * 1024 / 16; ++i)
        expected += "0123456789abcdef";
    expected += "done\n";
    EXPECT_TRUE(output == expected); // not EXPECT_EQ: a failure would print 8 MB
}

TEST(ProcessRunner, MissingOrUnusableProgramsRaiseFileNotFoundNamingThem) {
    test::TempDir dir;
    VbError missing = errorOf([] { run("corvane-no-such-program-4711 arg"); });
    EXPECT_EQ(missing.number(), 53);
    EXPECT_NE(missing.description().find("\"corvane-no-such-program-4711\""), std::string::npos) << missing.description();

    std::string absent = (dir / "no dir" / "tool").string();
    VbError noFile = errorOf([&] { run("\"" + absent + "\" x"); });
    EXPECT_EQ(noFile.number(), 53);
    EXPECT_NE(noFile.description().find(absent), std::string::npos) << noFile.description();

    test::writeFile(dir / "script.txt", "touch pwned\n");
    fs::permissions(dir / "script.txt", fs::perms::owner_read | fs::perms::owner_write);
    VbError notExecutable = errorOf([&] { run((dir / "script.txt").string()); });
    EXPECT_EQ(notExecutable.number(), 53);
    EXPECT_NE(notExecutable.description().find("script.txt"), std::string::npos);

    // executable but not a program: the system refuses it and no shell steps in
    fs::permissions(dir / "script.txt", fs::perms::owner_all);
    ProcessRunner inDir;
    inDir.SetWorkingDirectory(dir.path());
    VbError noFormat = errorOf([&] { inDir.Run((dir / "script.txt").string()); });
    EXPECT_EQ(noFormat.number(), 53);
    EXPECT_NE(noFormat.description().find("(" + std::string(std::strerror(ENOEXEC)) + ")"), std::string::npos)
        << noFormat.description();
    EXPECT_FALSE(fs::exists(dir / "pwned"));

    EXPECT_EQ(errorOf([&] { run(dir.path().string()); }).number(), 53); // a folder
    EXPECT_EQ(errorOf([] { run("   "); }).number(), 5);
    EXPECT_EQ(errorOf([] { run("\"\" x"); }).number(), 5);
}

TEST(ProcessRunner, FindsProgramsInPathSkippingFilesThatCannotRun) {
    test::TempDir dir;
    test::writeFile(dir / "first" / "corvane-helper-copy", "not a program");
    copyHelper(dir / "second" / "corvane-helper-copy");
    std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    platform::setEnvironmentVariable("PATH", ((dir / "first").string() + platform::PathListSeparator + (dir / "second").string()).c_str());
    std::string output;
    EXPECT_NO_THROW(output = run("corvane-helper-copy found"));
    platform::setEnvironmentVariable("PATH", oldPath.c_str());
    EXPECT_EQ(output, "[found]\n");
}

TEST(ProcessRunner, StartsInTheWorkingFolderAndRefusesAMissingOne) {
    test::TempDir dir;
    ProcessRunner runner;
    runner.SetWorkingDirectory(dir.path());
    runner.Run(helper() + " --cwd");
    EXPECT_EQ(runner.Output(), "[" + fs::canonical(dir.path()).string() + "]\n");

    runner.SetWorkingDirectory(dir / "gone");
    VbError error = errorOf([&] { runner.Run(helper() + " x"); });
    EXPECT_EQ(error.number(), 75);
    EXPECT_NE(error.description().find((dir / "gone").string()), std::string::npos);

    runner.SetWorkingDirectory({});
    runner.Run(helper() + " --cwd");
    EXPECT_EQ(runner.Output(), "[" + fs::current_path().string() + "]\n");
}

TEST(ProcessRunner, LeaksNoDescriptorsIntoTheChildOrThisProcess) {
    int before = openDescriptorCount();
    EXPECT_EQ(run(helper() + " --fds"), "");
    for (int i = 0; i < 20; ++i)
        run(helper() + " x");
    EXPECT_EQ(openDescriptorCount(), before);
}

TEST(ProcessRunner, KeepsItsSettingsAndStartsEachRunAfresh) {
    ProcessRunner runner;
    runner.SetWindowStyle(0);
    runner.SetTitle("Corvane Compilation");
    runner.SetWaitForExit(true);
    EXPECT_EQ(runner.Title(), "Corvane Compilation");
    EXPECT_EQ(runner.WindowStyle(), 0);
    EXPECT_TRUE(runner.WaitForExit());
    runner.Run(helper() + " first --exit=4");
    EXPECT_EQ(runner.ExitCode(), 4);
    runner.Run(helper() + " second");
    EXPECT_EQ(runner.Output(), "[second]\n");
    EXPECT_EQ(runner.ExitCode(), 0);
    EXPECT_THROW(runner.Run("corvane-no-such-program-4711"), VbError);
    EXPECT_EQ(runner.Output(), "");
}

// True while the process runs (a zombie nobody reaped yet has ended).
bool running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// The process id a helper run printed as "[pid N]" (0 when none).
pid_t printedPid(const std::string& output) {
    size_t at = output.find("[pid ");
    return at == std::string::npos ? 0 : static_cast<pid_t>(std::atoi(output.c_str() + at + 5));
}

// Waits up to two seconds for the process to end.
bool ends(pid_t pid) {
    for (int i = 0; i < 200 && running(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !running(pid);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every program below sleeps 30 seconds at most: should the runner not stop it, the test
// still ends by itself, failing on the time it took.
TEST(ProcessRunner, TimeLimitEndsTheProgramAndEverythingItStarted) {
    ProcessRunner runner;
    runner.setTimeLimit(std::chrono::milliseconds(300));
    auto start = std::chrono::steady_clock::now();
    runner.Run(helper() + " before --helper-sleeps=30 --sleep=30 after");
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_EQ(runner.ended(), RunEnd::TimedOut);
    EXPECT_EQ(runner.ExitCode(), 128 + 9);
    EXPECT_EQ(runner.Output().substr(0, 9), "[before]\n"); // what came before the end is kept
    pid_t helperPid = printedPid(runner.Output());
    ASSERT_GT(helperPid, 0) << runner.Output();
    EXPECT_TRUE(ends(helperPid)) << "the process the program started lives on";

    // A program that closed its output and runs on is ended too.
    start = std::chrono::steady_clock::now();
    runner.Run(helper() + " --close-output --sleep=30");
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_EQ(runner.ended(), RunEnd::TimedOut);

    // Within the limit nothing changes.
    runner.Run(helper() + " quick --exit=3");
    EXPECT_EQ(runner.ended(), RunEnd::Exited);
    EXPECT_EQ(runner.ExitCode(), 3);
    EXPECT_EQ(runner.Output(), "[quick]\n");
}

TEST(ProcessRunner, StopRequestIsAskedWhileTheProgramRunsAndEndsIt) {
    ProcessRunner runner;
    int asked = 0;
    runner.setStopRequest([&] { return ++asked == 3; });
    auto start = std::chrono::steady_clock::now();
    runner.Run(helper() + " --helper-sleeps=30 --sleep=30");
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(runner.ended(), RunEnd::Cancelled);
    pid_t helperPid = printedPid(runner.Output());
    ASSERT_GT(helperPid, 0) << runner.Output();
    EXPECT_TRUE(ends(helperPid));

    // A request that never comes leaves the run to its end.
    runner.setStopRequest([] { return false; });
    runner.Run(helper() + " done");
    EXPECT_EQ(runner.ended(), RunEnd::Exited);
    EXPECT_EQ(runner.Output(), "[done]\n");
}

} // namespace
} // namespace corvane
