// Commands that only read leave the project folder as they found it; a scan that failed or did
// not load the data file completely is never saved; the program's own data files missing end
// a command with a message, not an abort.
#include "cli/CommandOutcome.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::ProgramFiles;
using test::readFile;
using test::TempDir;
using test::writeFile;

// Every entry of a folder with its bytes, mode and modification time.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        entries[entry.path().string()] = std::to_string(info.st_mode) + " " +
                                         std::to_string(info.st_mtim.tv_sec) + "." +
                                         std::to_string(info.st_mtim.tv_nsec) + " " +
                                         (entry.is_regular_file() ? readFile(entry.path()) : "");
    }
    return entries;
}

class ReadOnlyCommandsTest : public ::testing::Test {
protected:
    ReadOnlyCommandsTest() {
        test::copyDataFolder(dir_ / "data");
        fs::create_directories(folder());
        writeFile(folder() / "Order.vbp", "Type=Exe\r\nForm=frmOrder.frm\r\nName=\"Order\"\r\n");
        writeFile(folder() / "frmOrder.frm",
                  "VERSION 5.00\r\nBegin VB.Form frmOrder \r\n"
                  "   Begin VB.CommandButton cmdOK \r\n      Caption         =   \"OK\"\r\n"
                  "      WhatsThisHelpID =   4\r\n   End\r\n"
                  "End\r\nAttribute VB_Name = \"frmOrder\"\r\n");
    }
    fs::path folder() const { return dir_ / "project"; }
    std::string project() const { return (folder() / "Order.vbp").string(); }
    // Runs scan --json and spell and checks that the folder did not change.
    void expectReadOnly() {
        auto before = snapshot(folder());
        auto scanned = runCommandLine({"scan", project(), "--json"});
        auto spelled = runCommandLine({"spell", project()});
        EXPECT_EQ(snapshot(folder()), before) << scanned.err << spelled.err;
    }

    TempDir dir_;
    ProgramFiles programFiles_{dir_.path(), dir_ / "data"};
};

TEST_F(ReadOnlyCommandsTest, ScanAndSpellWriteNothingWithoutADataFileOrWithADamagedOne) {
    expectReadOnly();
    EXPECT_FALSE(fs::exists(folder() / "ContextHelp.txt"));

    writeFile(folder() / "ContextHelp.txt",
              "<Root><VBComponent ComponentName=\"frmOrder\"></Root>");
    auto scanned = runCommandLine({"scan", project(), "--json"});
    EXPECT_EQ(scanned.status, 1); // the data file was not read completely
    EXPECT_NE(scanned.out.find("is damaged: line 1"), std::string::npos) << scanned.out;
    expectReadOnly();
    EXPECT_FALSE(fs::exists(folder() / "ContextHelp.txt.damaged"));
}

TEST_F(ReadOnlyCommandsTest, ScanSaveAfterAnIncompleteLoadSavesNothing) {
    const std::string data =
        "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
        "<VBComponent ComponentName=\"frmOrder\">\n"
        "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"4\" "
        "ControlType=\"CommandButton\"><HelpText Language=\"English\">First</HelpText></HelpItem>\n"
        "<HelpItem ComponentName=\"frmOrder\" ControlName=\"CMDOK\" ContextHelpID=\"4\" "
        "ControlType=\"CommandButton\"><HelpText "
        "Language=\"English\">Merged</HelpText></HelpItem>\n"
        "</VBComponent></Root>";
    writeFile(folder() / "ContextHelp.txt", data);
    auto before = snapshot(folder());
    auto result = runCommandLine({"scan", "--save", project()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(
        result.out.find("line 3: the record 'CMDOK' of module 'frmOrder' is listed a second time"),
        std::string::npos)
        << result.out;
    // The last line names the cause.
    const std::string last = "corvane scan: the help data file " + (folder() / "ContextHelp.txt").string() +
                             " was not loaded completely and a save would lose what it left out (see its problems "
                             "above); nothing was saved\n";
    EXPECT_TRUE(result.err.ends_with(last)) << result.err;
    EXPECT_EQ(snapshot(folder()), before);

    // What a load leaves out that holds nothing written does not stop the save: a record listed
    // twice with the same text, an empty element Corvane does not write, a module in another
    // letter case. The file as it was is kept beside it, and the last line says so.
    const std::string lossless =
        "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/><Notes/>"
        "<vbcomponent ComponentName=\"frmOrder\">\n"
        "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"4\" "
        "ControlType=\"CommandButton\"><HelpText Language=\"English\">First</HelpText><Remark> </Remark></HelpItem>\n"
        "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdOK\" ContextHelpID=\"4\" "
        "ControlType=\"CommandButton\"><HelpText Language=\"English\">First</HelpText></HelpItem>\n"
        "</vbcomponent></Root>";
    writeFile(folder() / "ContextHelp.txt", lossless);
    auto kept = runCommandLine({"scan", "--save", project()});
    EXPECT_EQ(kept.status, 0) << kept.err;
    EXPECT_NE(kept.out.find("line 3: the record 'cmdOK' of module 'frmOrder' is listed a second time with the same "
                            "texts: it is loaded once."),
              std::string::npos)
        << kept.out;
    EXPECT_TRUE(kept.err.ends_with("corvane: the help data file " + (folder() / "ContextHelp.txt").string() +
                                   " was saved with all of its texts, without what its problems above name as not "
                                   "read; the file as it was is kept in " +
                                   (folder() / "ContextHelp.txt.damaged").string() + "\n"))
        << kept.err;
    EXPECT_EQ(readFile(folder() / "ContextHelp.txt.damaged"), lossless);
    const std::string saved = readFile(folder() / "ContextHelp.txt");
    EXPECT_NE(saved.find("<HelpText Language=\"English\">First</HelpText>"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("First", saved.find("First") + 1), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Notes"), std::string::npos) << saved;

    // A text left out still stops it: the same file with a second text in the repeated record.
    const std::string lossy = std::string(lossless).insert(lossless.rfind("</HelpItem>"),
                                                           "<HelpText Language=\"English\">Second</HelpText>");
    writeFile(folder() / "ContextHelp.txt", lossy);
    EXPECT_EQ(runCommandLine({"scan", "--save", project()}).status, 1);
    EXPECT_EQ(readFile(folder() / "ContextHelp.txt"), lossy);
}

TEST_F(ReadOnlyCommandsTest, ExportAndCoverageWriteNothingThoughTheScanChangedTheRecords) {
    // The scan finds cmdOK without a record and keeps the record of a control that is gone: an
    // editor closed now would save. The commands work on a copy of the texts and let the
    // editor's records go, which must never reach the file.
    writeFile(folder() / "ContextHelp.txt",
              "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
              "<SelectedLanguage Name=\"German\"/><VBComponent ComponentName=\"frmOrder\">\n"
              "<HelpItem ComponentName=\"frmOrder\" ControlName=\"cmdGone\" ContextHelpID=\"9\" "
              "ControlType=\"CommandButton\"><HelpText Language=\"English\">Gone.</HelpText>"
              "<HelpText Language=\"German\">Weg.</HelpText></HelpItem>\n"
              "</VBComponent></Root>");
    auto before = snapshot(folder());
    auto exported = runCommandLine({"export", project(), "--language", "German", "--format", "po"});
    auto covered = runCommandLine({"coverage", project()});
    // The export read the texts and found none to translate: only a gone control has them.
    EXPECT_NE(exported.err.find("there is nothing to translate"), std::string::npos) << exported.err;
    EXPECT_EQ(covered.status, 0) << covered.err;
    EXPECT_NE(covered.out.find("German"), std::string::npos) << covered.out;
    EXPECT_EQ(snapshot(folder()), before) << exported.err << covered.err;
}

TEST_F(ReadOnlyCommandsTest, AReadOnlyFormFileIsNotReplacedAndTheSaveSaysSo) {
    const std::string form = readFile(folder() / "frmOrder.frm");
    ::chmod((folder() / "frmOrder.frm").c_str(), 0444); // checked out read-only by version control
    auto result = runCommandLine({"scan", "--save", project()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("'" + (folder() / "frmOrder.frm").string() + "' is read-only"), std::string::npos)
        << result.err;
    EXPECT_EQ(readFile(folder() / "frmOrder.frm"), form); // its context number 4 would have become 0
    struct stat info {};
    ::stat((folder() / "frmOrder.frm").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
}

TEST_F(ReadOnlyCommandsTest, AMissingProgramDataFileIsNamedAndEndsTheCommand) {
    fs::remove(dir_ / "data" / "languages.txt");
    for (const char* command : {"scan", "spell", "compile"}) {
        auto result = runCommandLine({command, project()});
        EXPECT_EQ(result.status, 2) << command;
        EXPECT_NE(result.err.find((dir_ / "data" / "languages.txt").string()), std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(fs::exists(folder() / "ContextHelp.txt"));
}

} // namespace
} // namespace corvane::cli
