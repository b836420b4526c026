// Loading the help data file never leads to a save that holds less than the file held:
// unreadable files, repeated keys, elements without required attributes, numbers out of range,
// languages listed after the records, UTF-16 without a mark, a name in other letter case.
#include "files/FileFailures.h"
#include "helpdata/HelpDataFile.h"
#include "platform/AppFolders.h"
#include "settings/ModMain.h"
#include "testsupport/TextTools.h"
#include "testsupport/addin/AddinTestFixture.h"
#include "vbide/VBProject.h"
#include "vbruntime/CaseFold.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Help text stored for frmA's txtName and cmdGo(0), in English and German.
std::string storedRecord(const std::string& key, const std::string& english, int id = 9) {
    return "<HelpItem ComponentName=\"frmA\" ControlName=\"" + key + "\" ContextHelpID=\"" +
           std::to_string(id) + "\" ControlType=\"TextBox\"><HelpText Language=\"English\">" +
           english + "</HelpText><HelpText Language=\"German\">" + english +
           " (de)</HelpText></HelpItem>\n";
}

class HelpDataLoadFaultsTest : public AddinTest {
protected:
    fs::path dataFile() const { return dir_ / "ContextHelp.txt"; }
    void openWith(const std::string& data, const std::string& name = "ContextHelp.txt") {
        auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=" + name + "\n");
        writeFile(dir_ / name, data);
        openEditor(vbp);
    }
    std::string onlyMessage() {
        EXPECT_EQ(windows_.messages().size(), 1u);
        return windows_.messages().empty() ? "" : windows_.messages()[0].prompt;
    }
};

TEST_F(HelpDataLoadFaultsTest,
       RepeatedKeysAndBadElementsAreReportedTheRestLoadedAndTheFileKeptBeforeTheSave) {
    const std::string data =
        "<Root CurrentLanguage=\"English\">\n"     // 1
        "<SelectedLanguage Name=\"English\"/>\n"   // 2
        "<VBComponent ComponentName=\"frmA\">\n" + // 3
        storedRecord("txtName", "Name") +          // 4
        storedRecord("TXTNAME", "Merged twin") +   // 5
        storedRecord("cmdGo(0)", "Go", 0) +
        "</VBComponent>\n" +                                                        // 6, 7
        "<VBComponent ComponentName=\"FRMA\">\n" + storedRecord("lblNew", "Lost") + // 8, 9
        "</VBComponent>\n"                                                          // 10
        "<VBComponent>\n</VBComponent>\n"                                           // 11, 12
        "<VBComponent ComponentName=\"frmB\">\n"                                    // 13
        "<HelpItem ComponentName=\"frmB\" ControlName=\"cmdX\" ContextHelpID=\"99999999999\" "
        "ControlType=\"CommandButton\"/>\n"                                               // 14
        "<HelpItem ComponentName=\"frmB\" ControlName=\"lblY\" ControlType=\"Label\"/>\n" // 15
        "<HelpItem ComponentName=\"frmB\" ControlName=\"lblZ\" ContextHelpID=\"0\" "
        "ControlType=\"Label\">"
        "<HelpText Language=\"English\">One</HelpText>\n"            // 16
        "<HelpText Language=\"ENGLISH\">Two</HelpText></HelpItem>\n" // 17
        "</VBComponent>\n"
        "<SelectedLanguage Name=\"German\"/>\n"
        "</Root>\n";
    openWith(data);

    // The scan went on: every control of the project is there, the first element of a key won.
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_EQ(recordKeys("frmA"), (Strings{"txtName", "cmdGo(0)", "lblNew", "cmdGo(1)"}));
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Name");
    // A language listed after the records still keeps its texts.
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("German"), "Name (de)");
    // The module listed again in other letter case: its record is read into the first one.
    EXPECT_EQ(record("frmA", "lblNew").GetHelpText("English"), "Lost");
    std::string message = onlyMessage();
    EXPECT_EQ(windows_.messages()[0].title, "Help data file damaged");
    for (const std::string& expected : Strings{
             "'" + dataFile().string() + "' was not loaded completely",
             "line 5: the record 'TXTNAME'", "line 8: the module 'FRMA' is listed a second time",
             "line 11: a \"VBComponent\" element without \"ComponentName\"",
             "line 14: the record 'cmdX' of module 'frmB' has the context number 99999999999",
             "line 15: the record 'lblY' of module 'frmB' has no \"ContextHelpID\"",
             "line 17: the record 'lblZ' of module 'frmB' has a second text in 'ENGLISH'",
             "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
    // Reading wrote nothing.
    EXPECT_EQ(readFile(dataFile()), data);
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged"));

    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
    std::string saved = readFile(dataFile());
    EXPECT_NE(saved.find(">Name (de)</HelpText>"), std::string::npos) << saved;

    // The next session of the saved file is complete: no second copy.
    clickMenu();
    EXPECT_EQ(windows_.messages().size(), 1u);
    closeWithCloseBox();
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged.2"));
}

// Version-control merges repeat records and modules. A record listed twice with the same texts
// is loaded once; one with other texts adds those in languages the first lacks; a module listed
// twice has its records read into the first. Each is named, and the file kept before the save.
TEST_F(HelpDataLoadFaultsTest, RepeatedRecordsAndModulesAreReadIntoTheFirstKeepingEveryTextThatFits) {
    auto go = [](const std::string& texts) {
        return "<HelpItem ComponentName=\"frmA\" ControlName=\"cmdGo(0)\" ContextHelpID=\"9\" "
               "ControlType=\"TextBox\">" + texts + "</HelpItem>\n";
    };
    const std::string data =
        "<Root CurrentLanguage=\"English\">\n"      // 1
        "<SelectedLanguage Name=\"English\"/>\n"    // 2
        "<SelectedLanguage Name=\"German\"/>\n"     // 3
        "<VBComponent ComponentName=\"frmA\">\n" +  // 4
        storedRecord("txtName", "Name") +            // 5
        storedRecord("txtName", "Name") +            // 6: the same again
        go("<HelpText Language=\"English\">Go</HelpText>") + // 7
        "</VBComponent>\n"                           // 8
        "<VBComponent ComponentName=\"frmA\">\n" +  // 9: the module again
        storedRecord("txtName", "Name") +            // 10: the same again
        go("<HelpText Language=\"English\">Go</HelpText><HelpText Language=\"German\">Los</HelpText>") + // 11
        storedRecord("txtName", "Changed") +         // 12: other texts
        storedRecord("lblNew", "New") +              // 13: only here
        "</VBComponent>\n</Root>\n";
    openWith(data);

    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Name");
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("German"), "Name (de)");
    EXPECT_EQ(record("frmA", "cmdGo(0)").GetHelpText("English"), "Go");
    EXPECT_EQ(record("frmA", "cmdGo(0)").GetHelpText("German"), "Los");
    EXPECT_EQ(record("frmA", "lblNew").GetHelpText("English"), "New");
    const std::string message = onlyMessage();
    const std::string twice = "' of module 'frmA' is listed a second time";
    for (const std::string& expected : Strings{
             "line 6: the record 'txtName" + twice + " with the same texts: it is loaded once.\n",
             "line 9: the module 'frmA' is listed a second time (letter case ignored): the records of this "
             "element are read into the first one.\n",
             "line 10: the record 'txtName" + twice + " with the same texts: it is loaded once.\n",
             "line 11: the record 'cmdGo(0)" + twice + " (letter case ignored): its text in 'German' is added to "
             "the first one.\n",
             "line 12: the record 'txtName" + twice + " (letter case ignored): its other texts in 'English', "
             "'German' are not loaded.\n",
             "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;

    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data); // "Changed" stays there
    const std::string saved = readFile(dataFile());
    EXPECT_EQ(countOf(saved, "<VBComponent ComponentName=\"frmA\""), 1u) << saved;
    EXPECT_EQ(countOf(saved, "ControlName=\"txtName\""), 1u) << saved;
    EXPECT_NE(saved.find(">Los</HelpText>"), std::string::npos) << saved;
    EXPECT_NE(saved.find(">New</HelpText>"), std::string::npos) << saved;
}

// The code page the user chose for the project's files is read past blanks and leading zeros; a
// value that names no code page is a problem, so the file is kept before the save drops it.
TEST_F(HelpDataLoadFaultsTest, ACodePageThatIsNoCodePageIsNamedAndTheFileKeptBeforeTheSave) {
    const std::string records = "<SelectedLanguage Name=\"English\"/>\n<VBComponent ComponentName=\"frmA\">\n" +
                                storedRecord("txtName", "Name") + "</VBComponent>\n</Root>\n";
    for (const std::string& value : Strings{"70000", "0", "1252x", "-1", ""}) {
        SCOPED_TRACE(value);
        const std::string data = "<Root CurrentLanguage=\"English\"\n CodePage=\"" + value + "\">\n" + records;
        fs::remove(dir_ / "ContextHelp.txt.damaged");
        windows_.clearMessages();
        openWith(data);
        EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Name");
        const std::string message = onlyMessage();
        EXPECT_NE(message.find("line 1: the root's \"CodePage\" \"" + value +
                               "\" is not a code page (a number from 1 to 65535): the project's files are read "
                               "in the code page found for them, and the save writes none.\n"),
                  std::string::npos)
            << message;
        closeWithCloseBox();
        EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
        EXPECT_EQ(readFile(dataFile()).find("CodePage"), std::string::npos);
    }
    windows_.clearMessages();
    openWith("<Root CurrentLanguage=\"English\" CodePage=\" 01251 \">\n" + records);
    EXPECT_TRUE(windows_.messages().empty()) << onlyMessage();
    closeWithCloseBox();
    EXPECT_NE(readFile(dataFile()).find(" CodePage=\"1251\""), std::string::npos) << readFile(dataFile());
}

// Texts of languages that are not selected are no problem: they stay in their records and are
// written back after the selected ones; a record in the older form (its own text) is read as
// "Neutral" text.
TEST_F(HelpDataLoadFaultsTest, TextsOfLanguagesNotSelectedAreKeptAndWrittenBack) {
    const std::string data =
        "<Root CurrentLanguage=\"English\">\n"   // 1
        "<SelectedLanguage Name=\"English\"/>\n" // 2
        "<VBComponent ComponentName=\"frmA\">\n" + // 3
        storedRecord("txtName", "Name") +          // 4: English and German
        "<HelpItem ComponentName=\"frmA\" ControlName=\"lblNew\" ContextHelpID=\"0\" "
        "ControlType=\"Label\">Older form</HelpItem>\n" // 5
        "</VBComponent>\n</Root>\n";
    openWith(data);

    EXPECT_TRUE(windows_.messages().empty()) << windows_.messages()[0].prompt;
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Name");
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("German"), "Name (de)");
    EXPECT_EQ(record("frmA", "lblNew").GetHelpText("Neutral"), "Older form");

    closeWithCloseBox();
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged"));
    const std::string saved = readFile(dataFile());
    EXPECT_NE(saved.find("<HelpText Language=\"English\">Name</HelpText>\n"
                         "      <HelpText Language=\"German\">Name (de)</HelpText>"),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("<HelpText Language=\"Neutral\">Older form</HelpText>"), std::string::npos) << saved;
}

// Well-formed files that are not in the form the program writes load as if complete no more:
// what departs from the form is named by line and the file is kept before the save, and what
// can be read is read (modules in other letter case or inside a wrapper, text after a NUL).
TEST_F(HelpDataLoadFaultsTest, FilesOutOfTheProgramsFormAreReadNamedAndKeptBeforeTheSave) {
    const std::string data =
        "<HelpData CurrentLanguage=\"English\">\n"                  // 1
        "<!-- exported by hand -->\n"                                 // 2
        "<selectedlanguage Name=\"English\"/>\n"                     // 3
        "<vbcomponent ComponentName=\"frmA\">\n" +                   // 4
        storedRecord("txtName", "Before&#0;after") +                  // 5
        "</vbcomponent>\n"                                            // 6
        "<Group>\n<VBComponent ComponentName=\"frmB\">\n" +          // 7, 8
        "<HelpItem ComponentName=\"frmB\" ControlName=\"cmdX\" ContextHelpID=\"4\" "
        "ControlType=\"CommandButton\"><HelpText Language=\"English\">Wrapped</HelpText></HelpItem>\n" // 9
        "</VBComponent>\n</Group>\n"                                  // 10, 11
        "<Notes>Not ours</Notes>\n"                                   // 12
        "</HelpData>\n";
    openWith(data);

    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Beforeafter");
    ASSERT_TRUE(editor().formsData()->Contains("frmB"));
    EXPECT_EQ(editor().formsData()->Item("frmB")->Item("cmdX")->GetHelpText("English"), "Wrapped");
    const std::string message = onlyMessage();
    for (const std::string& expected : Strings{
             "line 1: the root element is \"HelpData\", not \"Root\"; its content is read",
             "line 2: a comment, which a save does not keep",
             "line 3: the element \"selectedlanguage\" is read as \"SelectedLanguage\"",
             "line 4: the element \"vbcomponent\" is read as \"VBComponent\"",
             "line 5: a reference to the NUL character, which cannot be stored: it is left out and the text after it is read",
             "line 7: the element \"Group\" is not one Corvane writes: the modules and languages inside it are read",
             "line 8: the element \"VBComponent\" stands inside another element; it is read",
             "line 12: the element \"Notes\" is not one Corvane writes: it is not read",
             "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
    const std::string saved = readFile(dataFile());
    EXPECT_NE(saved.find(">Beforeafter</HelpText>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<VBComponent ComponentName=\"frmB\">"), std::string::npos) << saved;
}

// A record that holds more than its texts (a note, stray text, markup inside a text, as a hand
// edit leaves them) loads its texts, and what is left out is named by line and kept in the copy
// made before the save instead of vanishing with it.
TEST_F(HelpDataLoadFaultsTest, WhatARecordHoldsBesideItsTextsIsNamedAndKeptBeforeTheSave) {
    const std::string data =
        "<Root CurrentLanguage=\"English\">\n"   // 1
        "<SelectedLanguage Name=\"English\"/>\n" // 2
        "<VBComponent ComponentName=\"frmA\">\n" // 3
        "<HelpItem ComponentName=\"frmA\" ControlName=\"txtName\" ContextHelpID=\"4\" "
        "ControlType=\"TextBox\">\n"                                             // 4
        "<Note>Ask Anna before changing</Note>\n"                                // 5
        "<HelpText Language=\"English\">Type the <b>full</b> name.</HelpText>\n" // 6
        "Stray words\n"                                                          // 7
        "</HelpItem>\n"                                                          // 8
        "<HelpItem ComponentName=\"frmA\" ControlName=\"lblNew\" ContextHelpID=\"5\" "
        "ControlType=\"Label\">\n<HelpText Language=\"English\">Plain</HelpText>\n" // 9, 10
        "</HelpItem>\n</VBComponent>\n</Root>\n";
    openWith(data);

    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Type the  name.");
    EXPECT_EQ(record("frmA", "lblNew").GetHelpText("English"), "Plain");
    const std::string message = onlyMessage();
    for (const std::string& expected : Strings{
             "line 5: the record 'txtName' of module 'frmA' holds the element \"Note\", which is "
             "not one Corvane writes: it is not read",
             "line 6: the record 'txtName' of module 'frmA' has the element \"b\" inside its text "
             "in "
             "'English': only the text around it is read",
             "line 7: the record 'txtName' of module 'frmA' has text outside its \"HelpText\" "
             "elements: it is not read",
             "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
    EXPECT_EQ(message.find("lblNew"), std::string::npos) << message;

    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
    EXPECT_NE(readFile(dataFile()).find(">Plain</HelpText>"), std::string::npos);
}

// A document type declaration may declare entities that the texts use; they are not replaced
// (a file of nested entities would fill the memory), so the declaration is named and the file
// kept before the save, which writes the reference as the text it reads.
TEST_F(HelpDataLoadFaultsTest, ADocumentTypeDeclarationIsNamedAndTheFileKeptBeforeTheSave) {
    const std::string data =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"                               // 1
        "<!DOCTYPE Root [<!ENTITY firm \"Anna &amp; Sons\">]>\n"                     // 2
        "<Root CurrentLanguage=\"English\">\n<SelectedLanguage Name=\"English\"/>\n" // 3, 4
        "<VBComponent ComponentName=\"frmA\">\n" +
        storedRecord("txtName", "Made by &firm;") + // 5, 6
        "</VBComponent>\n</Root>\n";
    openWith(data);

    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Made by &firm;");
    const std::string message = onlyMessage();
    for (const std::string& expected :
         Strings{"line 2: a document type declaration, which a save does not keep: the entities it "
                 "declares are not replaced in the texts",
                 "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
}

// A file cut short (or damaged from some point on) gives every record that is complete before
// the damage; the rest stays in the copy kept before the save.
TEST_F(HelpDataLoadFaultsTest, AFileCutShortGivesEveryCompleteRecordBeforeTheCut) {
    const fs::path vbp = copyExample();
    const fs::path file = vbp.parent_path() / "ContextHelp.txt";
    const std::string whole = readFile(file);
    const std::string half = whole.substr(0, whole.size() / 2);
    // The records the half holds whole: those whose end tag (or self-closing tag) is in it.
    size_t complete = 0;
    for (size_t at = half.find("<HelpItem "); at != std::string::npos; at = half.find("<HelpItem ", at + 1)) {
        const size_t end = half.find('>', at);
        const bool closed = end != std::string::npos &&
                            (half[end - 1] == '/' || half.find("</HelpItem>", end) != std::string::npos);
        complete += closed ? 1 : 0;
    }
    ASSERT_GT(complete, 20u);
    writeFile(file, half);
    openEditor(vbp);

    size_t texts = 0, records = 0;
    ModMain settings;
    settings.newSelectedLanguages();
    HelpDataFile reader(settings);
    ModuleRecords forms;
    NameList names;
    reader.load(file, forms, names);
    for (const auto& module : forms)
        for (const auto& record : *module) {
            ++records;
            texts += record->HelpTexts.Count();
        }
    EXPECT_EQ(records, complete);
    EXPECT_GT(texts, records);
    ASSERT_EQ(reader.problems().size(), 1u);
    EXPECT_NE(reader.problems()[0].what.find("what stands before it was read, the rest is not"), std::string::npos)
        << reader.problems()[0].what;
    // The editor took them too: the texts of the first module survive its save.
    EXPECT_EQ(record("mdiMain", "picToolbar").GetHelpText("English"),
              "The toolbar gives quick access to the commands you need most often.");
    closeWithCloseBox();
    EXPECT_EQ(readFile(file.string() + ".damaged"), half);
    EXPECT_NE(readFile(file).find("The toolbar gives quick access"), std::string::npos);
}

TEST_F(HelpDataLoadFaultsTest, TheSameDamagedBytesAreCopiedOnceAndADifferentDamageAgain) {
    const std::string damaged = "<Root><VBComponent ComponentName=\"frmA\"></Root>\n";
    openWith(damaged);
    std::string message = onlyMessage();
    EXPECT_NE(message.find("'" + dataFile().string() + "' is damaged: line 1, column"),
              std::string::npos)
        << message;
    editor().Unload(); // closed from code: nothing saved, nothing copied
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged"));
    clickMenu();
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), damaged);

    for (int round = 0; round < 2; ++round) { // the same bytes again: the copy is there already
        writeFile(dataFile(), damaged);
        clickMenu();
        closeWithCloseBox();
    }
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.damaged.2"));
    writeFile(dataFile(), "<Root>");
    clickMenu();
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged.2"), "<Root>");
}

TEST_F(HelpDataLoadFaultsTest, AnUnreadableFileIsNeverReplacedUntilItCanBeCopied) {
    const std::string data =
        "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
        "<VBComponent ComponentName=\"frmA\">" +
        storedRecord("txtName", "Precious") + "</VBComponent></Root>";
    const fs::path file = dataFile();
    auto previous = setAtomicFaultInjector([](AtomicStep step, const fs::path& path) {
        return step == AtomicStep::Read && path.filename() == "ContextHelp.txt" ? EIO : 0;
    });
    openWith(data);
    std::string message = onlyMessage();
    EXPECT_NE(message.find("'" + file.string() + "' was not loaded completely"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Input/output error"), std::string::npos) << message;

    reports_.answer("RetryNext");
    closeWithCloseBox();
    ASSERT_EQ(reports_.reports().size(), 1u);
    EXPECT_EQ(reports_.reports()[0].number.toLong(), 75);
    EXPECT_NE(reports_.reports()[0].description.toText().find("it is not replaced"),
              std::string::npos);
    EXPECT_TRUE(editor().loaded());
    EXPECT_EQ(readFile(file), data);

    // Readable again: the save copies the file first, then replaces it.
    setAtomicFaultInjector(previous);
    closeWithCloseBox();
    EXPECT_FALSE(editor().loaded());
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
}

TEST_F(HelpDataLoadFaultsTest, UnreadableByPermissionsToo) {
    if (platform::runsAsAdministrator())
        GTEST_SKIP() << "the superuser reads any file";
    auto vbp = writeSmallProject(dir_.path(), "RelatedDoc=ContextHelp.txt\n");
    const std::string data = "<Root><VBComponent ComponentName=\"frmA\">" +
                             storedRecord("txtName", "Precious") + "</VBComponent></Root>";
    writeFile(dataFile(), data);
    fs::permissions(dataFile(), fs::perms::none);
    openEditor(vbp);
    EXPECT_NE(onlyMessage().find("Permission denied"), std::string::npos);
    reports_.answer("RetryNext");
    closeWithCloseBox();
    EXPECT_TRUE(editor().loaded());
    fs::permissions(dataFile(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(dataFile()), data);
}

// NUL bytes in a file of text (a block the system never wrote, an editor's slip) are left out
// and their lines named; the records around them load, and the file is kept before the save.
TEST_F(HelpDataLoadFaultsTest, NulBytesAreLeftOutNamedAndTheRecordsAroundThemRead) {
    const std::string nul(1, '\0');
    const std::string data = "<Root CurrentLanguage=\"English\">\n"        // 1
                             "<SelectedLanguage Name=\"English\"/>\n"      // 2
                             "<SelectedLanguage Name=\"German\"/>\n"       // 3
                             "<VBComponent ComponentName=\"frmA\">\n" +    // 4
                             storedRecord("txtName", "Be" + nul + "fore") + // 5 (in both texts)
                             std::string(4096, '\0') + "\n" +              // 6
                             storedRecord("cmdGo(0)", "Go" + nul + nul) +  // 7
                             "</VBComponent>\n</Root>\n";
    openWith(data);

    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Before");
    EXPECT_EQ(record("frmA", "cmdGo(0)").GetHelpText("English"), "Go");
    EXPECT_EQ(record("frmA", "cmdGo(0)").GetHelpText("German"), "Go (de)");
    const std::string message = onlyMessage();
    for (const std::string& expected :
         Strings{"lines 5, 6, 7 hold 4102 NUL bytes, which cannot be stored: they are left out and the text "
                 "around them is read.",
                 "kept as '" + dataFile().string() + ".damaged'"})
        EXPECT_NE(message.find(expected), std::string::npos) << expected << "\n" << message;
    closeWithCloseBox();
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt.damaged"), data);
    const std::string saved = readFile(dataFile());
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    EXPECT_NE(saved.find(">Before</HelpText>"), std::string::npos) << saved;
    EXPECT_NE(saved.find(">Go (de)</HelpText>"), std::string::npos) << saved;
}

// `data` loaded without an editor: the settings its records refer to, the records, and what the
// load reported.
struct LoadedWithoutEditor {
    HelpDataSettings settings;
    ModuleRecords forms;
    std::string report;
    bool complete = false;

    LoadedWithoutEditor(const fs::path& file, const std::string& data) {
        writeFile(file, data);
        settings.newSelectedLanguages();
        HelpDataFile loaded(settings);
        NameList names;
        loaded.load(file, forms, names);
        report = loaded.problemReport();
        complete = loaded.complete();
    }
};

// A file in UTF-32 holds NUL bytes from its start: it is named as in no encoding the program
// reads, not read as text with most of its bytes left out. A file with a problem in every record
// names the first problems and counts the rest.
TEST_F(HelpDataLoadFaultsTest, AFileInUtf32IsRefusedAndAFileOfManyProblemsNamesTheFirst) {
    std::string utf32;
    for (char c : std::string("<Root><VBComponent ComponentName=\"frmA\">") + storedRecord("txtName", "Name") +
                      "</VBComponent></Root>")
        utf32 += std::string(1, c) + std::string(3, '\0');
    const LoadedWithoutEditor refused(dir_ / "utf32.txt", utf32);
    EXPECT_NE(refused.report.find("its text is in no encoding Corvane reads (it holds NUL bytes"), std::string::npos)
        << refused.report;
    EXPECT_EQ(refused.forms.Count(), 0);

    std::string many = "<Root>\n<VBComponent ComponentName=\"frmA\">\n"; // lines 1, 2
    for (int i = 0; i < 30; ++i) // lines 3 to 32
        many += "<!-- " + std::to_string(i) + " -->" + storedRecord("txt" + std::to_string(i), "Text");
    many += "</VBComponent>\n</Root>\n";
    const LoadedWithoutEditor loaded(dir_ / "many.txt", many);
    const std::string& report = loaded.report;
    EXPECT_EQ(loaded.forms.Count(), 1);
    EXPECT_NE(report.find("\nline 27: a comment, which a save does not keep.\n"
                          "and 5 more problems, the last on line 32.\n"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("line 28:"), std::string::npos) << report;
}

// A record holds at most 65,535 texts: one with more is named and not loaded, and the records
// beside it are, where the load used to stop at it.
TEST_F(HelpDataLoadFaultsTest, ARecordWithMoreTextsThanARecordHoldsIsNamedAndTheOthersLoad) {
    std::string huge = "<HelpItem ComponentName=\"frmA\" ControlName=\"txtHuge\" ContextHelpID=\"8\" "
                       "ControlType=\"TextBox\">";
    for (size_t i = 0; i <= HelpTextList::MaxCount; ++i)
        huge += "<HelpText Language=\"L" + std::to_string(i) + "\">t</HelpText>";
    huge += "</HelpItem>\n";
    const std::string data = "<Root>\n<SelectedLanguage Name=\"English\"/>\n<VBComponent ComponentName=\"frmA\">\n" +
                             storedRecord("txtName", "Name") + huge + storedRecord("cmdGo(0)", "Go") +
                             "</VBComponent>\n</Root>\n";
    const LoadedWithoutEditor loaded(dataFile(), data);

    ASSERT_TRUE(loaded.forms.Contains("frmA"));
    const HelpItems& records = *loaded.forms.Item("frmA");
    EXPECT_EQ(records.Count(), 2);
    EXPECT_FALSE(records.Contains("txtHuge"));
    EXPECT_EQ(records.Item("cmdGo(0)")->textIn("English"), "Go");
    EXPECT_FALSE(loaded.complete);
    EXPECT_NE(loaded.report.find("line 5: the record 'txtHuge' of module 'frmA' holds 65536 texts, more "
                                 "than the 65535 a record holds: it is not loaded."),
              std::string::npos)
        << loaded.report.substr(0, 1000);
}

TEST_F(HelpDataLoadFaultsTest, Utf16WithoutAMarkIsRead) {
    std::string text = "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
                       "<SelectedLanguage Name=\"German\"/><VBComponent ComponentName=\"frmA\">" +
                       storedRecord("txtName", "Grüße") + "</VBComponent></Root>";
    // UTF-16 LE of the text (its characters are all below U+0100 except none: Latin-1 range).
    std::string utf16;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned code = c;
        if (c >= 0xC0) { // a two-byte UTF-8 sequence of the Latin-1 range
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
        }
        utf16 += static_cast<char>(code & 0xFF);
        utf16 += static_cast<char>(code >> 8);
    }
    openWith(utf16);
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Grüße");
    closeWithCloseBox();
    EXPECT_NE(readFile(dataFile()).find(">Grüße</HelpText>"), std::string::npos);
}

TEST_F(HelpDataLoadFaultsTest, ANameInOtherLetterCaseIsTheDataFile) {
    const std::string data =
        "<Root CurrentLanguage=\"English\"><SelectedLanguage Name=\"English\"/>"
        "<VBComponent ComponentName=\"frmA\">" +
        storedRecord("txtName", "Found") + "</VBComponent></Root>";
    // Not part of the project, and named in small letters.
    auto vbp = writeSmallProject(dir_.path());
    writeFile(dir_ / "contexthelp.txt", data);
    openEditor(vbp);
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Found");
    closeWithCloseBox();
    // No second, empty file beside it (Windows would name the same file in either case).
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        if (foldCase(entry.path().filename().string()) == "contexthelp.txt")
            names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"contexthelp.txt"});
    EXPECT_NE(readFile(dir_ / "contexthelp.txt").find(">Found</HelpText>"), std::string::npos);
    ide_->ActiveVBProject()->save();
    EXPECT_NE(readFile(vbp).find("RelatedDoc=contexthelp.txt\r\n"), std::string::npos);

    // Listed in the project in other letter case: the same file.
    writeFile(dir_ / "Other.vbp",
              "Type=Exe\r\nForm=frmA.frm\r\nRelatedDoc=CONTEXTHELP.TXT\r\nName=\"Other\"\r\n");
    openEditor(dir_ / "Other.vbp");
    EXPECT_EQ(record("frmA", "txtName").GetHelpText("English"), "Found");
}

TEST_F(HelpDataLoadFaultsTest, TheComponentLoadsAndSavesWithoutAWindow) {
    const std::string data =
        "<Root CurrentLanguage=\"German\" PrimaryLanguage=\"English\">"
        "<VBComponent ComponentName=\"frmA\">" +
        storedRecord("txtName", "Name") +
        "</VBComponent>"
        "<SelectedLanguage Name=\"English\"/><SelectedLanguage Name=\"German\"/></Root>";
    writeFile(dataFile(), data);
    ModMain settings;
    settings.newSelectedLanguages();
    HelpDataFile file(settings);
    ModuleRecords forms;
    NameList names;
    file.load(HelpDataFile::locate(dir_ / "Any.vbp"), forms, names);
    EXPECT_TRUE(file.complete());
    EXPECT_EQ(settings.mCurrentLanguage, "German");
    EXPECT_EQ(forms.Item("frmA")->Item("txtName")->GetHelpText("German"), "Name (de)");
    forms.Item("frmA")->Item("txtName")->SetHelpText("English", "Changed");
    file.save(forms, names);
    std::string saved = readFile(dataFile());
    EXPECT_LT(saved.find("<SelectedLanguage Name=\"German\" />"), saved.find("<VBComponent"));
    EXPECT_NE(saved.find(">Changed</HelpText>"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "ContextHelp.txt.lock"));
}

} // namespace
} // namespace corvane::test
