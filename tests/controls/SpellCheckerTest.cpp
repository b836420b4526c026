#include "controls/HeadlessWindowSystem.h"
#include "controls/Label.h"
#include "controls/SpellChecker.h"
#include "controls/SpellDialog.h"
#include "controls/TextBox.h"
#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingSuggestions.h"
#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace corvane::controls {
namespace {

using corvane::test::errorNumberOf;
using ::testing::Contains;
using ::testing::ElementsAre;

// One answer of the scripted user: what to type into "Change to" (nothing: keep the
// proposal) and which button to click.
struct Answer {
    SpellChoice choice;
    std::optional<std::string> typed;
};

// What the user saw when the dialog was shown.
struct Question {
    std::string word;
    std::vector<std::string> suggestions;
    int32_t boxSelStart;
    int32_t boxSelLength;
    std::string proposal; // "Change to" as the dialog opened
};

class SpellCheckerTest : public ::testing::Test {
protected:
    SpellCheckerTest() {
        spell.SetCustomDictionary((dir / "custom.dic").string());
        spell.SetLanguage("English");
        spell.SetTextWindowHandle(box.hWnd());
        spell.BadWord.connect([this](int16_t) { badWords.emplace_back(spell.BadWordStart(), spell.BadWordLength()); });
        spell.Changed.connect([this] { ++changed; });
        spell.Complete.connect([this](int16_t cancelled) { completions.push_back(cancelled); });
        box.Change.connect([this] { ++boxChanges; });
        windows.useDefaultAnswers();
        windows.onModal("SpellDialog", [this](Form& form) { answer(static_cast<SpellDialog&>(form)); });
    }

    void answer(SpellDialog& dialog) {
        questions.push_back(
            {dialog.Word(), dialog.Suggestions(), box.SelStart(), box.SelLength(), dialog.Replacement()});
        if (answers.empty())
            throw std::runtime_error("the dialog asked more often than expected");
        Answer next = answers.front();
        answers.pop_front();
        if (next.typed)
            dialog.txtChangeTo().SetText(*next.typed);
        CommandButton* buttons[] = {&dialog.cmdCancel(), &dialog.cmdIgnore(), &dialog.cmdIgnoreAll(),
                                    &dialog.cmdChange(), &dialog.cmdChangeAll(), &dialog.cmdAdd()};
        buttons[static_cast<int>(next.choice)]->SetValue(true);
    }

    std::vector<std::string> questionedWords() const {
        std::vector<std::string> words;
        for (const auto& question : questions)
            words.push_back(question.word);
        return words;
    }

    void check(std::string text) {
        box.SetText(std::move(text));
        boxChanges = 0;
        spell.SetStartCheck(true);
    }

    corvane::test::TempDir dir;
    HeadlessWindowSystem windows;
    WindowSystemScope scope{windows};
    TextBox box{"txtHelpText"};
    SpellChecker spell;
    std::deque<Answer> answers;
    std::vector<Question> questions;
    std::vector<std::pair<int32_t, int32_t>> badWords;
    std::vector<int16_t> completions;
    int changed = 0;
    int boxChanges = 0;
};

TEST_F(SpellCheckerTest, ChangeAndIgnoreWorkOnTheAttachedBoxWordByWord) {
    answers = {{SpellChoice::Change, std::string("test")}, {SpellChoice::Ignore, std::nullopt}};
    check("“Quoted” a tset of the wrold.");
    ASSERT_THAT(questionedWords(), ElementsAre("tset", "wrold"));
    // Positions count characters: each curly quote is one character of three bytes.
    EXPECT_THAT(badWords, ElementsAre(std::pair(11, 4), std::pair(23, 5)));
    // The word is selected in the box when the dialog asks.
    EXPECT_EQ(questions[0].boxSelStart, 11);
    EXPECT_EQ(questions[0].boxSelLength, 4);
    EXPECT_EQ(questions[1].boxSelStart, 23);
    EXPECT_THAT(questions[0].suggestions, Contains("test"));
    EXPECT_EQ(questions[0].proposal, questions[0].suggestions.front());
    EXPECT_EQ(box.Text(), "“Quoted” a test of the wrold.");
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(boxChanges, 1);
    EXPECT_THAT(completions, ElementsAre(0));
    EXPECT_FALSE(spell.StartCheck());
}

TEST_F(SpellCheckerTest, TypedReplacementAndChangeAllReachLaterOccurrencesOfThisCheckOnly) {
    answers = {{SpellChoice::ChangeAll, std::string("the")}, {SpellChoice::Change, std::string("façade")}};
    check("teh cat, teh dog and fasade; teh end");
    EXPECT_THAT(questionedWords(), ElementsAre("teh", "fasade"));
    EXPECT_EQ(box.Text(), "the cat, the dog and façade; the end");
    EXPECT_EQ(changed, 4);

    // A new check asks again: Change All lasts for one check.
    answers = {{SpellChoice::Ignore, std::nullopt}};
    questions.clear();
    check("teh");
    EXPECT_THAT(questionedWords(), ElementsAre("teh"));
    EXPECT_THAT(completions, ElementsAre(0, 0));
}

TEST_F(SpellCheckerTest, IgnoreAllLastsForTheControlsLifeAndAddSavesTheWord) {
    answers = {{SpellChoice::IgnoreAll, std::nullopt}, {SpellChoice::Add, std::nullopt}};
    check("zorbix and Quuxly, zorbix again");
    EXPECT_THAT(questionedWords(), ElementsAre("zorbix", "Quuxly"));
    EXPECT_EQ(corvane::test::readFile(dir / "custom.dic"), "Quuxly\n");

    questions.clear();
    check("zorbix Quuxly");
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(box.Text(), "zorbix Quuxly");
    EXPECT_EQ(changed, 0);

    // Another control reads the custom dictionary at its first check; Ignore All was this
    // control's only.
    SpellChecker other;
    other.SetCustomDictionary((dir / "custom.dic").string());
    other.SetTextWindowHandle(box.hWnd());
    answers = {{SpellChoice::Ignore, std::nullopt}};
    other.SetStartCheck(true);
    EXPECT_THAT(questionedWords(), ElementsAre("zorbix"));
}

TEST_F(SpellCheckerTest, CancelAndTheCloseBoxEndTheCheckAsCancelled) {
    answers = {{SpellChoice::Change, std::string("first")}, {SpellChoice::Cancel, std::nullopt}};
    check("frist and secnod and thrid");
    EXPECT_THAT(questionedWords(), ElementsAre("frist", "secnod"));
    EXPECT_EQ(box.Text(), "first and secnod and thrid"); // the change before the cancel stays
    EXPECT_THAT(completions, ElementsAre(1));
    // Suggestions are searched for the words shown only, and kept for the next check.
    auto folder = SpellingDictionary::findFolder("en_US", SpellingDictionary::searchFolders());
    auto suggestions = corvane::SpellingSuggestions::shared("en_US", folder, {});
    EXPECT_TRUE(suggestions->has("secnod"));
    EXPECT_FALSE(suggestions->has("thrid"));

    windows.onModalOnce("SpellDialog", [](Form& form) { form.userClose(); });
    check("secnod");
    EXPECT_THAT(completions, ElementsAre(1, 1));
}

TEST_F(SpellCheckerTest, NothingToQuestionCompletesAtOnce) {
    check("");
    check("Numbers 42, HTML, txtHelpText and http://example.com/teh are not words to check.");
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(badWords.empty());
    EXPECT_THAT(completions, ElementsAre(0, 0));
    EXPECT_TRUE(windows.messages().empty());
}

TEST_F(SpellCheckerTest, DetachedItChecksAndChangesItsOwnText) {
    spell.SetTextWindowHandle(0);
    spell.SetText("An exmaple");
    box.SetText("teh box is not checked");
    answers = {{SpellChoice::Change, std::nullopt}};
    spell.SetStartCheck(true);
    EXPECT_THAT(questionedWords(), ElementsAre("exmaple"));
    EXPECT_EQ(questions[0].proposal, "example");
    EXPECT_EQ(spell.Text(), "An example");
    EXPECT_EQ(box.Text(), "teh box is not checked");
    EXPECT_EQ(spell.GetProperty("BadWordStart"), Variant(3));
    EXPECT_EQ(spell.GetProperty("BadWordLength"), Variant(7));
}

TEST_F(SpellCheckerTest, AMissingDictionaryIsOneClearMessageAndACancelledCheck) {
    if (!SpellingDictionary::findFolder("ko_KR", SpellingDictionary::searchFolders()).empty())
        GTEST_SKIP() << "a Korean dictionary is installed";
    spell.SetLanguage("Korean");
    check("every wrod would be questioned");
    EXPECT_TRUE(questions.empty());
    ASSERT_EQ(windows.messages().size(), 1u);
    const MessageBoxRecord& message = windows.messages()[0];
    EXPECT_EQ(message.title, "Spell check");
    EXPECT_EQ(message.style, vbOKOnly | vbExclamation);
    EXPECT_NE(message.prompt.find("\"ko_KR\""), std::string::npos) << message.prompt;
    EXPECT_NE(message.prompt.find("/usr/share/hunspell"), std::string::npos) << message.prompt;
    EXPECT_THAT(completions, ElementsAre(1));

    // Back in a language with a dictionary, checks run again.
    spell.SetLanguage("English");
    answers = {{SpellChoice::Ignore, std::nullopt}};
    check("wrod");
    EXPECT_THAT(questionedWords(), ElementsAre("wrod"));
}

TEST_F(SpellCheckerTest, AttachingNeedsALiveTextBox) {
    Label label("lblNotABox");
    EXPECT_EQ(errorNumberOf([&] { spell.SetTextWindowHandle(label.hWnd()); }), 5);
    EXPECT_EQ(errorNumberOf([&] { spell.SetTextWindowHandle(987654); }), 5);
    int32_t handle = 0;
    {
        TextBox gone("txtGone");
        handle = gone.hWnd();
        spell.SetTextWindowHandle(handle);
    }
    EXPECT_EQ(errorNumberOf([&] { spell.SetStartCheck(true); }), 91);
    EXPECT_TRUE(completions.empty());
    spell.SetProperty("TextWindowHandle", Variant(0));
    EXPECT_EQ(spell.TextWindowHandle(), 0);
    EXPECT_EQ(errorNumberOf([&] { spell.SetProperty("BadWordStart", Variant(1)); }), 383);
}

TEST_F(SpellCheckerTest, AReentrantStartIsRefused) {
    int refused = -1;
    spell.BadWord.connect([&](int16_t) { refused = errorNumberOf([&] { spell.SetStartCheck(true); }); });
    answers = {{SpellChoice::Ignore, std::nullopt}};
    check("wrod");
    EXPECT_EQ(refused, 5);
    EXPECT_THAT(completions, ElementsAre(0));
}

} // namespace
} // namespace corvane::controls
