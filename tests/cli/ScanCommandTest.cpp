// `corvane scan PROJECT.vbp [--json] [--save]`, run in-process on captured streams.
#include "cli/CommandOutcome.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

using test::ProgramFiles;
using test::readFile;
using test::TempDir;

// `text` as a JSON string holds it: a path's backslashes (Windows) doubled.
std::string inJson(const std::string& text) { return test::replaceEvery(text, "\\", "\\\\"); }

// LF in `text` becomes CR LF, as the IDE writes project files.
std::string crlf(const std::string& text) {
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}

const char* const FormTwo = "VERSION 5.00\n"
                            "Begin VB.Form frmTwo \n"
                            "   Caption         =   \"Two\"\n"
                            "   Begin VB.Label lblInfo \n"
                            "      Caption         =   \"Say \"\"hi\"\"\"\n"
                            "      Index           =   2\n"
                            "      WhatsThisHelpID =   5\n"
                            "   End\n"
                            "End\n"
                            "Attribute VB_Name = \"frmTwo\"\n";

class ScanCommandTest : public ::testing::Test {
protected:
    ScanCommandTest() {
        test::writeFile(dir_ / "Tiny.vbp", crlf("Type=Exe\n"
                                                "Form=frmOne.frm\n"
                                                "Form=frmTwo.frm\n"
                                                "RelatedDoc=ContextHelp.txt\n"
                                                "Name=\"Tiny\"\n"));
        test::writeFile(dir_ / "frmOne.frm", crlf("VERSION 5.00\n"
                                                  "Begin VB.Form frmOne \n"
                                                  "   Caption         =   \"One\"\n"
                                                  "   Begin VB.CommandButton cmdOK \n"
                                                  "      Caption         =   \"&OK\"\n"
                                                  "      WhatsThisHelpID =   3\n"
                                                  "   End\n"
                                                  "   Begin VB.TextBox txtNote \n"
                                                  "      Height          =   285\n"
                                                  "   End\n"
                                                  "End\n"
                                                  "Attribute VB_Name = \"frmOne\"\n"));
        test::writeFile(dir_ / "frmTwo.frm", crlf(FormTwo));
        test::writeFile(dir_ / "ContextHelp.txt",
                        "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" GenerateHTML=\"True\" "
                        "CompileHTML=\"False\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\">"
                        "<SelectedLanguage Name=\"English\"/><SelectedLanguage Name=\"German\"/>"
                        "<VBComponent ComponentName=\"frmOne\"><HelpItem ComponentName=\"frmOne\" ControlName=\"cmdOK\" "
                        "ContextHelpID=\"3\" ControlType=\"CommandButton\" Caption=\"\">"
                        "<HelpText Language=\"English\">Closes the window.\r\nTab:\t\"end\"</HelpText>"
                        "<HelpText Language=\"German\">Schließt</HelpText></HelpItem></VBComponent></Root>\r\n");
    }

    Outcome scan(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "scan");
        return runCommandLine(arguments);
    }

    std::string project() const { return (dir_ / "Tiny.vbp").string(); }
    // The project's path as a JSON string holds it: a Windows path's backslashes doubled.
    std::string projectInJson() const {
        std::string text;
        for (char c : project())
            text += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return text;
    }

    TempDir dir_;
    ProgramFiles programFiles_{dir_.path()};
};

TEST_F(ScanCommandTest, JsonDescribesWhatTheEditorHolds) {
    auto result = scan({project(), "--json"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "{\"project\": {\"name\": \"Tiny\", \"path\": \"" + projectInJson() +
                  "\"}, "
                  "\"settings\": {\"selectedLanguages\": [\"English\", \"German\"], \"currentLanguage\": \"English\", "
                  "\"primaryLanguage\": \"English\", \"generateHTML\": true, \"compileHTML\": false, "
                  "\"generateWinHelp\": false, \"compileWinHelp\": false}, "
                  "\"highestId\": 5, "
                  "\"moduleList\": [\"frmOne\", \"frmTwo\"], "
                  "\"modules\": [{\"name\": \"frmOne\", \"controls\": ["
                  "{\"key\": \"cmdOK\", \"type\": \"CommandButton\", \"caption\": \"&OK\", \"contextId\": 3, "
                  "\"live\": true, \"help\": {\"English\": \"Closes the window.\\r\\nTab:\\t\\\"end\\\"\", "
                  "\"German\": \"Schließt\"}}, "
                  "{\"key\": \"txtNote\", \"type\": \"TextBox\", \"caption\": \"\", \"contextId\": 0, \"live\": true, "
                  "\"help\": {}}]}, "
                  "{\"name\": \"frmTwo\", \"controls\": ["
                  "{\"key\": \"lblInfo(2)\", \"type\": \"Label\", \"caption\": \"Say \\\"hi\\\"\", \"contextId\": 5, "
                  "\"live\": true, \"help\": {}}]}], "
                  "\"messages\": []}\n");
    // Without --save nothing is written.
    EXPECT_EQ(readFile(dir_ / "frmTwo.frm"), crlf(FormTwo));
    EXPECT_FALSE(readFile(dir_ / "ContextHelp.txt").starts_with("<?xml"));
}

TEST_F(ScanCommandTest, TextSummaryAndMessages) {
    std::filesystem::remove(dir_ / "frmTwo.frm");
    auto result = scan({project()});
    // A designer that could not be read: its note reaches the terminal, and the status says so.
    EXPECT_EQ(result.status, 1);
    const std::string missing = "File not found: '" + (dir_ / "frmTwo.frm").string() + "'";
    EXPECT_EQ(result.err, "corvane: note: frmTwo: " + missing + "\ncorvane scan: the designer of 'frmTwo' (" +
                              (dir_ / "frmTwo.frm").string() + ") could not be read: " + missing + "\n");
    EXPECT_EQ(result.out,
              "[Error loading control] Corvane encountered an error getting details from one or more controls on the "
              "form or user control named 'frmTwo'.  Loading will continue but controls on that form / user control "
              "will not be available to enter Help text against this session.\n"
              "Project Tiny (" + project() + ")\n"
              "Languages: English German (current English, primary English)\n"
              "Highest context number: 3\n"
              "  frmOne: 2 controls, 1 with help text\n"
              "  frmTwo: 0 controls, 0 with help text\n");
}

TEST_F(ScanCommandTest, SaveWritesTheDataFileAndTheProject) {
    auto result = scan({"--save", project()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.out.starts_with("Project Tiny (")) << result.out;
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" GenerateHTML=\"True\" "
              "CompileHTML=\"False\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\">\n"
              "  <SelectedLanguage Name=\"English\" />\n"
              "  <SelectedLanguage Name=\"German\" />\n"
              "  <VBComponent ComponentName=\"frmOne\">\n"
              "    <HelpItem ComponentName=\"frmOne\" ControlName=\"cmdOK\" ContextHelpID=\"3\" "
              "ControlType=\"CommandButton\" Caption=\"&amp;OK\">\n"
              "      <HelpText Language=\"English\">Closes the window.&#13;\nTab:\t\"end\"</HelpText>\n"
              "      <HelpText Language=\"German\">Schließt</HelpText>\n"
              "    </HelpItem>\n"
              "    <HelpItem ComponentName=\"frmOne\" ControlName=\"txtNote\" ContextHelpID=\"0\" "
              "ControlType=\"TextBox\" Caption=\"\" />\n"
              "  </VBComponent>\n"
              "  <VBComponent ComponentName=\"frmTwo\">\n"
              "    <HelpItem ComponentName=\"frmTwo\" ControlName=\"lblInfo(2)\" ContextHelpID=\"5\" "
              "ControlType=\"Label\" Caption=\"Say &quot;hi&quot;\" />\n"
              "  </VBComponent>\n"
              "</Root>\n");
    // The label without text gave its number up, and the project was saved.
    std::string form = crlf(FormTwo);
    form.erase(form.find("      WhatsThisHelpID =   5\r\n"), 29);
    EXPECT_EQ(readFile(dir_ / "frmTwo.frm"), form);
    EXPECT_NE(readFile(dir_ / "registry.reg").find("CorvaneSplitMain"), std::string::npos);
}

TEST_F(ScanCommandTest, UnreadableAndMissingDesignersKeepTheirHelpTextThroughASave) {
    // Form2.frm holds frmTwo, with a block that cannot be read; frmGone.frm, which held frmAway,
    // does not exist: no stored module can be dropped while a designer's name is unknown.
    test::writeFile(dir_ / "Tiny.vbp", crlf("Type=Exe\nForm=frmOne.frm\nForm=Form2.frm\nForm=frmGone.frm\n"
                                            "RelatedDoc=ContextHelp.txt\nName=\"Tiny\"\n"));
    std::filesystem::remove(dir_ / "frmTwo.frm");
    std::string broken = crlf(FormTwo);
    broken.replace(broken.find("Begin VB.Label lblInfo"), 22, "Begin VB.Label");
    test::writeFile(dir_ / "Form2.frm", broken);
    std::string stored = readFile(dir_ / "ContextHelp.txt");
    stored.insert(stored.find("</Root>"),
                  "<VBComponent ComponentName=\"frmTwo\"><HelpItem ComponentName=\"frmTwo\" ControlName=\"lblInfo(2)\" "
                  "ContextHelpID=\"5\" ControlType=\"Label\" Caption=\"Say\"><HelpText Language=\"English\">Two's text"
                  "</HelpText></HelpItem></VBComponent><VBComponent ComponentName=\"frmAway\"><HelpItem "
                  "ComponentName=\"frmAway\" ControlName=\"cmdGo\" ContextHelpID=\"9\" ControlType=\"CommandButton\" "
                  "Caption=\"Go\"><HelpText Language=\"English\">Gone's text</HelpText></HelpItem></VBComponent>");
    test::writeFile(dir_ / "ContextHelp.txt", stored);

    auto json = scan({project(), "--json"});
    EXPECT_EQ(json.status, 1) << json.err; // two designers could not be read
    EXPECT_NE(json.out.find("\"moduleList\": [\"frmOne\", \"frmTwo\", \"frmGone\"]"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("named 'frmTwo'.  Loading will continue but controls on that form / user control will not "
                            "be available to enter Help text against this session.\", \"detail\": \"Cannot read the "
                            "controls of '" + inJson((dir_ / "Form2.frm").string()) + "', line 4: expected 'Begin <type> <name>'\"}"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"detail\": \"File not found: '" + inJson((dir_ / "frmGone.frm").string()) + "'\"}"),
              std::string::npos)
        << json.out;
    // A scan that changes nothing writes no log: the notes went to the terminal.
    EXPECT_NE(json.err.find("corvane: note: frmGone: File not found: '" + (dir_ / "frmGone.frm").string() + "'"),
              std::string::npos)
        << json.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "errors.log"));

    auto saved = scan({project(), "--save"});
    EXPECT_EQ(saved.status, 1) << saved.err; // saved, and the unread designers are named
    EXPECT_NE(saved.err.find("corvane scan: the designer of 'frmGone' ("), std::string::npos) << saved.err;
    std::string log = readFile(dir_ / "errors.log");
    EXPECT_NE(log.find("frmGone: File not found: '" + (dir_ / "frmGone.frm").string() + "'"), std::string::npos) << log;
    std::string data = readFile(dir_ / "ContextHelp.txt");
    EXPECT_NE(data.find("<HelpText Language=\"English\">Two's text</HelpText>"), std::string::npos) << data;
    EXPECT_NE(data.find("<HelpText Language=\"English\">Gone's text</HelpText>"), std::string::npos) << data;
    EXPECT_EQ(readFile(dir_ / "Form2.frm"), broken);
}

TEST_F(ScanCommandTest, WarningsAreListedAndPrintedNotShownOrLogged) {
    std::string form = crlf(FormTwo);
    form.replace(form.find("\"Say \"\"hi\"\"\""), 12, "$\"frmTwo.frx\":0000");
    test::writeFile(dir_ / "frmTwo.frm", form);
    auto result = scan({project(), "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    std::string file = (dir_ / "frmTwo.frm").string();
    std::string text = file + ", line 5: property Caption of lblInfo: the file 'frmTwo.frx' it refers to does not exist";
    EXPECT_TRUE(result.out.ends_with("\"messages\": [], \"warnings\": [{\"file\": \"" + inJson(file) +
                                     "\", \"line\": 5, \"object\": \"lblInfo\", \"property\": \"Caption\", \"text\": \"" +
                                     inJson(text) + "\"}]}\n"))
        << result.out;
    EXPECT_NE(result.out.find("{\"key\": \"lblInfo(2)\", \"type\": \"Label\", \"caption\": \"\", \"contextId\": 5, "
                              "\"live\": true"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(result.err, "corvane: note: " + text + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "errors.log"));
}

TEST_F(ScanCommandTest, FailuresAndBadArguments) {
    auto missing = scan({(dir_ / "Nowhere.vbp").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "corvane: File not found: '" + (dir_ / "Nowhere.vbp").string() + "'\n");

    const std::string usage = "Usage: corvane scan PROJECT.vbp [--json] [--save]\n";
    EXPECT_EQ(scan({}).status, 2);
    EXPECT_EQ(scan({}).err, usage);
    EXPECT_EQ(scan({"--json"}).err, usage);
    auto unknown = scan({project(), "--frob"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "corvane scan: unexpected argument '--frob'\n");
    auto twice = scan({project(), project()});
    EXPECT_EQ(twice.status, 2);
    EXPECT_EQ(twice.err, "corvane scan: unexpected argument '" + project() + "'\n");
    // Nothing was touched by the failed runs.
    EXPECT_FALSE(readFile(dir_ / "ContextHelp.txt").starts_with("<?xml"));
}

} // namespace
} // namespace corvane::cli
