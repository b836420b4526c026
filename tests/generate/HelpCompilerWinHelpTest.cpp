// The WinHelp project template compiled by the stand-in WinHelp compiler, which writes the
// help file its options name, or fails to, so that both outcomes of a compile can be driven.
#include "files/FileReading.h"
#include "generate/HelpLanguage.h"
#include "generate/WinHelpProjectWriter.h"
#include "platform/AppFolders.h"
#include "process/ProcessRunner.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvane {
namespace {

namespace fs = std::filesystem;

// Writes the filled WinHelp project of `name` into `folder`, with its topics and map.
fs::path writeWinHelpProject(const fs::path& folder, const std::string& name) {
    std::string templ = withCrLf(readFileBytes(std::string(CORVANE_SOURCE_DIR) + "/data/template.hpj"));
    std::string text = WinHelpProjectWriter::fillProject(templ, name, (folder / (name + "_Context.hlp")).string(),
                                                         0x407, charsetOfCodePage(1252));
    fs::path project = folder / (name + "_Context.hpj");
    test::writeFile(project, text + "\r\n");
    test::writeFile(folder / (name + "_ContextTopics.rtf"), "{\\rtf1 x}\r\n");
    test::writeFile(folder / (name + ".h"), "#define IDH_1 1\r\n");
    return project;
}

struct RunResult {
    std::string output;
    int exitCode = 0;
};

RunResult compileWinHelp(const fs::path& project) {
    ProcessRunner runner;
    runner.Run("\"" CORVANE_FAKE_HCRTF "\" -x \"" + project.string() + "\"");
    return {runner.Output(), runner.ExitCode()};
}

TEST(HelpCompilerWinHelp, FilledTemplateNamesTopicsMapAndHelpFile) {
    test::TempDir dir;
    fs::path folder = dir / "My Project; $(x)" / "Corvane" / "English";
    fs::path project = writeWinHelpProject(folder, "OrderEntry");
    EXPECT_EQ(test::readFile(project),
              "; WinHelp project of the popup help of OrderEntry, written by Corvane.\r\n"
              "; Every topic is a popup named \"IDH_\" followed by its context number; the map ties\r\n"
              "; those names to the numbers the controls carry in WhatsThisHelpID. LCID and CHARSET are\r\n"
              "; the language's; its topic document declares the same code page and character set.\r\n"
              "[OPTIONS]\r\n"
              "TITLE=OrderEntry Context Help\r\n"
              "CONTENTS=IDC_DEFAULT_TOPIC\r\n"
              "COMPRESS=12 Hall Zeck\r\n"
              "ERRORLOG=OrderEntry_Context.log\r\n"
              "REPORT=Yes\r\n"
              "LCID=0x407 0x0 0x0\r\n"
              "CHARSET=0\r\n"
              "HLP=" + (folder / "OrderEntry_Context.hlp").string() + "\r\n"
              "\r\n"
              "[FILES]\r\n"
              "OrderEntry_ContextTopics.rtf\r\n"
              "\r\n"
              "[MAP]\r\n"
              "#include \"OrderEntry.h\"\r\n"
              "\r\n"
              "[WINDOWS]\r\n"
              "main=\"OrderEntry Context Help\",(100,100,600,400),0,,,0\r\n"
              "\r\n");
    RunResult run = compileWinHelp(project);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(test::readFile(folder / "OrderEntry_Context.hlp"), "fake help\n");
}

TEST(HelpCompilerWinHelp, StandInFailsWhenToldOrWhenAFileIsMissing) {
    test::TempDir dir;
    fs::path project = writeWinHelpProject(dir.path(), "P");
    platform::setEnvironmentVariable("CORVANE_FAKE_HCRTF_FAIL", "1");
    RunResult told = compileWinHelp(project);
    platform::setEnvironmentVariable("CORVANE_FAKE_HCRTF_FAIL", nullptr);
    EXPECT_EQ(told.exitCode, 1);
    EXPECT_EQ(told.output.rfind("Error: ", 0), 0u);
    EXPECT_FALSE(fs::exists(dir / "P_Context.hlp"));

    fs::remove(dir / "P.h");
    RunResult noMap = compileWinHelp(project);
    EXPECT_EQ(noMap.output, "Error: HC3011: file not found: " + (dir / "P.h").string() + "\n");
    EXPECT_FALSE(fs::exists(dir / "P_Context.hlp"));
}

} // namespace
} // namespace corvane
