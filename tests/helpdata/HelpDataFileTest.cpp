// The help data file "ContextHelp.txt": creation, the settings it carries, damaged files, and
// the save when the editor closes (also when the file cannot be replaced).
#include "testsupport/addin/AddinTestFixture.h"

#include "controls/BusyWindow.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class HelpDataFileTest : public AddinTest {
protected:
    ModMain& settings() { return addin_->modMain(); }
    Strings selected() {
        return Strings(settings().SelectedLanguages->begin(), settings().SelectedLanguages->end());
    }
    // Opens the small project with `data` as its data file (none when empty).
    void openWith(const std::string& data) {
        auto vbp = writeSmallProject(dir_.path(), data.empty() ? "" : "RelatedDoc=ContextHelp.txt\n");
        if (!data.empty())
            writeFile(dir_ / "ContextHelp.txt", data);
        openEditor(vbp);
    }
    std::string flags() {
        auto& s = settings();
        return std::string(s.mGenerateHTML ? "H" : "-") + (s.mCompileHTML ? "h" : "-") +
               (s.mGenerateWinHelp ? "W" : "-") + (s.mCompileWinHelp ? "w" : "-");
    }
};

TEST_F(HelpDataFileTest, AProjectWithoutDataFileGetsANewOneWhenItIsSaved) {
    auto vbp = writeSmallProject(dir_.path());
    openEditor(vbp);
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt")); // opening writes nothing
    EXPECT_EQ(selected(), (Strings{"Neutral"}));
    EXPECT_EQ(settings().mCurrentLanguage, "Neutral");
    EXPECT_EQ(settings().mPrimaryLanguage, "Neutral");
    EXPECT_EQ(flags(), "Hh--"); // version 6 of the IDE: HTML Help
    EXPECT_TRUE(reports_.reports().empty());

    record("frmA", "txtName").SetHelpText("Neutral", "Your name");
    closeWithCloseBox();
    std::string saved = readFile(dir_ / "ContextHelp.txt");
    EXPECT_TRUE(saved.starts_with(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Root CurrentLanguage=\"Neutral\" PrimaryLanguage=\"Neutral\" GenerateHTML=\"True\" CompileHTML=\"True\" "
        "GenerateWinHelp=\"False\" CompileWinHelp=\"False\">\n"
        "  <SelectedLanguage Name=\"Neutral\" />\n"
        "  <VBComponent ComponentName=\"frmA\">\n"
        "    <HelpItem ComponentName=\"frmA\" ControlName=\"txtName\" ContextHelpID=\"9\" ControlType=\"TextBox\" "
        "Caption=\"\">\n"
        "      <HelpText Language=\"Neutral\">Your name</HelpText>\n"
        "    </HelpItem>\n"))
        << saved;
    ide_->ActiveVBProject()->save();
    EXPECT_NE(readFile(vbp).find("RelatedDoc=ContextHelp.txt\r\n"), std::string::npos);
}

TEST_F(HelpDataFileTest, AnOlderIdeChoosesWinHelp) {
    ide_->setVersion("5.0");
    openWith("");
    EXPECT_EQ(flags(), "--Ww");
}

TEST_F(HelpDataFileTest, StoredSettingsAreReadExactly) {
    // Only the exact word True is true; a stored WinHelp choice keeps the IDE out of it.
    openWith(R"(<Root CurrentLanguage="" GenerateHTML="true" CompileHTML="True" GenerateWinHelp="True">)"
             R"(<SelectedLanguage Name="German"/><SelectedLanguage Name="GERMAN"/><SelectedLanguage Name="English"/>)"
             R"(</Root>)");
    EXPECT_EQ(flags(), "-hW-");
    EXPECT_EQ(settings().mCurrentLanguage, "Neutral");
    EXPECT_EQ(settings().mPrimaryLanguage, "Neutral");
    EXPECT_EQ(selected(), (Strings{"German", "English"}));
    auto& combo = editor().ActiveBar().Bands(0).Tools().Item("selectedlanguage");
    EXPECT_EQ(combo.ComboList().Count(), 2);
}

TEST_F(HelpDataFileTest, APrimaryLanguageThatIsMissingBecomesTheCurrentOne) {
    openWith(R"(<Root CurrentLanguage="German" GenerateHTML="false"><SelectedLanguage Name="German"/></Root>)");
    EXPECT_EQ(settings().mCurrentLanguage, "German");
    EXPECT_EQ(settings().mPrimaryLanguage, "German");
    EXPECT_EQ(flags(), "Hh--"); // neither generate setting: the IDE's version decides
}

TEST_F(HelpDataFileTest, ARootWithoutChildrenIsANewFile) {
    openWith(R"(<Root CurrentLanguage="German" PrimaryLanguage="German" GenerateWinHelp="True"/>)");
    EXPECT_EQ(selected(), (Strings{"Neutral"}));
    EXPECT_EQ(settings().mCurrentLanguage, "Neutral");
    EXPECT_EQ(flags(), "Hh--");
}

// A file of UTF-8 with bytes an ANSI editor wrote: each such byte is read on its own as the
// Windows-1252 character it stands for, named by line, and the file is kept before the save;
// the UTF-8 around it stays UTF-8.
TEST_F(HelpDataFileTest, BytesThatAreNotUtf8AreReadOneByOneNamedByLineAndKept) {
    const std::string body = "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>\n"
                             "<VBComponent ComponentName=\"frmA\"><HelpItem ComponentName=\"frmA\" ControlName=\"txtName\" "
                             "ContextHelpID=\"9\" ControlType=\"TextBox\"><HelpText Language=\"English\">M\xFCller "
                             "\x80 \xC3\xA9t\xC3\xA9</HelpText></HelpItem>\n<HelpItem ComponentName=\"frmA\" "
                             "ControlName=\"cmdGo(0)\" ContextHelpID=\"0\" ControlType=\"CommandButton\"><HelpText "
                             "Language=\"English\">\xE2\x82\xAC and \x9D</HelpText></HelpItem></VBComponent></Root>";
    openWith(body);
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "M\xC3\xBCller \xE2\x82\xAC \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(record("frmA", "cmdGo(0)").GetHelpText("English"), "\xE2\x82\xAC and \xEF\xBF\xBD");
    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_NE(windows_.messages()[0].prompt.find("it is UTF-8, but lines 2, 3 hold 3 bytes that are not; each was "
                                                 "read as a Windows-1252 character."),
              std::string::npos)
        << windows_.messages()[0].prompt;
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), body);
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">M\xC3\xBCller \xE2\x82\xAC \xC3\xA9t\xC3\xA9</HelpText>"),
              std::string::npos);
}

TEST_F(HelpDataFileTest, ADamagedFileIsReportedAndKeptInACopyBeforeItIsSaved) {
    const std::string damaged = "<Root CurrentLanguage=\"English\">\r\n"
                                "  <SelectedLanguage Name=\"English\" />\r\n"
                                "  <VBComponent ComponentName=\"frmA\">\r\n"
                                "</Root>\r\n";
    openWith(damaged);

    ASSERT_EQ(windows_.messages().size(), 1u);
    const auto& message = windows_.messages()[0];
    EXPECT_EQ(message.title, "Help data file damaged");
    EXPECT_NE(message.prompt.find("'" + (dir_ / "ContextHelp.txt").string() + "' is damaged: line 4,"),
              std::string::npos)
        << message.prompt;
    EXPECT_NE(message.prompt.find((dir_ / "ContextHelp.txt.damaged").string()), std::string::npos);
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), damaged);
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged")); // only a save writes the copy
    // What stands before the damage is read: its language.
    EXPECT_NE(message.prompt.find("what stands before it was read, the rest is not"), std::string::npos)
        << message.prompt;
    EXPECT_EQ(selected(), (Strings{"English"}));
    EXPECT_EQ(recordKeys("frmA"), (Strings{"txtName", "cmdGo(0)", "cmdGo(1)", "lblNew"}));

    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_TRUE(readFile(dir_ / "ContextHelp.txt").starts_with("<?xml"));
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), damaged);

    // A second damaged file does not overwrite the first copy.
    writeFile(dir_ / "ContextHelp.txt", "<Root>");
    clickMenu();
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), damaged);
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged.2"), "<Root>");
}

TEST_F(HelpDataFileTest, AFailedReplaceKeepsTheWindowAndTheTemporaryFile) {
    openWith("");
    record("frmA", "txtName").SetHelpText("Neutral", "Kept safe");
    // Something else now lies where the data file was: the rename over it must fail.
    fs::remove(dir_ / "ContextHelp.txt");
    fs::create_directories(dir_ / "ContextHelp.txt" / "inside");
    reports_.answer("RetryNext");
    closeWithCloseBox();

    ASSERT_EQ(reports_.reports().size(), 1u);
    const auto& report = reports_.reports()[0];
    EXPECT_EQ(report.number.toLong(), 75);
    EXPECT_EQ(report.procedure.toText(), "ExitApp");
    std::string description = report.description.toText();
    EXPECT_NE(description.find((dir_ / "ContextHelp.txt").string() + "'"), std::string::npos) << description;
    // The new content is kept in a temporary file of a unique name beside it, named in the report.
    std::vector<fs::path> temporaries;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        if (entry.path().filename().string().starts_with("ContextHelp.txt.") && entry.path().extension() == ".tmp")
            temporaries.push_back(entry.path());
    ASSERT_EQ(temporaries.size(), 1u);
    EXPECT_NE(description.find(temporaries[0].string()), std::string::npos) << description;
    EXPECT_NE(readFile(temporaries[0]).find(">Kept safe</HelpText>"), std::string::npos);
    ASSERT_TRUE(editor().loaded());
    EXPECT_NE(editor().formsData(), nullptr);
    EXPECT_FALSE(settings().Busy->Visible());

    // Once the way is clear, the next close saves.
    fs::remove_all(dir_ / "ContextHelp.txt");
    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_EQ(reports_.reports().size(), 1u);
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">Kept safe</HelpText>"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.lock"));
}

TEST_F(HelpDataFileTest, AnotherActiveProjectDoesNotReceiveTheHelpData) {
    openWith("");
    record("frmA", "txtName").SetHelpText("Neutral", "Still saved");
    std::string before = readFile(dir_ / "ContextHelp.txt");
    // The developer makes another project active while the editor is open.
    fs::create_directories(dir_ / "other");
    auto other = openProject(writeSmallProject(dir_ / "other"));
    ASSERT_EQ(ide_->ActiveVBProject(), other);
    closeWithCloseBox();

    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_FALSE(editor().loaded());
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">Still saved</HelpText>"), std::string::npos);
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt"), before);
    EXPECT_FALSE(fs::exists(dir_ / "other" / "ContextHelp.txt"));
    for (const auto& component : other->VBComponents())
        EXPECT_NE(component->Type(), 10) << component->Name();
}

} // namespace
} // namespace corvane::test
