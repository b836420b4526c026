// `corvane addin register|unregister`: the VB6 add-in beside the program registered and removed
// for the current user through the system's regsvr32 (Windows), or a clear word elsewhere.
#include "cli/CommandOutcome.h"
#include "platform/ChildProcess.h"
#include "platform/Machine.h"
#include "platform/Utf8Path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

const std::string Usage = "usage: corvane addin register|unregister\n";

TEST(AddinCommand, WrongArgumentsGetTheUsageAndStatusTwo) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"addin"}, {"addin", "install"}, {"addin", "register", "again"}, {"addin", "Register"}}) {
        Outcome outcome = runCommandLine(arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, Usage);
    }
}

#ifndef _WIN32
TEST(AddinCommand, ElsewhereThanWindowsItSaysWhereTheAddinLives) {
    Outcome registering = runCommandLine({"addin", "register"});
    EXPECT_EQ(registering.status, 2);
    EXPECT_EQ(registering.out, "");
    EXPECT_EQ(registering.err, "corvane: the VB6 add-in exists only on Windows: there 'corvane addin register' "
                               "registers corvane-addin.dll beside corvane.exe for the current user\n");
    Outcome removing = runCommandLine({"addin", "unregister"});
    EXPECT_EQ(removing.status, 2);
    EXPECT_EQ(removing.err, "corvane: the VB6 add-in exists only on Windows: there 'corvane addin unregister' "
                            "unregisters corvane-addin.dll beside corvane.exe for the current user\n");
}
#else
bool addinKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Visual Basic\\6.0\\Addins\\Corvane.Wizard", 0,
                        KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

TEST(AddinCommand, OnWindowsTheDllBesideTheProgramIsRegisteredAndRemoved) {
    const fs::path dll = platform::currentProgramFile().parent_path() / "corvane-addin.dll";
    const std::string shown = platform::utf8Of(dll);
    fs::remove(dll);
    Outcome missing = runCommandLine({"addin", "register"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "corvane: no VB6 add-in beside the program: " + shown + " is missing\n");

    std::ofstream(dll, std::ios::binary) << "MZ but no more";
    Outcome notDll = runCommandLine({"addin", "register"});
    EXPECT_EQ(notDll.status, 2);
    EXPECT_EQ(notDll.err, "corvane: " + shown + " is not a Windows DLL\n");
    EXPECT_FALSE(addinKeyExists());

    fs::remove(dll); // MinGW's copy_file does not overwrite
    fs::copy_file(platform::pathFromUtf8(CORVANE_VB6ADDIN_DLL), dll);
    Outcome registered = runCommandLine({"addin", "register"});
    EXPECT_EQ(registered.status, 0) << registered.err;
    EXPECT_EQ(registered.out, "corvane: the VB6 add-in is registered for the current user: " + shown + "\n");
    EXPECT_TRUE(addinKeyExists());
    Outcome removed = runCommandLine({"addin", "unregister"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(removed.out, "corvane: the VB6 add-in is no longer registered for the current user: " + shown + "\n");
    EXPECT_FALSE(addinKeyExists());
    fs::remove(dll);
}
#endif

} // namespace
} // namespace corvane::cli
