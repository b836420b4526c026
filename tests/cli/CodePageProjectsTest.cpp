// Projects saved on Windows of other code pages (made with iconv) through the command line:
// `scan --json` reads their names and captions right without an option, `compile` makes and
// compiles (with chmcmd) help projects in each language's code page and writes back nothing but
// the numbers and the help file setting, `export` hands the texts out right, and the option
// --codepage is taken, stored and refused when it names no code page.
#include "cli/CommandOutcome.h"
#include "platform/AppFolders.h"
#include "platform/Utf8Path.h"
#include "testsupport/CodePageProjects.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::CodePageProject;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The lines of `text` without those holding `what`.
std::string withoutLinesHolding(const std::string& text, const std::string& what) {
    std::string kept;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        if (line.find(what) == std::string::npos)
            kept += line;
        start = end;
    }
    return kept;
}

// A data file with help text for every control in `language` (the project's text) and, unless
// `english` is false, in English (in words Windows-1252 holds: a text the language's code page
// cannot hold is the writer's to mend, and the compile asks before it goes on).
std::string dataFile(const CodePageProject& sample, const std::string& language, bool english = true) {
    std::string data = "<Root CurrentLanguage=\"" + language + "\" PrimaryLanguage=\"" + language +
                       "\" GenerateHTML=\"True\" CompileHTML=\"True\" GenerateWinHelp=\"True\" "
                       "CompileWinHelp=\"False\"><SelectedLanguage Name=\"" + language + "\"/>" +
                       (english ? "<SelectedLanguage Name=\"English\"/>" : "") + "<VBComponent ComponentName=\"frmMain\">";
    for (const std::string& control : {std::string("lstItems"), std::string("lblAddress"), sample.cancelName,
                                       std::string("cmdOpen")}) {
        data += "<HelpItem ComponentName=\"frmMain\" ControlName=\"" + control +
                "\" ContextHelpID=\"0\" ControlType=\"\" Caption=\"\"><HelpText Language=\"" + language + "\">" +
                sample.comment + " " + control + "</HelpText>";
        if (english)
            data += "<HelpText Language=\"English\">Help on " +
                    (control == sample.cancelName ? std::string("Cancel") : control) + "</HelpText>";
        data += "</HelpItem>";
    }
    return data + "</VBComponent></Root>\n";
}

// The popup file of the project's language: the topics in the order of the form's controls, as
// iconv encodes them.
std::string popupFile(const CodePageProject& sample) {
    std::string topics;
    int topic = 0;
    for (const std::string& control : {std::string("lstItems"), std::string("lblAddress"), sample.cancelName,
                                       std::string("cmdOpen")})
        topics += ".topic " + std::to_string(++topic) + "\r\n" + sample.comment + " " + control + "\r\n\r\n";
    return test::encodedWithIconv(topics, sample.iconvName);
}

class CodePageProjects : public ::testing::Test {
protected:
    CodePageProjects() {
        platform::setEnvironmentVariable("CORVANE_REGISTRY", (dir_ / "registry.reg").string().c_str());
        platform::setEnvironmentVariable("CORVANE_ERROR_LOG", (dir_ / "errors.log").string().c_str());
        platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", (fs::path(CORVANE_BINARY_DIR) / "bin" / "helpcompilers").string().c_str());
    }
    ~CodePageProjects() override {
        platform::setEnvironmentVariable("CORVANE_REGISTRY", nullptr);
        platform::setEnvironmentVariable("CORVANE_ERROR_LOG", nullptr);
        platform::setEnvironmentVariable("CORVANE_HELP_COMPILERS", nullptr);
    }

    // The project's texts as scan --json gives them.
    void expectScannedRight(const CodePageProject& sample, const fs::path& vbp, std::vector<std::string> extra = {}) {
        std::vector<std::string> arguments{"scan", vbp.string(), "--json"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        Outcome scan = runCommandLine(arguments);
        ASSERT_EQ(scan.status, 0) << scan.err << scan.out;
        EXPECT_NE(scan.out.find("{\"project\": {\"name\": " + quoted(sample.projectName)), std::string::npos) << scan.out;
        for (const auto& [key, caption] : {std::pair(sample.cancelName, sample.cancelCaption),
                                           std::pair(std::string("cmdOpen"), sample.openCaption),
                                           std::pair(std::string("lblAddress"), sample.labelCaption)})
            EXPECT_NE(scan.out.find("{\"key\": " + quoted(key) + ", \"type\": \"" +
                                    (key == "lblAddress" ? "Label" : "CommandButton") + "\", \"caption\": " +
                                    quoted(caption)),
                      std::string::npos)
                << key << "\n" << scan.out;
        EXPECT_EQ(scan.out.find("warnings"), std::string::npos) << scan.out;
    }

    // The help file's path in UTF-8 (the names are the project's, in any script).
    std::string chmFile(const fs::path& folder, const std::string& language, const std::string& name) const {
        return platform::utf8Of(folder / "Corvane" / language / platform::pathFromUtf8(name + "_Context.chm"));
    }

    test::TempDir dir_;
};

TEST_F(CodePageProjects, ScanCompileAndExportReadEveryCodePagesTextsRight) {
    std::vector<CodePageProject> samples = test::codePageProjects();
    samples.push_back(test::doubleByteNamesProject());
    for (const CodePageProject& sample : samples) {
        SCOPED_TRACE(sample.language + " " + std::to_string(sample.codePage));
        // A folder named in the language's script too.
        const fs::path folder =
            dir_ / platform::pathFromUtf8(std::to_string(sample.codePage) + "-" + sample.cancelName);
        const fs::path vbp = test::writeCodePageProject(sample, folder);
        const std::string formBefore = test::readFile(folder / "frmMain.frm");
        const std::string projectBefore = test::readFile(vbp);
        // The files and the help languages tell the code page (see ProjectCodePageTest).
        test::writeFile(folder / "ContextHelp.txt", dataFile(sample, sample.language));
        expectScannedRight(sample, vbp);

        Outcome compile = runCommandLine({"compile", vbp.string()});
        ASSERT_EQ(compile.status, 0) << compile.out << compile.err;
        EXPECT_EQ(compile.err, "");
        // The language's help file is named after the project; the popup file inside it holds
        // the language's text in its code page.
        const std::string chm = chmFile(folder, sample.language, sample.projectName);
        ASSERT_TRUE(fs::exists(platform::pathFromUtf8(chm))) << compile.out;
        const std::string popupName = sample.projectName + "_ContextTopics.txt";
        test::runTool("chmls extract " + quoted(chm) + " /" + quoted(popupName) + " " +
                      quoted((folder / "popups.txt").string()));
        EXPECT_EQ(test::readFile(folder / "popups.txt"), popupFile(sample));
        // Where English cannot hold the project's name in Windows-1252, its files take the
        // project file's name, inside the help project too.
        const std::string english = canEncode(sample.projectName, 1252) ? sample.projectName : "Project";
        const std::string englishChm = chmFile(folder, "English", english);
        ASSERT_TRUE(fs::exists(platform::pathFromUtf8(englishChm))) << compile.out;
        const fs::path englishProject = folder / "Corvane" / "English" / platform::pathFromUtf8(english + "_Context.hhp");
        EXPECT_NE(test::readFile(englishProject).find(english + "_ContextTopics.txt"),
                  std::string::npos);
        EXPECT_NE(test::runTool("chmls -n list " + quoted(englishChm)).find("/" + english + "_ContextTopics.txt"),
                  std::string::npos);
        // Beside the project: the primary language's help file, named right.
        EXPECT_TRUE(fs::exists(folder / platform::pathFromUtf8(sample.projectName + "_Context.chm")));

        // The form: byte for byte as saved, apart from the numbers' lines.
        const std::string formAfter = test::readFile(folder / "frmMain.frm");
        EXPECT_EQ(withoutLinesHolding(formAfter, "WhatsThisHelp"), formBefore);
        EXPECT_EQ(test::countOf(formAfter, "WhatsThisHelpID =   "), 4u);
        EXPECT_NE(formAfter.find("   WhatsThisHelp   =   -1  'True\r\n"), std::string::npos);
        // The project file: as saved, with the help file setting in its code page and the data file.
        const std::string projectAfter = test::readFile(vbp);
        EXPECT_EQ(withoutLinesHolding(withoutLinesHolding(projectAfter, "HelpFile="), "RelatedDoc="), projectBefore);
        EXPECT_NE(projectAfter.find(test::encodedWithIconv("HelpFile=\"" + sample.projectName + "_Context.chm::/" +
                                                               sample.projectName + "_contexttopics.txt\"\r\n",
                                                           sample.iconvName)),
                  std::string::npos);
        // The data file keeps the names as the language spells them; no code page was chosen.
        const std::string data = test::readFile(folder / "ContextHelp.txt");
        EXPECT_NE(data.find("ControlName=\"" + sample.cancelName + "\" ContextHelpID=\""), std::string::npos);
        EXPECT_NE(data.find("Caption=\"" + test::replaceEvery(sample.cancelCaption, "&", "&amp;") + "\""),
                  std::string::npos);
        EXPECT_EQ(data.find("CodePage="), std::string::npos);

        Outcome exported = runCommandLine({"export", vbp.string(), "--language", sample.language, "--format", "po"});
        ASSERT_EQ(exported.status, 0) << exported.err;
        EXPECT_NE(exported.out.find("msgctxt \"frmMain/" + sample.cancelName + "\""), std::string::npos)
            << exported.out;
        EXPECT_NE(exported.out.find(sample.comment + " " + sample.cancelName), std::string::npos);
    }
}

TEST_F(CodePageProjects, ProjectsWhoseOnlyTextBeyondAsciiIsTheirFileNamesOpenWithoutAnOption) {
    for (const test::FileNamesProject& sample : test::fileNamesProjects()) {
        SCOPED_TRACE(sample.formFile);
        const fs::path vbp = test::writeFileNamesProject(sample, dir_ / std::to_string(sample.codePage));
        Outcome scan = runCommandLine({"scan", vbp.string(), "--json"});
        ASSERT_EQ(scan.status, 0) << scan.err << scan.out;
        EXPECT_NE(scan.out.find("{\"key\": \"cmdStart\", \"type\": \"CommandButton\", \"caption\": \"Start\""),
                  std::string::npos)
            << scan.out;
        EXPECT_EQ(scan.out.find("warnings"), std::string::npos) << scan.out;
        EXPECT_EQ(scan.err, "");
    }
}

TEST_F(CodePageProjects, NeutralHelpTextIsWrittenInTheProjectsCodePage) {
    // A Japanese project whose only help language is Neutral: its texts go into the popup file
    // in Shift-JIS, the files are named after the project, and its help file is placed.
    const CodePageProject& japanese = test::codePageProjects().at(1);
    const fs::path vbp = test::writeCodePageProject(japanese, dir_.path());
    test::writeFile(dir_ / "ContextHelp.txt", dataFile(japanese, "Neutral", false));

    Outcome compile = runCommandLine({"compile", vbp.string()});
    ASSERT_EQ(compile.status, 0) << compile.out << compile.err;
    EXPECT_EQ(compile.err, "");
    const std::string chm = chmFile(dir_.path(), "Neutral", japanese.projectName);
    ASSERT_TRUE(fs::exists(platform::pathFromUtf8(chm))) << compile.out;
    test::runTool("chmls extract " + quoted(chm) + " /" + quoted(japanese.projectName + "_ContextTopics.txt") + " " +
                  quoted((dir_ / "popups.txt").string()));
    EXPECT_EQ(test::readFile(dir_ / "popups.txt"), popupFile(japanese));
    EXPECT_EQ(test::readFile(dir_ / platform::pathFromUtf8(japanese.projectName + "_Context.chm")),
              test::readFile(platform::pathFromUtf8(chm)));
}

TEST_F(CodePageProjects, ADataFileInTheCodePageItDeclaresOrInTheProjectsReadsWithoutAProblem) {
    // Declared, or undeclared in the project's code page (as an older tool or an ANSI editor
    // wrote it): read without a problem and saved in UTF-8; the undeclared file, which only the
    // project made readable, is kept as it was beside it.
    const CodePageProject& japanese = test::codePageProjects().at(1);
    const fs::path vbp = test::writeCodePageProject(japanese, dir_.path());
    for (const bool declared : {true, false}) {
        SCOPED_TRACE(declared ? "declared" : "undeclared");
        const std::string data =
            (declared ? "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" : "") + dataFile(japanese, japanese.language);
        const std::string bytes = test::encodedWithIconv(data, japanese.iconvName);
        test::writeFile(dir_ / "ContextHelp.txt", bytes);
        Outcome saved = runCommandLine({"scan", vbp.string(), "--save"});
        ASSERT_EQ(saved.status, 0) << saved.err << saved.out;
        EXPECT_EQ(saved.err, declared ? "" : "corvane: the help data file " + (dir_ / "ContextHelp.txt").string() +
                                                 " was read in code page 932, the project's, and saved in UTF-8; the "
                                                 "file as it was is kept in " +
                                                 (dir_ / "ContextHelp.txt.cp932").string() + "\n");
        EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged"));
        EXPECT_EQ(fs::exists(dir_ / "ContextHelp.txt.cp932"), !declared);
        if (!declared) {
            EXPECT_EQ(test::readFile(dir_ / "ContextHelp.txt.cp932"), bytes);
        }
        // Saved in UTF-8, every text as it was.
        const std::string after = test::readFile(dir_ / "ContextHelp.txt");
        EXPECT_TRUE(after.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")) << after;
        EXPECT_NE(after.find(">" + japanese.comment + " " + japanese.cancelName + "</HelpText>"), std::string::npos)
            << after;
    }
}

TEST_F(CodePageProjects, TheOptionReadsTheProjectInItsCodePageAndASaveStoresIt) {
    // Read as Windows-1252, the Korean project's names come out garbled; the option reads them
    // right, and a save stores the choice so that the next run needs no option.
    const CodePageProject& korean = test::codePageProjects().at(3);
    const fs::path vbp = test::writeCodePageProject(korean, dir_.path());
    Outcome western = runCommandLine({"scan", vbp.string(), "--json", "--codepage", "1252"});
    ASSERT_EQ(western.status, 0) << western.err;
    EXPECT_EQ(western.out.find(quoted(korean.projectName)), std::string::npos);
    expectScannedRight(korean, vbp, {"--codepage", "949"});
    Outcome saved = runCommandLine({"scan", vbp.string(), "--save", "--codepage", "949"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(test::readFile(dir_ / "ContextHelp.txt").find(" CodePage=\"949\">"), std::string::npos);
    expectScannedRight(korean, vbp);
    // The stored choice holds against detection: stored as 1252, the names read as 1252 would.
    Outcome stored = runCommandLine({"scan", vbp.string(), "--save", "--codepage", "1252"});
    ASSERT_EQ(stored.status, 0) << stored.err;
    EXPECT_EQ(runCommandLine({"scan", vbp.string(), "--json"}).out.find(quoted(korean.projectName)), std::string::npos);

    for (const char* bad : {"12345", "x", "-1"}) {
        Outcome refused = runCommandLine({"scan", vbp.string(), "--codepage", bad});
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err, std::string("corvane scan: '") + bad +
                                   "' is not a code page Corvane can read; give the number of a Windows code page "
                                   "(874, 932, 936, 949, 950, 1250 to 1258)\n");
    }
    Outcome missing = runCommandLine({"coverage", vbp.string(), "--codepage"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "corvane coverage: --codepage needs the number of a Windows code page (932, 1251 ...)\n");
}

TEST_F(CodePageProjects, WesternBytesThatWindows1252LeavesUndefinedCompileAndComeBackUnchanged) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D read as the controls of the same number and are written
    // back as they were: the project name holds one, a caption another.
    test::writeFile(dir_ / "Shop.vbp", "Type=Exe\r\nForm=frmShop.frm\r\nName=\"Shop\x8D\"\r\n");
    const std::string form = "VERSION 5.00\r\nBegin VB.Form frmShop\r\n   Caption         =   \"Gr\xFC\xDF\x65\"\r\n"
                             "   Begin VB.CommandButton cmdGo\r\n      Caption         =   \"Go \x90\x81\"\r\n"
                             "   End\r\nEnd\r\nAttribute VB_Name = \"frmShop\"\r\n";
    test::writeFile(dir_ / "frmShop.frm", form);
    test::writeFile(dir_ / "ContextHelp.txt",
                    "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" GenerateHTML=\"True\" "
                    "CompileHTML=\"True\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\"><SelectedLanguage "
                    "Name=\"English\"/><VBComponent ComponentName=\"frmShop\"><HelpItem ComponentName=\"frmShop\" "
                    "ControlName=\"cmdGo\" ContextHelpID=\"0\" ControlType=\"\" Caption=\"\"><HelpText "
                    "Language=\"English\">Goes.</HelpText></HelpItem></VBComponent></Root>\n");
    Outcome compile = runCommandLine({"compile", (dir_ / "Shop.vbp").string()});
    ASSERT_EQ(compile.status, 0) << compile.out << compile.err;
    EXPECT_EQ(withoutLinesHolding(test::readFile(dir_ / "frmShop.frm"), "WhatsThisHelp"), form);
    EXPECT_NE(test::readFile(dir_ / "Shop.vbp").find("HelpFile=\"Shop\x8D_Context.chm::/Shop\x8D_contexttopics.txt\""),
              std::string::npos);
    EXPECT_NE(test::readFile(dir_ / "ContextHelp.txt").find("Caption=\"Go \xC2\x90\xC2\x81\""), std::string::npos);
}

} // namespace
} // namespace corvane::cli
