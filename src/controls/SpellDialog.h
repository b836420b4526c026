// SpellDialog: the spell checker's question about one word, as a modal window.
//
// The spell-check control fills it (the questioned word, the dictionary's suggestions, the
// replacement proposed in "Change to") and shows it modally through the window system; the
// user answers with one of the six buttons, which records the choice and hides the window.
// The close box counts as Cancel. The Qt window system draws it like any other window from
// its controls; headless, a scripted user answers it (HeadlessWindowSystem::onModal with the
// window name "SpellDialog"), for example:
//
//     windows.onModal("SpellDialog", [](controls::Form& form) {
//         auto& dialog = static_cast<controls::SpellDialog&>(form);
//         dialog.lstSuggestions().SetListIndex(0); // "Change to" takes the suggestion
//         dialog.cmdChange().SetValue(true);
//     });
#pragma once

#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "controls/TextBox.h"

#include <string>
#include <vector>

namespace corvane::controls {

// What the user did with a questioned word.
enum class SpellChoice {
    Cancel,    // end the check
    Ignore,    // leave this occurrence
    IgnoreAll, // accept the word for the rest of the session
    Change,    // replace this occurrence with the replacement
    ChangeAll, // replace this and every later occurrence in this check
    Add,       // add the word to the custom dictionary
};

class SpellDialog : public Form {
public:
    // The window's name, for scripted users.
    static constexpr std::string_view WindowName = "SpellDialog";

    SpellDialog();

    // Fills the dialog for a questioned word: "Change to" proposes the first suggestion, or
    // the word itself when there is none. The choice is reset to Cancel.
    void ask(const std::string& word, const std::vector<std::string>& suggestions);

    // The questioned word.
    const std::string& Word() const noexcept { return word_; }
    // The suggestions, best first.
    const std::vector<std::string>& Suggestions() const noexcept { return suggestions_; }
    // The text that Change and Change All put in place of the word ("Change to").
    std::string Replacement();
    // The user's answer (Cancel until a button is clicked).
    SpellChoice Choice() const noexcept { return choice_; }

    // The controls (using one loads the window).
    Label& lblWord();
    TextBox& txtChangeTo();
    ListBox& lstSuggestions();
    CommandButton& cmdIgnore();
    CommandButton& cmdIgnoreAll();
    CommandButton& cmdChange();
    CommandButton& cmdChangeAll();
    CommandButton& cmdAdd();
    CommandButton& cmdCancel();

protected:
    void createControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    void fillControls();
    void answer(SpellChoice choice);

    std::string word_;
    std::vector<std::string> suggestions_;
    SpellChoice choice_ = SpellChoice::Cancel;

    Label* lblNotInDictionary_ = nullptr;
    Label* lblWord_ = nullptr;
    Label* lblChangeTo_ = nullptr;
    TextBox* txtChangeTo_ = nullptr;
    Label* lblSuggestions_ = nullptr;
    ListBox* lstSuggestions_ = nullptr;
    CommandButton* cmdIgnore_ = nullptr;
    CommandButton* cmdIgnoreAll_ = nullptr;
    CommandButton* cmdChange_ = nullptr;
    CommandButton* cmdChangeAll_ = nullptr;
    CommandButton* cmdAdd_ = nullptr;
    CommandButton* cmdCancel_ = nullptr;
};

} // namespace corvane::controls
