// Names taken from project files never lead a generated file out of the project's folder:
// a project or language name that holds a path, a drive, a device or control characters is
// mapped to a safe file name, the compile log says so, and the compile still works.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

using HostileNames = ProjectCopy;

TEST_F(HostileNames, AProjectNamedWithAPathWritesNothingOutsideTheProjectFolder) {
    edit("OrderEntry.vbp", "Name=\"OrderEntry\"", "Name=\"../../../outside/evil\"");
    // Where the names would lead: from the language folders and from the project's folder.
    const fs::path outside = dir_ / "a" / "b" / "c" / "outside";
    const fs::path besideProjectOutside = dir_ / "a" / "outside";
    test::writeFile(outside / "evil.h", "#define KEEP 1\n");
    test::writeFile(besideProjectOutside / "evil_Context.chm", "not a help file");
    const auto before = snapshot(dir_ / "a", folder());

    Outcome result = runCommandLine({"compile", project(), "--yes"});

    EXPECT_EQ(changedEntries(before, snapshot(dir_ / "a", folder())), std::vector<std::string>{})
        << result.out << result.err;
    EXPECT_EQ(test::readFile(outside / "evil.h"), "#define KEEP 1\n");
    const std::string safe = "___.._.._outside_evil";
    for (const char* language : {"English", "German"}) {
        const std::vector<std::string> files{safe + ".h",           safe + "_Context.hhp",
                                             safe + "_Context.hpj", safe + "_ContextTopics.rtf",
                                             safe + "_ContextTopics.txt", safe + "_Context.chm"};
        for (const std::string& file : files)
            EXPECT_TRUE(fs::exists(folder() / "Corvane" / language / file)) << language << " " << file;
    }
    EXPECT_TRUE(fs::exists(folder() / (safe + "_Context.chm")));
    // The compiler was told the safe names too: its project names no other file.
    EXPECT_NE(test::readFile(folder() / "Corvane" / "English" / (safe + "_Context.hhp"))
                  .find("Compiled file=" + safe + "_Context.chm\r\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("Note: The project name \"../../../outside/evil\" cannot be a file name (it holds a "
                              "path separator); its help files are written under the name \"" +
                              safe + "\" instead.\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.status, 0) << result.out << result.err;
}

TEST_F(HostileNames, LanguageAndDeviceNamesAreMappedToo) {
    edit("OrderEntry.vbp", "Name=\"OrderEntry\"", "Name=\"CON\"");
    test::writeFile(dataFile(), test::replaceEvery(test::readFile(dataFile()), "\"German\"", "\"../../../../lang\""));
    // A language folder "../../../../lang" would be "a/b/lang" of the test's folder.
    const auto before = snapshot(dir_ / "a", folder());

    Outcome result = runCommandLine({"compile", project(), "--yes"});

    EXPECT_EQ(changedEntries(before, snapshot(dir_ / "a", folder())), std::vector<std::string>{})
        << result.out << result.err;
    // Only the map file's name is a device's: the others keep the project's name.
    EXPECT_TRUE(fs::exists(folder() / "Corvane" / "English" / "CON_.h"));
    EXPECT_TRUE(fs::exists(folder() / "Corvane" / "English" / "CON_Context.chm"));
    EXPECT_NE(test::readFile(folder() / "Corvane" / "English" / "CON_Context.hpj").find("#include \"CON_.h\""),
              std::string::npos);
    EXPECT_TRUE(fs::exists(folder() / "Corvane" / "___.._.._.._lang" / "CON_ContextTopics.txt"));
    EXPECT_TRUE(fs::exists(folder() / "CON_Context.chm"));
    EXPECT_FALSE(fs::exists(folder() / "Corvane" / "English" / "CON.h"));
    EXPECT_NE(result.out.find("Note: The WinHelp map file of the project \"CON\" cannot be named \"CON.h\" (it is the "
                              "name of a device); it is written as \"CON_.h\" instead.\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Note: The language name \"../../../../lang\" cannot be a file name (it holds a path "
                              "separator); its help files are written under the name \"___.._.._.._lang\" instead.\n"),
              std::string::npos)
        << result.out;
}

} // namespace
} // namespace corvane::cli
