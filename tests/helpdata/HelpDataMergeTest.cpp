// Two programs with the same help data file open: each save replaces only what that program
// changed, onto whatever the other saved meanwhile; texts both changed stop the save unless a
// side is chosen, and nothing is written then.
#include "helpdata/HelpDataFile.h"
#include "settings/ModMain.h"
#include "testsupport/addin/AddinTestFixture.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

const char* const Stored = R"(<?xml version="1.0" encoding="UTF-8"?>
<Root CurrentLanguage="English" PrimaryLanguage="English" GenerateHTML="True" CompileHTML="True" GenerateWinHelp="False" CompileWinHelp="False">
  <SelectedLanguage Name="English" />
  <SelectedLanguage Name="German" />
  <VBComponent ComponentName="frmMain">
    <HelpItem ComponentName="frmMain" ControlName="txtName" ContextHelpID="0" ControlType="TextBox" Caption="">
      <HelpText Language="English">The name.</HelpText>
      <HelpText Language="German">Der Name.</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmMain" ControlName="cmdOK" ContextHelpID="0" ControlType="CommandButton" Caption="OK">
      <HelpText Language="English">Saves.</HelpText>
    </HelpItem>
    <HelpItem ComponentName="frmMain" ControlName="lblHint" ContextHelpID="3" ControlType="Label" Caption="Hint">
      <HelpText Language="English">A hint.</HelpText>
    </HelpItem>
  </VBComponent>
</Root>
)";

// One program's view of the data file: its settings, records and the file as it read it.
struct Program {
    explicit Program(const fs::path& path) : file(settings) {
        settings.newSelectedLanguages();
        file.load(path, forms, names);
    }
    HelpItem& record(const std::string& module, const std::string& key) { return *forms.Item(module)->Item(key); }
    void set(const std::string& key, const std::string& language, const std::string& text) {
        record("frmMain", key).SetHelpText(language, text);
    }
    void save(MergeResolution resolution = MergeResolution::Refuse) { file.save(forms, names, {}, {}, resolution); }

    ModMain settings;
    HelpDataFile file;
    ModuleRecords forms;
    NameList names;
};

class HelpDataMergeTest : public AddinTest {
protected:
    void SetUp() override { writeFile(path(), Stored); }
    fs::path path() const { return dir_ / "ContextHelp.txt"; }
    // What a program that opens the file now reads.
    std::string text(const std::string& key, const std::string& language) {
        Program reader(path());
        return reader.record("frmMain", key).GetHelpText(language);
    }
    int32_t number(const std::string& key) { return Program(path()).record("frmMain", key).ContextHelpID; }
};

TEST_F(HelpDataMergeTest, ChangesOfDifferentTextsAndNumbersAreAllKeptWhoeverSavesLast) {
    Program editor(path());
    Program import(path());
    Program compile(path());
    editor.set("txtName", "English", "The customer's name.");
    import.set("cmdOK", "German", "Speichert.");
    import.set("txtName", "German", "Der Name des Kunden.");
    compile.record("frmMain", "txtName").ContextHelpID = 11;
    compile.record("frmMain", "cmdOK").ContextHelpID = 12;
    import.save();
    compile.save();
    editor.save(); // saves last, having read the file before both

    EXPECT_EQ(text("txtName", "English"), "The customer's name.");
    EXPECT_EQ(text("txtName", "German"), "Der Name des Kunden.");
    EXPECT_EQ(text("cmdOK", "German"), "Speichert.");
    EXPECT_EQ(text("cmdOK", "English"), "Saves.");
    EXPECT_EQ(number("txtName"), 11);
    EXPECT_EQ(number("cmdOK"), 12);
    EXPECT_EQ(number("lblHint"), 3);
    // The editor's records now hold what it wrote, and its next save without a change writes
    // nothing new.
    EXPECT_EQ(editor.record("frmMain", "cmdOK").GetHelpText("German"), "Speichert.");
    const std::string written = readFile(path());
    editor.save();
    EXPECT_EQ(readFile(path()), written);
    // A text the other program removed is removed; a text both set alike is no conflict.
    Program second(path());
    editor.set("lblHint", "English", "Same hint.");
    second.set("lblHint", "English", "Same hint.");
    second.set("cmdOK", "English", "");
    second.save();
    editor.save();
    EXPECT_EQ(text("cmdOK", "English"), "");
    EXPECT_EQ(text("lblHint", "English"), "Same hint.");
}

TEST_F(HelpDataMergeTest, TextsChangedOnBothSidesStopTheSaveUntilASideIsChosen) {
    Program mine(path());
    Program theirs(path());
    theirs.set("txtName", "English", "Theirs.");
    theirs.record("frmMain", "lblHint").ContextHelpID = 30;
    theirs.set("cmdOK", "English", "Their OK.");
    theirs.save();
    const std::string saved = readFile(path());
    mine.set("txtName", "English", "Mine.");
    mine.record("frmMain", "lblHint").ContextHelpID = 40;
    mine.set("txtName", "German", "Meins.");
    try {
        mine.save();
        ADD_FAILURE() << "no conflict";
    } catch (const HelpDataConflictError& conflict) {
        EXPECT_EQ(conflict.number(), 75);
        EXPECT_EQ(conflict.description(),
                  "The help data file '" + path().string() +
                      "' was changed by another program since Corvane read it, and 2 texts were changed both "
                      "there and here:\n  frmMain/txtName (English)\n  frmMain/lblHint (context number)\nNothing was "
                      "written.");
        ASSERT_EQ(conflict.conflicts().size(), 2u);
    }
    EXPECT_EQ(readFile(path()), saved) << "nothing written";
    EXPECT_EQ(mine.record("frmMain", "txtName").GetHelpText("English"), "Mine.") << "nothing taken";

    mine.save(MergeResolution::KeepOurs);
    EXPECT_EQ(text("txtName", "English"), "Mine.");
    EXPECT_EQ(text("txtName", "German"), "Meins.");
    EXPECT_EQ(text("cmdOK", "English"), "Their OK.");
    EXPECT_EQ(number("lblHint"), 40);

    Program other(path());
    other.set("txtName", "English", "Other.");
    other.save();
    mine.set("txtName", "English", "Mine again.");
    mine.save(MergeResolution::TakeTheirs);
    EXPECT_EQ(text("txtName", "English"), "Other.");
    EXPECT_EQ(mine.record("frmMain", "txtName").GetHelpText("English"), "Other.");
}

TEST_F(HelpDataMergeTest, WhatOnlyOneSideHasIsKeptAndARemovedFileGetsEverythingBack) {
    Program mine(path());
    Program theirs(path());
    // The other program added a language, a module and a record; this one changed a flag.
    theirs.settings.SelectedLanguages->Add("French", "French");
    theirs.set("txtName", "French", "Le nom.");
    auto records = std::make_shared<HelpItems>();
    auto added = std::make_shared<HelpItem>(theirs.settings.SelectedLanguages);
    added->ComponentName = "frmOther";
    added->ControlName = "txtNote";
    added->SetHelpText("English", "A note.");
    records->Add(added, "txtNote");
    theirs.forms.Add(records, "frmOther");
    theirs.names.Add("frmOther", "frmOther");
    theirs.settings.codePage = 1250; // chosen there for the project's files
    theirs.save();
    mine.settings.mGenerateWinHelp = true;
    mine.set("cmdOK", "English", "OK and close.");
    mine.save();

    Program reader(path());
    EXPECT_TRUE(reader.settings.SelectedLanguages->Contains("French"));
    EXPECT_TRUE(reader.settings.mGenerateWinHelp);
    EXPECT_EQ(reader.settings.codePage, 1250);
    EXPECT_EQ(reader.record("frmMain", "txtName").GetHelpText("French"), "Le nom.");
    EXPECT_EQ(reader.record("frmOther", "txtNote").GetHelpText("English"), "A note.");
    EXPECT_EQ(reader.record("frmMain", "cmdOK").GetHelpText("English"), "OK and close.");

    // Removed by another program: this one's save writes all it holds, not only its changes.
    fs::remove(path());
    mine.set("lblHint", "English", "Hint.");
    mine.save();
    EXPECT_EQ(text("txtName", "English"), "The name.");
    EXPECT_EQ(text("lblHint", "English"), "Hint.");
}

TEST_F(HelpDataMergeTest, ReloadingTakesTheOtherProgramsTextsAndKeepsTheOwnUnsavedOnes) {
    Program mine(path());
    Program theirs(path());
    EXPECT_FALSE(mine.file.changedOnDisk());
    theirs.set("txtName", "English", "Theirs.");
    theirs.set("cmdOK", "English", "Their OK.");
    theirs.save();
    EXPECT_TRUE(mine.file.changedOnDisk());
    mine.set("txtName", "English", "Mine.");
    const std::string saved = readFile(path());

    ReloadOutcome outcome = mine.file.reload(mine.forms, mine.names);
    EXPECT_EQ(outcome.takenTexts, 1);
    ASSERT_EQ(outcome.kept.size(), 1u);
    EXPECT_EQ(outcome.kept[0].describe(), "frmMain/txtName (English)");
    EXPECT_FALSE(mine.file.changedOnDisk());
    EXPECT_EQ(readFile(path()), saved) << "a reload only reads";
    EXPECT_EQ(mine.record("frmMain", "cmdOK").GetHelpText("English"), "Their OK.");
    EXPECT_EQ(mine.record("frmMain", "txtName").GetHelpText("English"), "Mine.");
    // The reloaded version is the base now: the save writes the kept text without a conflict.
    mine.save();
    EXPECT_EQ(text("txtName", "English"), "Mine.");
    EXPECT_EQ(text("cmdOK", "English"), "Their OK.");
}

} // namespace
} // namespace corvane::test
