// The editor's spell check with the real spelling control, real Hunspell dictionaries and a
// scripted user answering the control's dialog.
#include "controls/HeadlessBusyWindow.h"
#include "controls/SpellChecker.h"
#include "controls/SpellDialog.h"
#include "settings/ModMain.h"
#include "testsupport/addin/AddinTestFixture.h"

#include <gmock/gmock.h>

#include <deque>
#include <functional>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using controls::SpellChoice;
using ::testing::ElementsAre;

// A form with the command buttons cmdA, cmdB and cmdC (none when `empty`).
std::string formFile(const std::string& name, bool empty = false) {
    std::string text = "VERSION 5.00\nBegin VB.Form " + name + " \n   Caption         =   \"" + name + "\"\n";
    if (!empty)
        for (const char* button : {"cmdA", "cmdB", "cmdC"})
            text += std::string("   Begin VB.CommandButton ") + button + " \n      Caption         =   \"" + button +
                    "\"\n   End\n";
    return text + "End\nAttribute VB_Name = \"" + name + "\"\n";
}

std::string helpItem(const std::string& module, const std::string& key, const std::string& english,
                     const std::string& german) {
    return "    <HelpItem ComponentName=\"" + module + "\" ControlName=\"" + key +
           "\" ContextHelpID=\"0\" ControlType=\"CommandButton\" Caption=\"" + key + "\">\n" +
           "      <HelpText Language=\"English\">" + english + "</HelpText>\n" +
           "      <HelpText Language=\"German\">" + german + "</HelpText>\n    </HelpItem>\n";
}

// One answer of the scripted user: the button, and the text typed into "Change to" first.
struct Answer {
    SpellChoice choice;
    std::string typed;
};

// What the user saw when the dialog asked.
struct Question {
    std::string module;
    int32_t row;
    std::string word;
    int32_t boxSelStart, boxSelLength;
    int32_t gridSelStart, gridSelLength;
    bool busyVisible;
};

class SpellCheckRunTest : public AddinTest {
protected:
    SpellCheckRunTest() {
        fs::path folder = dir_ / "Spelling";
        fs::create_directories(folder);
        writeCrLf(folder / "Spelling.vbp", "Type=Exe\nForm=frmOne.frm\nForm=frmTwo.frm\nForm=frmThree.frm\n"
                                           "Form=frmEmpty.frm\nRelatedDoc=ContextHelp.txt\nName=\"Spelling\"\n");
        for (const char* name : {"frmOne", "frmTwo", "frmThree"})
            writeCrLf(folder / (std::string(name) + ".frm"), formFile(name));
        writeCrLf(folder / "frmEmpty.frm", formFile("frmEmpty", true));
        writeFile(folder / "ContextHelp.txt",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<Root CurrentLanguage=\"English\" PrimaryLanguage=\"English\" GenerateHTML=\"True\" "
                  "CompileHTML=\"False\" GenerateWinHelp=\"False\" CompileWinHelp=\"False\">\n"
                  "  <SelectedLanguage Name=\"English\" />\n  <SelectedLanguage Name=\"German\" />\n"
                  "  <VBComponent ComponentName=\"frmOne\">\n" +
                      helpItem("frmOne", "cmdA", "Saves the ordre.", "Speichert den Auftarg.") +
                      helpItem("frmOne", "cmdB", "Closes the window.", "Schließt das Fenster.") +
                      helpItem("frmOne", "cmdC", "Prints the lsit.", "Druckt die Liste.") +
                      "  </VBComponent>\n  <VBComponent ComponentName=\"frmTwo\">\n" +
                      helpItem("frmTwo", "cmdA", "Opens the custmer file.", "") +
                      helpItem("frmTwo", "cmdB", "", "") +
                      helpItem("frmTwo", "cmdC", "Deletes the recrod.", "") +
                      "  </VBComponent>\n  <VBComponent ComponentName=\"frmThree\">\n" +
                      helpItem("frmThree", "cmdA", "Shows the totl.", "") +
                      helpItem("frmThree", "cmdB", "Fine text.", "") +
                      helpItem("frmThree", "cmdC", "Another mistaek.", "") + "  </VBComponent>\n</Root>\n");
        openEditor(folder / "Spelling.vbp");
        windows_.onModal("SpellDialog", [this](controls::Form& form) {
            answer(static_cast<controls::SpellDialog&>(form));
        });
    }

    void answer(controls::SpellDialog& dialog) {
        FrmWizard& window = editor();
        questions_.push_back({window.lbxModules().ListIndex() >= 0 ? window.lbxModules().Text() : "",
                              window.Grid().Row(), dialog.Word(), window.txtHelpText().SelStart(),
                              window.txtHelpText().SelLength(), window.Grid().SelStart(),
                              window.Grid().SelLength(), busy().Visible()});
        if (onQuestion_)
            onQuestion_();
        if (answers_.empty())
            throw std::runtime_error("unexpected question about " + dialog.Word());
        Answer next = answers_.front();
        answers_.pop_front();
        if (!next.typed.empty())
            dialog.txtChangeTo().SetText(next.typed);
        switch (next.choice) {
        case SpellChoice::Ignore: dialog.cmdIgnore().SetValue(true); break;
        case SpellChoice::Change: dialog.cmdChange().SetValue(true); break;
        case SpellChoice::ChangeAll: dialog.cmdChangeAll().SetValue(true); break;
        case SpellChoice::IgnoreAll: dialog.cmdIgnoreAll().SetValue(true); break;
        case SpellChoice::Add: dialog.cmdAdd().SetValue(true); break;
        case SpellChoice::Cancel: dialog.cmdCancel().SetValue(true); break;
        }
    }

    // Selects a module in the list and a row of the grid, as the user does.
    void select(int32_t module, int32_t row) {
        editor().lbxModules().SetListIndex(module);
        editor().Grid().SetRow(row);
    }

    // Clicks the toolbar's spell-check tool with a scope checked.
    void runSpellCheck(const std::string& scope) {
        editor().SetSpellType(scope);
        windows_.clearMessages();
        controls::ActiveBar& bar = editor().ActiveBar();
        bar.clickTool(bar.Bands("Main Band").Tools().Item("spellcheck"));
    }

    std::vector<std::string> questionedWords() const {
        std::vector<std::string> words;
        for (const Question& question : questions_)
            words.push_back(question.word);
        return words;
    }

    std::vector<std::string> prompts() const {
        std::vector<std::string> texts;
        for (const auto& message : windows_.messages())
            texts.push_back(message.prompt);
        return texts;
    }

    std::string english(const std::string& module, const std::string& key) {
        return record(module, key).GetHelpText("English");
    }

    controls::HeadlessBusyWindow& busy() {
        return dynamic_cast<controls::HeadlessBusyWindow&>(*addin_->modMain().Busy);
    }

    std::deque<Answer> answers_;
    std::vector<Question> questions_;
    std::function<void()> onQuestion_; // what the user does besides answering
};

TEST_F(SpellCheckRunTest, CurrentModuleChecksEveryRowInOrderAndReturnsToTheRow) {
    select(0, 1);
    answers_ = {{SpellChoice::Change, "order"}, {SpellChoice::Ignore, ""}};
    runSpellCheck("sc_currentmodule");

    EXPECT_THAT(questionedWords(), ElementsAre("ordre", "lsit"));
    EXPECT_EQ(questions_[0].row, 0);
    EXPECT_EQ(questions_[1].row, 2);
    // The word is selected in the text box and in the grid's cell editor.
    const Question& first = questions_[0];
    EXPECT_EQ(std::tie(first.boxSelStart, first.boxSelLength, first.gridSelStart, first.gridSelLength),
              std::make_tuple(10, 5, 10, 5));
    EXPECT_EQ(std::tie(questions_[1].gridSelStart, questions_[1].gridSelLength), std::make_tuple(11, 4));

    ASSERT_EQ(windows_.messages().size(), 1u);
    EXPECT_EQ(windows_.messages()[0],
              (controls::MessageBoxRecord{"Spell check", "Spell check complete for the current module",
                                          controls::vbOKOnly | controls::vbInformation, controls::vbOK}));
    EXPECT_EQ(editor().Grid().Row(), 1);
    EXPECT_EQ(editor().txtHelpText().Text(), "Closes the window.");
    // The correction reached the record in the current language only.
    EXPECT_EQ(english("frmOne", "cmdA"), "Saves the order.");
    EXPECT_EQ(record("frmOne", "cmdA").GetHelpText("German"), "Speichert den Auftarg.");
    EXPECT_EQ(english("frmOne", "cmdC"), "Prints the lsit.");
}

TEST_F(SpellCheckRunTest, CancellingInTheSecondOfThreeModulesRestoresModuleAndRow) {
    select(2, 2);
    answers_ = {{SpellChoice::Ignore, ""}, {SpellChoice::Change, "list"}, {SpellChoice::Cancel, ""}};
    runSpellCheck("sc_allmodules");

    EXPECT_THAT(questionedWords(), ElementsAre("ordre", "lsit", "custmer"));
    EXPECT_EQ(questions_[2].module, "frmTwo");
    EXPECT_THAT(prompts(), ElementsAre()); // the user cancelled: no box says so
    EXPECT_EQ(editor().lbxModules().ListIndex(), 2);
    EXPECT_EQ(editor().ModuleListContainer().Caption(), "frmThree");
    EXPECT_EQ(editor().Grid().Row(), 2);
    EXPECT_EQ(editor().txtHelpText().Text(), "Another mistaek.");
    // Texts checked before the cancel keep their corrections.
    EXPECT_EQ(english("frmOne", "cmdC"), "Prints the list.");
    EXPECT_EQ(english("frmTwo", "cmdA"), "Opens the custmer file.");
}

TEST_F(SpellCheckRunTest, AllModulesFromNoSelectionSkipsTheEmptyModuleAndLeavesTheListUnselected) {
    ASSERT_EQ(editor().lbxModules().ListIndex(), -1);
    ASSERT_THAT(moduleList(), ElementsAre("frmOne", "frmTwo", "frmThree", "frmEmpty"));
    answers_ = {{SpellChoice::Change, "order"}, {SpellChoice::Change, "list"}, {SpellChoice::Change, "customer"},
                {SpellChoice::Change, "record"}, {SpellChoice::Change, "total"}, {SpellChoice::Change, "mistake"}};
    runSpellCheck("sc_allmodules");

    EXPECT_THAT(questionedWords(), ElementsAre("ordre", "lsit", "custmer", "recrod", "totl", "mistaek"));
    EXPECT_THAT(prompts(), ElementsAre("Spell check complete for all modules"));
    EXPECT_EQ(editor().lbxModules().ListIndex(), -1);
    EXPECT_EQ(editor().ModuleListContainer().Caption(), "frmEmpty");
    for (auto [module, key, text] : {std::tuple{"frmOne", "cmdA", "Saves the order."},
                                     std::tuple{"frmOne", "cmdC", "Prints the list."},
                                     std::tuple{"frmTwo", "cmdA", "Opens the customer file."},
                                     std::tuple{"frmTwo", "cmdC", "Deletes the record."},
                                     std::tuple{"frmThree", "cmdA", "Shows the total."},
                                     std::tuple{"frmThree", "cmdC", "Another mistake."}})
        EXPECT_EQ(english(module, key), text) << module << "." << key;
}

TEST_F(SpellCheckRunTest, TheBusyWindowCountsTheModulesAndGivesWayToTheDialog) {
    busy().clearStates();
    answers_ = {{SpellChoice::Ignore, ""}, {SpellChoice::Ignore, ""}, {SpellChoice::Ignore, ""},
                {SpellChoice::Ignore, ""}, {SpellChoice::Ignore, ""}, {SpellChoice::Ignore, ""}};
    runSpellCheck("sc_allmodules");

    ASSERT_EQ(questions_.size(), 6u);
    for (const Question& question : questions_)
        EXPECT_FALSE(question.busyVisible) << question.word;
    std::vector<std::string> shown;
    for (const controls::BusyState& state : busy().states()) {
        EXPECT_EQ(state.title, "Spell check");
        EXPECT_EQ(state.max, 4);
        if (state.visible && (shown.empty() || shown.back() != state.message))
            shown.push_back(state.message);
    }
    // Shown again after each question, hidden at the end, before the closing message.
    EXPECT_THAT(shown, ElementsAre("Checking module 1 of 4: frmOne", "Checking module 2 of 4: frmTwo",
                                   "Checking module 3 of 4: frmThree", "Checking module 4 of 4: frmEmpty"));
    EXPECT_FALSE(busy().Visible());
    EXPECT_GT(busy().states().size(), 6u);
    EXPECT_THAT(prompts(), ElementsAre("Spell check complete for all modules"));

    // A module's check counts its texts.
    busy().clearStates();
    select(0, 0);
    answers_ = {{SpellChoice::Ignore, ""}, {SpellChoice::Ignore, ""}};
    runSpellCheck("sc_currentmodule");
    shown.clear();
    for (const controls::BusyState& state : busy().states())
        if (state.visible && (shown.empty() || shown.back() != state.message))
            shown.push_back(state.message);
    EXPECT_THAT(shown, ElementsAre("Checking text 1 of 3", "Checking text 2 of 3", "Checking text 3 of 3"));
    EXPECT_FALSE(busy().Visible());
}

TEST_F(SpellCheckRunTest, CommandsWaitForTheWalkAndClosingTheWindowEndsIt) {
    onQuestion_ = [this] {
        onQuestion_ = nullptr;
        controls::ActiveBar& bar = editor().ActiveBar();
        bar.clickTool(bar.Bands("Main Band").Tools().Item("spellcheck")); // waits: nothing starts
        editor().userClose(); // closes once the pending events run, between two texts
        windows_.advance(10);
    };
    answers_ = {{SpellChoice::Change, "order"}};
    runSpellCheck("sc_allmodules");

    EXPECT_THAT(questionedWords(), ElementsAre("ordre"));
    EXPECT_TRUE(prompts().empty());
    EXPECT_FALSE(editor().loaded());
    EXPECT_FALSE(busy().Visible());
    EXPECT_TRUE(reports_.reports().empty());
    // The close saved the correction made before it.
    EXPECT_NE(readFile(dir_ / "Spelling" / "ContextHelp.txt").find("Saves the order."), std::string::npos);
}

TEST_F(SpellCheckRunTest, TheDictionaryFollowsTheCurrentLanguage) {
    controls::ActiveBar& bar = editor().ActiveBar();
    bar.pickComboEntry(bar.Bands(0).Tools().Item("selectedlanguage"), 1);
    ASSERT_EQ(addin_->modMain().mCurrentLanguage, "German");
    select(0, 0);
    answers_ = {{SpellChoice::Change, "Auftrag"}};
    runSpellCheck("sc_currentmodule"); // "Schließt das Fenster." and "Druckt die Liste." pass

    EXPECT_THAT(questionedWords(), ElementsAre("Auftarg"));
    EXPECT_EQ(record("frmOne", "cmdA").GetHelpText("German"), "Speichert den Auftrag.");
    EXPECT_EQ(english("frmOne", "cmdA"), "Saves the ordre.");
}

TEST_F(SpellCheckRunTest, CurrentItemChecksTheTextBoxOnly) {
    select(1, 1); // frmTwo.cmdB has no text
    runSpellCheck("sc_currentitem");
    EXPECT_TRUE(questions_.empty());
    EXPECT_THAT(prompts(), ElementsAre("Spell check complete for the current item"));

    editor().Grid().SetRow(2);
    answers_ = {{SpellChoice::Change, "record"}};
    runSpellCheck("sc_currentitem");
    EXPECT_THAT(questionedWords(), ElementsAre("recrod"));
    EXPECT_THAT(prompts(), ElementsAre("Spell check complete for the current item"));
    // The questioned word's mark in the grid's cell ends with the check.
    EXPECT_EQ(editor().Grid().SelLength(), 0);
    // The correction shows in the box and the grid's cell; the record follows when the row is left.
    EXPECT_EQ(editor().txtHelpText().Text(), "Deletes the record.");
    EXPECT_EQ(editor().Grid().Value(3), Variant(std::string("Deletes the record.")));
    EXPECT_EQ(english("frmTwo", "cmdC"), "Deletes the recrod.");
    editor().Grid().SetRow(0);
    EXPECT_EQ(english("frmTwo", "cmdC"), "Deletes the record.");

    answers_ = {{SpellChoice::Cancel, ""}};
    runSpellCheck("sc_currentitem");
    EXPECT_THAT(prompts(), ElementsAre());
}

TEST_F(SpellCheckRunTest, AnEmptyModuleSaysNoRowsThenComplete) {
    select(3, 0);
    runSpellCheck("sc_currentmodule");
    EXPECT_TRUE(questions_.empty());
    ASSERT_EQ(windows_.messages().size(), 2u);
    EXPECT_EQ(windows_.messages()[0],
              (controls::MessageBoxRecord{"No rows", "No rows to check",
                                          controls::vbOKOnly | controls::vbExclamation, controls::vbOK}));
    EXPECT_EQ(windows_.messages()[1].prompt, "Spell check complete for the current module");
    EXPECT_EQ(editor().Grid().Row(), 0);
}

TEST_F(SpellCheckRunTest, WithNoScopeCheckedNothingHappens) {
    select(0, 0);
    runSpellCheck("no_such_scope");
    ASSERT_EQ(editor().GetSpellType(), "");
    EXPECT_TRUE(questions_.empty());
    EXPECT_TRUE(windows_.messages().empty());
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(SpellCheckRunTest, TheCustomDictionaryIsTheProgramsOwnAndAddExtendsIt) {
    EXPECT_EQ(fs::path(editor().Spell().CustomDictionary()), dir_ / "data" / "custom.dic");
    select(2, 0);
    answers_ = {{SpellChoice::Add, ""}};
    runSpellCheck("sc_currentitem");
    EXPECT_EQ(readFile(dir_ / "data" / "custom.dic"), "totl\n");
}

} // namespace
} // namespace corvane::test
