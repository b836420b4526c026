// Messages name the real cause and the file: a damaged registry is a registry problem (and no
// reason for export or coverage to stop), a read-only project folder is read-only, and a save
// that fails says why.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"
#include "platform/AppFolders.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::runShell;
using test::shellQuoted;

using MisleadingMessages = ProjectCopy;

TEST_F(MisleadingMessages, ADamagedRegistryIsAWarningAboutTheRegistry) {
    const std::string warning = "warning: [Registry file damaged] The registry file '" +
                                (dir_ / "registry.reg").string() + "' is malformed: ";
    for (const std::string command : {"coverage", "export"}) {
        SCOPED_TRACE(command);
        // A damage of its own for each command (a damage is shown once per version of the file).
        test::writeFile(dir_ / "registry.reg", command + "\n[HKEY_CURRENT_USER\\Software\n");
        std::vector<std::string> arguments{command, project()};
        if (command == "export")
            arguments.insert(arguments.end(), {"--language", "German", "-o", (dir_ / "German.xlf").string()});
        Outcome result = runCommandLine(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find("corvane " + command + ": " + warning), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("help text"), std::string::npos) << result.err;
    }
    EXPECT_TRUE(fs::exists(dir_ / "German.xlf"));
}

TEST_F(MisleadingMessages, AReadOnlyProjectFolderIsCalledReadOnly) {
    if (std::filesystem::path::preferred_separator != '/')
        GTEST_SKIP() << "a folder is read-only on Windows only through its access list, and Wine runs as administrator";
    // Root may write anywhere: as root the program runs as the user "nobody", who may read the
    // test's files but write none of them.
    const bool root = platform::runsAsAdministrator();
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.path()))
        fs::permissions(entry.path(), entry.is_directory() ? readable | fs::perms::group_exec | fs::perms::others_exec
                                                           : readable);
    fs::permissions(dir_.path(), readable | fs::perms::group_exec | fs::perms::others_exec);
    if (!root)
        fs::permissions(folder(), fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    const std::string asUser = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    test::ToolRun run = runShell("CORVANE_HELP_COMPILERS=" + shellQuoted(compilers().string()) + " timeout 120 " +
                                 asUser + shellQuoted(test::corvaneProgram().string()) + " compile " +
                                 shellQuoted(project()));
    if (!root)
        fs::permissions(folder(), fs::perms::owner_all, fs::perm_options::replace); // for the clean-up
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("Cannot create '" + (folder() / "Corvane" / "English").string() +
                              "/OrderEntry_Context.hpj': the folder does not exist, and it cannot be made: '" +
                              folder().string() + "' is read-only"),
              std::string::npos)
        << run.output;
    // The save of the data file that follows fails naming the data file and its read-only folder.
    const size_t save = run.output.find("error 75 in frmWizard.ExitApp: Cannot write ");
    ASSERT_NE(save, std::string::npos) << run.output;
    const std::string saveLine = run.output.substr(save, run.output.find('\n', save) - save);
    EXPECT_NE(saveLine.find("Cannot write '" + dataFile().string() + "': its folder '" + folder().string() +
                            "' is read-only (Permission denied)"),
              std::string::npos)
        << saveLine;
    EXPECT_EQ(run.output.find("the folder does not exist\n"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(": \n"), std::string::npos) << run.output;
}

TEST_F(MisleadingMessages, AFailedSaveSaysWhy) {
    // The scan drops the records of the example's vanished controls: the save has to write, and
    // the data file, checked out read-only, refuses it.
    fs::permissions(dataFile(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::replace);
    Outcome result = runCommandLine({"scan", project(), "--save"});
    fs::permissions(dataFile(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("corvane: error 65535 in frmWizard.timExitApp_Timer: error 75 in frmWizard.ExitApp: "
                              "The file '" + dataFile().string() + "' is read-only; it was not replaced.\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find(": \n"), std::string::npos) << result.err;
}

} // namespace
} // namespace corvane::cli
