// frmWizard: the spell check of the toolbar's "spellcheck" tool. The control checks the text
// in txtHelpText; the run walks the grid's rows (and the module list's modules) so that each
// help text of the current language passes through the box, and corrections flow back
// through the box's normal editing path into the grid and the records.
//
// A module or all-modules walk shows its progress ("x of y") on the busy window and lets
// pending window events run before each text, so that the window paints and answers while a
// large project is checked; the busy window gives way to the spelling dialog while it asks.
// Toolbar commands wait for the end of the walk, and a walk whose window closed meanwhile
// ends at once.
#include "controls/BusyWindow.h"
#include "controls/SpellChecker.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {

constexpr std::string_view SpellTitle = "Spell check";

// Checks the text in the box once: the control is detached, emptied and attached again, so
// that it reads the box's current text.
void checkOneText(controls::SpellChecker& spell, controls::TextBox& box, const std::string& language) {
    spell.SetTextWindowHandle(0);
    spell.SetText("");
    spell.SetLanguage(language);
    spell.SetTextWindowHandle(box.hWnd());
    spell.SetStartCheck(true);
}

// The end of a check that ran to its end; a check the user cancelled ends without a word, as
// the user asked.
void showResult(bool cancelled, std::string_view completeMessage) {
    if (!cancelled)
        controls::WindowSystem::get().MsgBox(completeMessage, controls::vbOKOnly | controls::vbInformation, SpellTitle);
}

// The busy window of one walk: "x of y" as the walk goes on, hidden when the walk ends.
class SpellProgress {
public:
    SpellProgress(controls::BusyWindow& busy, controls::Form& owner, int32_t total) : busy_(busy) {
        busy_.SetTitle(std::string(SpellTitle));
        busy_.SetShowProgress(true);
        busy_.SetMin(0);
        busy_.SetMax(total);
        busy_.SetValue(0);
        busy_.SetOwner(&owner);
    }
    ~SpellProgress() { busy_.Hide(); }
    SpellProgress(const SpellProgress&) = delete;
    SpellProgress& operator=(const SpellProgress&) = delete;

    // Shows item `position` (from 1) of the total under a message.
    void show(int32_t position, std::string message) {
        busy_.SetMessage(std::move(message));
        busy_.SetValue(position - 1);
        busy_.Show();
    }
    // Before the next text: the window back in view after a question, pending events run.
    void beforeText() {
        busy_.Show();
        controls::WindowSystem::get().DoEvents();
    }

private:
    controls::BusyWindow& busy_;
};

std::string ofTotal(const char* what, int32_t position, int32_t total) {
    return "Checking " + std::string(what) + " " + std::to_string(position) + " of " + std::to_string(total);
}

} // namespace

// Runs as part of ActiveBar_Click, whose scope reports its failures.
void FrmWizard::runSpellCheck(const std::string& scope) {
    auto& windows = controls::WindowSystem::get();
    spellCheckRunning_ = true;
    struct Running { // cleared however the run ends, with the last bad word's mark in the grid
        FrmWizard& editor;
        ~Running() {
            editor.spellCheckRunning_ = false;
            if (editor.loaded() && editor.Grid_ && editor.Grid_->SelLength() > 0)
                editor.Grid_->SetSelLength(0);
        }
    } running{*this};
    mSpellCancelled = false;
    if (scope == "sc_currentitem") {
        checkCurrentText();
        showResult(mSpellCancelled, "Spell check complete for the current item");
    } else if (scope == "sc_currentmodule") {
        int32_t row = 0;
        if (Grid_->ItemCount() < 1) {
            windows.MsgBox("No rows to check", controls::vbOKOnly | controls::vbExclamation, "No rows");
        } else {
            row = Grid_->Row();
            if (!checkCurrentModule())
                return; // the window closed while the walk let events run
        }
        showResult(mSpellCancelled, "Spell check complete for the current module");
        windows.DoEvents();
        if (loaded())
            Grid_->SetRow(row);
    } else if (scope == "sc_allmodules") {
        int32_t position = lbxModules_->ListIndex();
        int32_t row = Grid_->Row();
        if (!checkAllModules())
            return; // the window closed while the walk let events run
        showResult(mSpellCancelled, "Spell check complete for all modules");
        lbxModules_->SetListIndex(position); // reloads the module shown before
        windows.DoEvents();
        if (loaded())
            Grid_->SetRow(row);
    }
    // Any other scope (none checked): nothing is checked and nothing is shown. The window
    // model repaints on every change of its controls, so no explicit repaint follows.
}

void FrmWizard::checkCurrentText() { checkOneText(*Spell_, *txtHelpText_, settings_.mCurrentLanguage); }

// From the first row to the last (the grid has rows); false when the window was unloaded on the way.
bool FrmWizard::checkCurrentModule() {
    SpellProgress progress(*settings_.Busy, *this, Grid_->RowCount());
    return checkGridRows([&](int32_t row) {
        progress.show(row + 1, ofTotal("text", row + 1, Grid_->RowCount()));
        progress.beforeText();
    });
}

// Every row of every module; false when the window was unloaded on the way.
bool FrmWizard::checkAllModules() {
    const int32_t modules = lbxModules_->ListCount();
    SpellProgress progress(*settings_.Busy, *this, modules);
    for (int32_t p = 0; p < modules && !mSpellCancelled; ++p) {
        progress.show(p + 1, ofTotal("module", p + 1, modules) + ": " + lbxModules_->List(p));
        lbxModules_->SetListIndex(p); // loads the module into the grid
        if (!checkGridRows([&](int32_t) { progress.beforeText(); }))
            return false;
    }
    return true;
}

// Checks the text of each row from the first while the current row differs from RowCount,
// each after `beforeText(row)` (which lets pending events run); stops at a cancel. False when
// the window was unloaded meanwhile.
bool FrmWizard::checkGridRows(const std::function<void(int32_t)>& beforeText) {
    Grid_->MoveFirst();
    while (Grid_->Row() != Grid_->RowCount()) {
        beforeText(Grid_->Row());
        if (!loaded())
            return false;
        checkCurrentText();
        if (mSpellCancelled)
            break;
        Grid_->MoveNext();
    }
    return true;
}

void FrmWizard::Spell_BadWord() {
    ErrorScope scope("frmWizard", "Spell_BadWord");
    scope.moduleVariables(*this).parameters({{"Problem", [] { return Variant(int16_t{0}); }}});
    scope.run([&] {
        settings_.Busy->Hide(); // the spelling dialog asks now
        txtHelpText_->SetSelStart(Spell_->BadWordStart());
        txtHelpText_->SetSelLength(Spell_->BadWordLength());
        Grid_->SetSelStart(Spell_->BadWordStart());
        Grid_->SetSelLength(Spell_->BadWordLength());
    });
}

void FrmWizard::Spell_Changed() {
    ErrorScope scope("frmWizard", "Spell_Changed");
    scope.moduleVariables(*this);
    scope.run([&] { txtHelpText_Change(); });
}

void FrmWizard::Spell_Complete(int16_t Cancelled) {
    ErrorScope scope("frmWizard", "Spell_Complete");
    scope.moduleVariables(*this).parameters({watch("Cancelled", Cancelled)});
    scope.run([&] {
        if (Cancelled == 1)
            mSpellCancelled = true;
    });
}

controls::SpellChecker& FrmWizard::Spell() { return ensureLoaded(), *Spell_; }

} // namespace corvane
