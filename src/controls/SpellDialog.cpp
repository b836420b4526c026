#include "controls/SpellDialog.h"

namespace corvane::controls {

SpellDialog::SpellDialog() : Form(std::string(WindowName)) {}

// The controls with their design settings; every button answers and hides the dialog.
void SpellDialog::createControls() {
    SetCaption("Spell Check");
    Move(0, 0, 6300, 3600);
    lblNotInDictionary_ = &add<Label>("lblNotInDictionary");
    lblNotInDictionary_->SetCaption("Not in dictionary:");
    lblNotInDictionary_->Move(120, 120, 1500, 255);
    lblWord_ = &add<Label>("lblWord");
    lblWord_->Move(1680, 120, 2880, 255);
    lblChangeTo_ = &add<Label>("lblChangeTo");
    lblChangeTo_->SetCaption("Change &to:");
    lblChangeTo_->Move(120, 480, 1500, 255);
    txtChangeTo_ = &add<TextBox>("txtChangeTo");
    txtChangeTo_->Move(1680, 450, 2880, 315);
    lblSuggestions_ = &add<Label>("lblSuggestions");
    lblSuggestions_->SetCaption("&Suggestions:");
    lblSuggestions_->Move(120, 870, 1500, 255);
    lstSuggestions_ = &add<ListBox>("lstSuggestions");
    lstSuggestions_->Move(1680, 870, 2880, 2100);

    struct Button {
        CommandButton** slot;
        const char* name;
        const char* caption;
        SpellChoice choice;
    };
    const Button buttons[] = {{&cmdIgnore_, "cmdIgnore", "&Ignore", SpellChoice::Ignore},
                              {&cmdIgnoreAll_, "cmdIgnoreAll", "I&gnore All", SpellChoice::IgnoreAll},
                              {&cmdChange_, "cmdChange", "&Change", SpellChoice::Change},
                              {&cmdChangeAll_, "cmdChangeAll", "Change A&ll", SpellChoice::ChangeAll},
                              {&cmdAdd_, "cmdAdd", "&Add", SpellChoice::Add},
                              {&cmdCancel_, "cmdCancel", "Cancel", SpellChoice::Cancel}};
    int32_t top = 120;
    for (const Button& button : buttons) {
        CommandButton& control = add<CommandButton>(button.name);
        control.SetCaption(button.caption);
        control.Move(4740, top, 1335, 375);
        SpellChoice choice = button.choice;
        control.Click.connect([this, choice] { answer(choice); });
        *button.slot = &control;
        top += 480;
    }
    cmdChange_->SetDefault(true);
    cmdCancel_->SetCancel(true);
    // Picking a suggestion proposes it as the replacement, as in every spelling dialog.
    lstSuggestions_->Click.connect([this] {
        if (lstSuggestions_->ListIndex() >= 0)
            txtChangeTo_->SetText(lstSuggestions_->Text());
    });
}

void SpellDialog::Form_Load() { fillControls(); }

void SpellDialog::ask(const std::string& word, const std::vector<std::string>& suggestions) {
    word_ = word;
    suggestions_ = suggestions;
    choice_ = SpellChoice::Cancel;
    if (loaded())
        fillControls();
    else
        Load(); // Form_Load fills the fresh controls
}

void SpellDialog::fillControls() {
    lblWord_->SetCaption(word_);
    lstSuggestions_->Clear();
    for (const std::string& suggestion : suggestions_)
        lstSuggestions_->AddItem(suggestion);
    txtChangeTo_->SetText(suggestions_.empty() ? word_ : suggestions_.front());
}

std::string SpellDialog::Replacement() { return txtChangeTo().Text(); }

void SpellDialog::answer(SpellChoice choice) {
    choice_ = choice;
    Hide();
}

// The close box answers as Cancel does.
void SpellDialog::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
    if (unloadMode == vbFormControlMenu)
        choice_ = SpellChoice::Cancel;
}

Label& SpellDialog::lblWord() { return ensureLoaded(), *lblWord_; }
TextBox& SpellDialog::txtChangeTo() { return ensureLoaded(), *txtChangeTo_; }
ListBox& SpellDialog::lstSuggestions() { return ensureLoaded(), *lstSuggestions_; }
CommandButton& SpellDialog::cmdIgnore() { return ensureLoaded(), *cmdIgnore_; }
CommandButton& SpellDialog::cmdIgnoreAll() { return ensureLoaded(), *cmdIgnoreAll_; }
CommandButton& SpellDialog::cmdChange() { return ensureLoaded(), *cmdChange_; }
CommandButton& SpellDialog::cmdChangeAll() { return ensureLoaded(), *cmdChangeAll_; }
CommandButton& SpellDialog::cmdAdd() { return ensureLoaded(), *cmdAdd_; }
CommandButton& SpellDialog::cmdCancel() { return ensureLoaded(), *cmdCancel_; }

} // namespace corvane::controls
