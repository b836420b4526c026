#include "generate/CompilerRegistration.h"
#include "platform/AppFolders.h"

#include "files/AtomicFile.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TempDir.h"
#include "vbruntime/CaseFold.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Result = CompilerRegistrationResult;

// A folder holding a file named hhc.exe.
fs::path frontEndFolder(const fs::path& folder) {
    test::writeFile(folder / "hhc.exe", "front end");
    return folder;
}

std::string command(RegistryAccess& registry) {
    return registry.GetValue(RegistryRoot::LocalMachine, HhpCommandKey, "");
}

TEST(HelpCompilerRegistration, WritesTheWorkshopCommandOnceAndNeverAgain) {
    test::TempDir dir;
    RegistryAccess registry(dir / "registry.reg");
    fs::path folder = frontEndFolder(dir / "helpcompilers");
    EXPECT_EQ(registerHtmlHelpCompiler(registry, folder), Result::Registered);
    EXPECT_EQ(command(registry), "\"" + (folder / "hhw.exe").string() + "\" %1");
    for (auto key : {HhpClassKey, HhpShellKey, HhpOpenKey, HhpCommandKey})
        EXPECT_TRUE(registry.KeyExists(RegistryRoot::LocalMachine, key)) << key;

    std::string written = test::readFile(dir / "registry.reg");
    fs::path other = frontEndFolder(dir / "other");
    EXPECT_EQ(registerHtmlHelpCompiler(registry, other), Result::KeptExisting);
    EXPECT_EQ(test::readFile(dir / "registry.reg"), written);
}

TEST(HelpCompilerRegistration, KeepsTheUsersOwnAssociation) {
    test::TempDir dir;
    RegistryAccess registry(dir / "registry.reg");
    const std::string users = "\"C:\\Program Files\\HTML Help Workshop\\HHW.EXE\" \"%1\"";
    registry.SetValue(RegistryRoot::LocalMachine, HhpCommandKey, "", users);
    registry.SetValue(RegistryRoot::LocalMachine, HhpOpenKey, "", "Open");
    EXPECT_EQ(registerHtmlHelpCompiler(registry, frontEndFolder(dir / "helpcompilers")), Result::KeptExisting);
    EXPECT_EQ(command(registry), users);
    EXPECT_EQ(registry.GetValue(RegistryRoot::LocalMachine, HhpOpenKey, ""), "Open");

    // A command key whose default value is empty counts as no association.
    RegistryAccess empty(dir / "empty.reg");
    empty.CreateKey(RegistryRoot::LocalMachine, HhpCommandKey);
    empty.SetValue(RegistryRoot::LocalMachine, HhpCommandKey, "Other", "x");
    EXPECT_EQ(registerHtmlHelpCompiler(empty, frontEndFolder(dir / "helpcompilers")), Result::Registered);
    EXPECT_EQ(empty.GetValue(RegistryRoot::LocalMachine, HhpCommandKey, "Other"), "x");
}

TEST(HelpCompilerRegistration, BuildsCommandsTheLookupTurnsIntoTheFrontEnd) {
    EXPECT_EQ(workshopCommand("/opt/help compilers; $(rm -rf x) `y` &"),
              "\"/opt/help compilers; $(rm -rf x) `y` &/hhw.exe\" %1");
    EXPECT_EQ(workshopCommand("/opt/a\"b;$(c)"), "/opt/a\"b;$(c)/hhw.exe %1");
    EXPECT_EQ(workshopCommand("/opt/caf\xc3\xa9"), "\"/opt/caf\xc3\xa9/hhw.exe\" %1");
    EXPECT_EQ(workshopCommand("/opt/a \"b\""), std::nullopt);     // quotes and blanks
    // The folder's letter case never matters: the lookup keeps the command's spelling.
    EXPECT_EQ(workshopCommand("/home/User/bin"), "\"/home/User/bin/hhw.exe\" %1");
    EXPECT_EQ(workshopCommand("/opt/Corvane/Help Compilers"), "\"/opt/Corvane/Help Compilers/hhw.exe\" %1");
    EXPECT_EQ(workshopCommand("/opt/\xc3\x89t\xc3\xa9"), "\"/opt/\xc3\x89t\xc3\xa9/hhw.exe\" %1");
    EXPECT_EQ(workshopCommand("/opt/hhw.exe.d"), std::nullopt);   // the lookup renames the folder too
    EXPECT_EQ(workshopCommand("/opt/HHW.Exe.d"), std::nullopt);   // in any letter case
}

TEST(HelpCompilerRegistration, FolderWithCapitalsIsRegisteredAndTheProgramOfACommandIsFound) {
    test::TempDir dir;
    RegistryAccess registry(dir / "registry.reg");
    fs::path capitals = frontEndFolder(dir / "Corvane" / "Help Compilers");
    EXPECT_EQ(registerHtmlHelpCompiler(registry, capitals), Result::Registered);
    EXPECT_EQ(command(registry), "\"" + (capitals / "hhw.exe").string() + "\" %1");

    EXPECT_EQ(commandProgram("\"/a b/hhc.exe\" \"%1\""), "/a b/hhc.exe");
    EXPECT_EQ(commandProgram(""), "");
    EXPECT_TRUE(commandCanStart("sh -c x"));           // found in PATH
    EXPECT_FALSE(commandCanStart((capitals / "hhc.exe").string() + " %1")); // not executable
    fs::permissions(capitals / "hhc.exe", fs::perms::owner_all);
    EXPECT_TRUE(commandCanStart("\"" + (capitals / "hhc.exe").string() + "\" %1"));
    EXPECT_FALSE(commandCanStart("\"" + (dir / "gone" / "hhc.exe").string() + "\" %1"));
    EXPECT_FALSE(commandCanStart("no-such-program-anywhere %1"));
    EXPECT_FALSE(commandCanStart(""));
}

TEST(HelpCompilerRegistration, WritesNothingForAFolderItCannotUse) {
    test::TempDir dir;
    RegistryAccess registry(dir / "registry.reg");
    fs::path renamed = frontEndFolder(dir / "HHW.EXE files");
    EXPECT_EQ(registerHtmlHelpCompiler(registry, renamed), Result::FolderUnusable);
    EXPECT_NE(registrationProblem(Result::FolderUnusable, renamed).find("without \"hhw.exe\" in its name"),
              std::string::npos);
    EXPECT_EQ(registerHtmlHelpCompiler(registry, dir / "empty"), Result::FrontEndMissing);
    EXPECT_EQ(registrationProblem(Result::FrontEndMissing, dir / "empty"),
              "The HTML Help compiler front end \"" + (dir / "empty" / "hhc.exe").string() + "\" does not exist.");
    EXPECT_EQ(registrationProblem(Result::Registered, dir / "empty"), "");
    EXPECT_FALSE(fs::exists(dir / "registry.reg"));
}

TEST(HelpCompilerRegistration, FolderComesFromTheEnvironmentFirst) {
    platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", "/opt/corvane/hc");
    EXPECT_EQ(helpCompilerFolder(), fs::path("/opt/corvane/hc"));
    platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", nullptr);
    EXPECT_EQ(helpCompilerFolder().filename(), "helpcompilers");
}

} // namespace
} // namespace corvane
