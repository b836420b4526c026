// `corvane spell PROJECT.vbp [--language NAME]`, run in-process on captured streams with the
// real Hunspell dictionaries.
#include "cli/CommandOutcome.h"
#include "spelling/SpellingDictionary.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <sstream>


namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::ProgramFiles;
using test::readFile;
using test::TempDir;
using test::writeFile;

const char* const FormOrder = "VERSION 5.00\r\n"
                              "Begin VB.Form frmOrder \r\n"
                              "   Caption         =   \"Order\"\r\n"
                              "   Begin VB.CommandButton cmdOK \r\n"
                              "      Caption         =   \"OK\"\r\n"
                              "   End\r\n"
                              "   Begin VB.TextBox txtNote \r\n"
                              "   End\r\n"
                              "End\r\n"
                              "Attribute VB_Name = \"frmOrder\"\r\n";

std::string dataFile(const std::string& languages, const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" GenerateHTML=\"True\" "
           "CompileHTML=\"False\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\">\n" +
           languages + "<VBComponent ComponentName=\"frmOrder\">\n" + items + "</VBComponent>\n</Root>\n";
}

class SpellCommandTest : public ::testing::Test {
protected:
    SpellCommandTest() {
        test::copyDataFolder(dir_ / "data");
        writeFile(dir_ / "data" / "custom.dic", "Zorbix\n");
        writeFile(dir_ / "Order.vbp", "Type=Exe\r\nForm=frmOrder.frm\r\nName=\"Order\"\r\n");
        writeFile(dir_ / "frmOrder.frm", FormOrder);
        writeData("<SelectedLanguage Name=\"English\"/><SelectedLanguage Name=\"German\"/>\n",
                  "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"0\" "
                  "ControlType=\"CommandButton\" Caption=\"OK\">"
                  "<HelpText Language=\"English\">Recieve the goods and then the invoce.</HelpText>"
                  "<HelpText Language=\"German\">Bestätigt den Auftarg.</HelpText></HelpItem>\n"
                  "<HelpItem ComponentName=\"frmOrder\" ControlName=\"txtNote\" ContextHelpID=\"0\" "
                  "ControlType=\"TextBox\" Caption=\"\">"
                  "<HelpText Language=\"English\">Zorbix notes, see C:\\Temp\\notez.txt.</HelpText>"
                  "<HelpText Language=\"German\">Notizen zum Auftrag.</HelpText></HelpItem>\n");
    }

    void writeData(const std::string& languages, const std::string& items) {
        writeFile(dir_ / "ContextHelp.txt", dataFile(languages, items));
    }

    Outcome spell(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "spell");
        return runCommandLine(arguments);
    }

    std::string project() const { return (dir_ / "Order.vbp").string(); }

    TempDir dir_;
    ProgramFiles programFiles_{dir_.path(), dir_ / "data"};
};

TEST_F(SpellCommandTest, PrintsEveryQuestionedWordOfEveryLanguageAndChangesNothing) {
    std::string before = readFile(dir_ / "ContextHelp.txt");
    auto result = spell({project()});
    EXPECT_EQ(result.err, "");
    // "Zorbix" is in the custom dictionary, paths are not words.
    EXPECT_EQ(result.out,
              "frmOrder cmdOK English: \"Recieve\" -> Receive, Relieve\n"
              "frmOrder cmdOK English: \"invoce\" -> invoice, invoke\n"
              "frmOrder cmdOK German: \"Auftarg\" -> Auftrag\n"
              "Questioned words: 3\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), before);
    EXPECT_EQ(readFile(dir_ / "frmOrder.frm"), FormOrder);
    EXPECT_EQ(readFile(dir_ / "data" / "custom.dic"), "Zorbix\n");
}

TEST_F(SpellCommandTest, OneLanguageByNameAndCleanTextGiveStatusZero) {
    auto german = spell({project(), "--language", "german"});
    EXPECT_EQ(german.err, "");
    EXPECT_EQ(german.out, "frmOrder cmdOK German: \"Auftarg\" -> Auftrag\nQuestioned words: 1\n");
    EXPECT_EQ(german.status, 1);

    writeData("<SelectedLanguage Name=\"English\"/>\n",
              "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"0\" "
              "ControlType=\"CommandButton\" Caption=\"OK\">"
              "<HelpText Language=\"English\">Accepts the order.</HelpText></HelpItem>\n");
    auto clean = spell({project()});
    EXPECT_EQ(clean.out, "Questioned words: 0\n");
    EXPECT_EQ(clean.err, "");
    EXPECT_EQ(clean.status, 0);
}

TEST_F(SpellCommandTest, RepeatedWordsArePrintedAtEveryPlaceWithTheSameRankedSuggestions) {
    writeData("<SelectedLanguage Name=\"English\"/><SelectedLanguage Name=\"German\"/>\n",
              "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"0\" "
              "ControlType=\"CommandButton\" Caption=\"OK\">"
              "<HelpText Language=\"English\">Tset the ordre, then tset it again.</HelpText>"
              "<HelpText Language=\"German\">Der Auftarg, x und π.</HelpText></HelpItem>\n"
              "<HelpItem ComponentName=\"frmOrder\" ControlName=\"txtNote\" ContextHelpID=\"0\" "
              "ControlType=\"TextBox\" Caption=\"\">"
              "<HelpText Language=\"English\">The ordre Привет.</HelpText>"
              "<HelpText Language=\"German\">Kein Auftarg.</HelpText></HelpItem>\n");
    auto result = spell({project()});
    EXPECT_EQ(result.err, "");
    const std::string ordre = "\"ordre\" -> order, ordure, ord re, ord-re";
    const std::string auftarg = "\"Auftarg\" -> Auftrag";
    std::vector<std::string> lines;
    std::istringstream out(result.out);
    for (std::string line; std::getline(out, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 7u) << result.out;
    // "Test" first: the swap that keeps the first letter.
    EXPECT_TRUE(lines[0].starts_with("frmOrder cmdOK English: \"Tset\" -> Test, ")) << lines[0];
    EXPECT_EQ(lines[1], "frmOrder cmdOK English: " + ordre);
    EXPECT_TRUE(lines[2].starts_with("frmOrder cmdOK English: \"tset\" -> test, ")) << lines[2];
    EXPECT_EQ(lines[3], "frmOrder cmdOK German: " + auftarg); // "x" and "π" are single letters
    EXPECT_EQ(lines[4], "frmOrder txtNote English: " + ordre); // "Привет" is no English word
    EXPECT_EQ(lines[5], "frmOrder txtNote German: " + auftarg);
    EXPECT_EQ(lines[6], "Questioned words: 6");
    EXPECT_EQ(result.status, 1);
}

TEST_F(SpellCommandTest, UnknownLanguageAndBadArgumentsExitWithTwo) {
    auto unknown = spell({project(), "--language", "Klingon"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, "corvane spell: unknown language 'Klingon'; the project's languages are English, German\n");

    EXPECT_EQ(spell({}).status, 2);
    EXPECT_EQ(spell({project(), "--language"}).err, "corvane spell: unexpected argument '--language'\n");
    EXPECT_EQ(spell({project(), "--fix"}).status, 2);
    auto missing = spell({(dir_ / "Missing.vbp").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("Missing.vbp"), std::string::npos) << missing.err;
}

TEST_F(SpellCommandTest, ALanguageWithoutDictionaryIsReportedAndTheOthersStillChecked) {
    if (!SpellingDictionary::findFolder("ko_KR", SpellingDictionary::searchFolders()).empty())
        GTEST_SKIP() << "a Korean dictionary is installed";
    writeData("<SelectedLanguage Name=\"Korean\"/><SelectedLanguage Name=\"English\"/>\n",
              "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"0\" "
              "ControlType=\"CommandButton\" Caption=\"OK\">"
              "<HelpText Language=\"Korean\">wrod</HelpText>"
              "<HelpText Language=\"English\">Accepts the ordre.</HelpText></HelpItem>\n");
    auto result = spell({project()});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "frmOrder cmdOK English: \"ordre\" -> order, ordure, ord re, ord-re\n"
                          "Questioned words: 1\n");
    EXPECT_TRUE(result.err.starts_with("corvane spell: Korean: The spelling dictionary \"ko_KR\" is not installed"))
        << result.err;
    EXPECT_NE(result.err.find("/usr/share/hunspell"), std::string::npos) << result.err;
}

} // namespace
} // namespace corvane::cli
