// frmWizard: the spell check of the toolbar's "spellcheck" tool. The control checks the text
// in txtHelpText; the run walks the grid's rows (and the module list's modules) so that each
// help text of the current language passes through the box, and corrections flow back
// through the box's normal editing path into the grid and the records.
#include "controls/SpellChecker.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {

constexpr std::string_view SpellTitle = "Spell check";
constexpr std::string_view CancelledMessage = "Spell check cancelled";

// Checks the text in the box once: the control is detached, emptied and attached again, so
// that it reads the box's current text.
void checkOneText(controls::SpellChecker& spell, controls::TextBox& box, const std::string& language) {
    spell.SetTextWindowHandle(0);
    spell.SetText("");
    spell.SetLanguage(language);
    spell.SetTextWindowHandle(box.hWnd());
    spell.SetStartCheck(true);
}

void showResult(bool cancelled, std::string_view completeMessage) {
    controls::WindowSystem::get().MsgBox(cancelled ? CancelledMessage : completeMessage,
                                         controls::vbOKOnly | controls::vbInformation, SpellTitle);
}

} // namespace

// Runs as part of ActiveBar_Click, whose scope reports its failures.
void FrmWizard::runSpellCheck(const std::string& scope) {
    auto& windows = controls::WindowSystem::get();
    auto checkCurrent = [this] { checkOneText(*Spell_, *txtHelpText_, settings_.mCurrentLanguage); };
    mSpellCancelled = false;
    if (scope == "sc_currentitem") {
        checkCurrent();
        showResult(mSpellCancelled, "Spell check complete for the current item");
    } else if (scope == "sc_currentmodule") {
        int32_t row = 0;
        if (Grid_->ItemCount() < 1) {
            windows.MsgBox("No rows to check", controls::vbOKOnly | controls::vbExclamation, "No rows");
        } else {
            row = Grid_->Row();
            Grid_->MoveFirst();
            do {
                checkCurrent();
                if (mSpellCancelled)
                    break;
                Grid_->MoveNext();
            } while (Grid_->Row() != Grid_->RowCount());
        }
        showResult(mSpellCancelled, "Spell check complete for the current module");
        windows.DoEvents();
        Grid_->SetRow(row);
    } else if (scope == "sc_allmodules") {
        int32_t position = lbxModules_->ListIndex();
        int32_t row = Grid_->Row();
        for (int32_t p = 0; p < lbxModules_->ListCount() && !mSpellCancelled; ++p) {
            lbxModules_->SetListIndex(p); // loads the module into the grid
            Grid_->MoveFirst();
            while (Grid_->Row() != Grid_->RowCount()) {
                checkCurrent();
                if (mSpellCancelled)
                    break;
                Grid_->MoveNext();
            }
        }
        showResult(mSpellCancelled, "Spell check complete for all modules");
        lbxModules_->SetListIndex(position); // reloads the module shown before
        windows.DoEvents();
        Grid_->SetRow(row);
    }
    // Any other scope (none checked): nothing is checked and nothing is shown. The window
    // model repaints on every change of its controls, so no explicit repaint follows.
}

void FrmWizard::Spell_BadWord() {
    ErrorScope scope("frmWizard", "Spell_BadWord");
    scope.moduleVariables(*this).parameters({{"Problem", [] { return Variant(int16_t{0}); }}});
    scope.run([&] {
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
