// The pieces of the help project writers: template filling, the WinHelp map and topics,
// the compiler command line and its quoting.
#include "files/FileFailures.h"
#include "generate/HelpCompilerRun.h"
#include "generate/HelpLanguage.h"
#include "generate/HtmlHelpProjectWriter.h"
#include "generate/TextReplace.h"
#include "generate/WinHelpProjectWriter.h"
#include "process/CommandLineSplit.h"
#include "testsupport/RtfChecker.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

// Writes the WinHelp templates into `dir` and has the writer read them.
void readTemplates(WinHelpProjectWriter& writer, const TempDir& dir, const std::string& project,
                   const std::string& document, const std::string& topic) {
    writeFile(dir / "template.hpj", project);
    writeFile(dir / "template.rtf", document);
    writeFile(dir / "templatetopic.rtf", topic);
    writer.readTemplates(dir.path());
}

TEST(GenerateWriters, WinHelpTemplatesIgnoreTokenCaseAndTheMapHoldsEachNumberOnce) {
    TempDir dir;
    WinHelpProjectWriter writer;
    readTemplates(writer, dir, "T=%projectname% %PROJECTNAME%\nHLP=%OutputFileName%\n",
                  "{\\rtf1\\ansi\\ansicpg1250 #{\\footnote %default_topic_id%}\n%DEFAULT_TOPIC_TITLE%\\par\n\\page\n",
                  "#{\\footnote IDH_%TOPIC_ID%}\n%TOPIC_TEXT%\\par\n\\page\n");
    std::string folder = (dir / "out").string() + "/";
    fs::create_directories(folder);
    writer.open(folder, "P");
    writer.addTopic(5, "a {b} \\ \xC5\x91");
    writer.addTopic(5, "");
    writer.addTopic(2, "two\r\nlines");
    writer.close();
    EXPECT_EQ(readFile(folder + "P_Context.hpj"), "T=P P\r\nHLP=" + folder + "P_Context.hlp\r\n\r\n");
    EXPECT_EQ(readFile(folder + "P.h"), "#define IDH_5 5\r\n#define IDH_2 2\r\n");
    std::string rtf = readFile(folder + "P_ContextTopics.rtf");
    EXPECT_EQ(rtf, "{\\rtf1\\ansi\\ansicpg1250 #{\\footnote IDC_DEFAULT_TOPIC}\r\nContext Sensitive Help file\\par\r\n\\page\r\n\r\n"
                   "#{\\footnote IDH_5}\r\na \\{b\\} \\\\ \\'f5\\par\r\n\\page\r\n\r\n"
                   "#{\\footnote IDH_5}\r\n\\par\r\n\\page\r\n\r\n"
                   "#{\\footnote IDH_2}\r\ntwo\\par lines\\par\r\n\\page\r\n\r\n}\r\n");
    EXPECT_TRUE(isWellFormedRtf(rtf));

    // A project without topics: the document start and "}", an empty map.
    writer.readTemplates(dir.path());
    writer.open(folder, "Q");
    writer.close();
    EXPECT_EQ(readFile(folder + "Q.h"), "");
    EXPECT_EQ(readFile(folder + "Q_ContextTopics.rtf"),
              "{\\rtf1\\ansi\\ansicpg1250 #{\\footnote IDC_DEFAULT_TOPIC}\r\nContext Sensitive Help file\\par\r\n\\page\r\n\r\n}\r\n");
    EXPECT_EQ(WinHelpProjectWriter::declaredCodePage("{\\rtf1\\ansi x"), 1252);
}

TEST(GenerateWriters, TheMapHoldsEveryNumberOnceWhateverItsSizeUntilTheTemplatesAreReadAgain) {
    TempDir dir;
    WinHelpProjectWriter writer;
    readTemplates(writer, dir, "", "{\\rtf1\\ansi\n", "%topic_id%:%Topic_Text%:%TOPIC_ID%:%OTHER%\n");
    std::string folder = dir.path().string() + "/";
    writer.open(folder, "P");
    const int32_t numbers[] = {3, 0, -7, 2147483647, 3, 100000, 0, -7, 2147483647, 1, 100000, 3};
    for (int32_t number : numbers)
        writer.addTopic(number, "t");
    writer.close();
    EXPECT_EQ(readFile(folder + "P.h"), "#define IDH_3 3\r\n#define IDH_0 0\r\n#define IDH_-7 -7\r\n"
                                        "#define IDH_2147483647 2147483647\r\n#define IDH_100000 100000\r\n"
                                        "#define IDH_1 1\r\n");
    std::string rtf = readFile(folder + "P_ContextTopics.rtf");
    EXPECT_EQ(countOf(rtf, ":t:"), 12u);
    EXPECT_NE(rtf.find("\n-7:t:-7:%OTHER%\r\n"), std::string::npos);

    // A map of more lines than are made at once is written whole, in order, each number once.
    writer.readTemplates(dir.path());
    writer.open(folder, "L");
    std::string expected;
    for (int32_t number = 1; number <= 10000; ++number) {
        writer.addTopic(number, "t");
        writer.addTopic(number / 2, "again"); // met before, except 0 the first time
        expected += "#define IDH_" + std::to_string(number) + " " + std::to_string(number) + "\r\n";
        if (number == 1)
            expected += "#define IDH_0 0\r\n";
    }
    writer.close();
    EXPECT_EQ(readFile(folder + "L.h"), expected);

    // Numbers in runs and out of them, across zero and at the ends of their range.
    writer.readTemplates(dir.path());
    writer.open(folder, "R");
    const int32_t mixed[] = {-2, -1, 0, 1, 5, 2147483646, 2147483647, -2147483647 - 1, 6, 4, 5, 7, 2};
    expected.clear();
    for (int32_t number : mixed) {
        writer.addTopic(number, "t");
        if (number != 5 || expected.find("IDH_5 ") == std::string::npos)
            expected += "#define IDH_" + std::to_string(number) + " " + std::to_string(number) + "\r\n";
    }
    writer.close();
    EXPECT_EQ(readFile(folder + "R.h"), expected);

    writer.readTemplates(dir.path()); // a new language: every number gets its map line again
    writer.open(folder, "Q");
    writer.addTopic(3, "");
    writer.addTopic(3, "");
    writer.close();
    EXPECT_EQ(readFile(folder + "Q.h"), "#define IDH_3 3\r\n");
}

TEST(GenerateWriters, ClosingAgainAfterAFailureEndsTheTopicDocumentOnceAndKeepsIt) {
    TempDir dir;
    WinHelpProjectWriter writer;
    readTemplates(writer, dir, "", "{\\rtf1\n", "%TOPIC_ID%:%TOPIC_TEXT%\n");
    std::string folder = dir.path().string() + "/";
    writer.open(folder, "P");
    writer.addTopic(4, "four");
    auto previous = setAtomicFaultInjector( // the commit cannot write
        [](AtomicStep step, const fs::path&) { return step == AtomicStep::Write ? ENOSPC : 0; });
    EXPECT_THROW(writer.close(), VbError);
    setAtomicFaultInjector(previous);
    writer.close(); // the step tried again
    EXPECT_EQ(readFile(folder + "P_ContextTopics.rtf"), "{\\rtf1\r\n\r\n4:four\r\n\r\n}\r\n");
    EXPECT_EQ(readFile(folder + "P.h"), "#define IDH_4 4\r\n");

    // A map that cannot be made (a folder has its name) costs nothing of the topic document.
    writer.readTemplates(dir.path());
    fs::create_directories(folder + "Q.h");
    EXPECT_THROW(writer.open(folder, "Q"), VbError);
    writer.addTopic(5, "five");
    EXPECT_THROW(writer.close(), VbError);
    EXPECT_EQ(readFile(folder + "Q_ContextTopics.rtf"), "{\\rtf1\r\n\r\n5:five\r\n\r\n}\r\n");
    EXPECT_THROW(writer.close(), VbError);
    EXPECT_EQ(readFile(folder + "Q_ContextTopics.rtf"), "{\\rtf1\r\n\r\n5:five\r\n\r\n}\r\n");
}

TEST(GenerateWriters, WinHelpProjectAndTopicsSpeakTheLanguagesCodePage) {
    TempDir dir;
    WinHelpProjectWriter writer;
    writer.readTemplates(fs::path(CORVANE_SOURCE_DIR) / "data", 1251, 0x419);
    EXPECT_EQ(writer.codePage(), 1251);
    std::string folder = dir.path().string() + "/";
    writer.open(folder, "P");
    writer.addTopic(1, "\xD0\x94\xD0\xB0 \xCE\xA9 \xF0\x9F\x98\x80"); // Да Ω 😀
    writer.close();
    std::string hpj = readFile(folder + "P_Context.hpj");
    EXPECT_NE(hpj.find("\r\nLCID=0x419 0x0 0x0\r\nCHARSET=204\r\n"), std::string::npos) << hpj;
    std::string rtf = readFile(folder + "P_ContextTopics.rtf");
    EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1251\\deff0\r\n{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n"))
        << rtf;
    // Characters of the code page as its bytes; the others as Unicode, the fallback.
    EXPECT_NE(rtf.find(" \\'c4\\'e0 \\u937? \\u-10179?\\u-8704?\\par"), std::string::npos) << rtf;
    EXPECT_TRUE(isWellFormedRtf(rtf));
    EXPECT_EQ(writer.codePageFor(932), 932);

    // A template that names a code page of its own keeps it, for every language, and the
    // character sets follow it.
    writeFile(dir / "own" / "template.rtf", "{\\rtf1\\ansi\\ansicpg1250{\\fcharset%CHARSET%}\n");
    writeFile(dir / "own" / "templatetopic.rtf", "%TOPIC_TEXT%\n");
    writeFile(dir / "own" / "template.hpj", "LCID=%lcid%\nCHARSET=%charset%\n");
    writer.readTemplates(dir / "own", 932, 0x411);
    EXPECT_EQ(writer.codePage(), 1250);
    EXPECT_EQ(writer.codePageFor(1251), 1250);
    writer.open(folder, "Q");
    writer.close();
    EXPECT_EQ(readFile(folder + "Q_Context.hpj"), "LCID=0x411\r\nCHARSET=238\r\n\r\n");
    EXPECT_EQ(readFile(folder + "Q_ContextTopics.rtf"), "{\\rtf1\\ansi\\ansicpg1250{\\fcharset238}\r\n\r\n}\r\n");

    EXPECT_EQ(charsetOfCodePage(1252), 0);
    EXPECT_EQ(charsetOfCodePage(950), 136);
    EXPECT_EQ(charsetOfCodePage(65001), 1);
    EXPECT_EQ(winHelpLcid(0x40C), "0x40c");
    EXPECT_EQ(withCrLf("a\nb\r\nc\rd\r\r\n\n"), "a\r\nb\r\nc\r\nd\r\n\r\n\r\n");
}

TEST(GenerateWriters, HtmlHelpProjectGetsTheLcidAndThePopupFileName) {
    EXPECT_EQ(HtmlHelpProjectWriter::fillProject("%ProjectName%|%TextPopups%|%Map%|%LCID%|%lcid%", "Ab", "Ab_ContextTopics.txt",
                                                 0x419),
              "Ab|Ab_ContextTopics.txt||0x0419|0x0419");
    HtmlHelpProjectWriter writer("/nowhere/", "Ab", 1251);
    writer.addTopic(3, "\xD0\x94\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(writer.popups().bytes(), ".topic 3\r\n\xC4\x88?\r\n\r\n");
    EXPECT_NE(writer.encodingWarnings().find("Warning: Ab_ContextTopics.txt, topic 3"), std::string::npos);
}

TEST(GenerateWriters, CommandLinesKeepEveryPathWholeAndRunNothingElse) {
    EXPECT_EQ(compilerCommandLine("\"c:/hhc.exe\" %1 %1", "\"x\""), "\"c:/hhc.exe\" \"x\" \"x\"");
    EXPECT_EQ(compilerCommandLine("hhc.exe \"%1\"", "\"a b\""), "hhc.exe \"a b\"");
    EXPECT_EQ(compilerCommandLine("hcrtf %1", " -x \"100%1\""), "hcrtf  -x \"100%1\"");
    EXPECT_EQ(compilerCommandLine("hhc %1x%", "Q"), "hhc Qx%");
    for (const std::string path : {"/a b/c.hhp", "/q\"uote/x.hhp", "/t\\\\\"ail\\", "/$(rm -rf x);`id`/&|*.hhp", ""}) {
        auto parts = splitWindowsCommandLine(compilerCommandLine("prog %1", quotedArgument(path)));
        ASSERT_EQ(parts.size(), 2u) << path;
        EXPECT_EQ(parts[1], path);
    }
    EXPECT_EQ(replaceAllIgnoreCase("Hhw.exe;HHW.EXE;hhw.ex", "hhw.exe", "hhc.exe"), "hhc.exe;hhc.exe;hhw.ex");
    EXPECT_EQ(replaceAll("aaa", "aa", "a"), "aa");
}

// The creation run shows the compiler's output only when it speaks of trouble in its own words.
TEST(GenerateWriters, CompilerOutputCountsAsMessagesOnlyInTheCompilersWords) {
    EXPECT_TRUE(hasCompilerMessages("Compiling P.hhp\nWarning: HHC3004: topic missing\n"));
    EXPECT_TRUE(hasCompilerMessages("Error: chmcmd failed with exit status 217\n"));
    EXPECT_TRUE(hasCompilerMessages("see Error:"));
    EXPECT_FALSE(hasCompilerMessages("Created \"P_Context.chm\", 3 bytes.\n"));
    EXPECT_FALSE(hasCompilerMessages("warning: lower case is not the compiler's\nERROR: nor this\n"));
    EXPECT_FALSE(hasCompilerMessages(""));
}

} // namespace
} // namespace corvane::test
