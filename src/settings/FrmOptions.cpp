#include "settings/FrmOptions.h"

#include "addin/ModWizard.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {
int16_t boxValue(bool flag) { return flag ? controls::vbChecked : controls::vbUnchecked; }
bool isChecked(const controls::CheckBox& box) { return box.Value() == controls::vbChecked; }
} // namespace

FrmOptions::FrmOptions(ModMain& settings) : Form("frmOptions"), settings_(settings) {}

// The controls, with their design settings and their event handlers.
void FrmOptions::createControls() {
    SetTag("144");
    Move(0, 0, 4800, 3090);
    Label1_ = &add<controls::Label>("Label1");
    Label1_->SetTag("144");
    Label1_->Move(120, 120, 4455, 255);
    chkGenerateHTML_ = &add<controls::CheckBox>("chkGenerateHTML");
    chkGenerateHTML_->SetTag("140");
    chkGenerateHTML_->Move(240, 480, 4335, 255);
    chkCompileHTML_ = &add<controls::CheckBox>("chkCompileHTML");
    chkCompileHTML_->SetTag("141");
    chkCompileHTML_->Move(480, 780, 4095, 255);
    chkGenerateWinHelp_ = &add<controls::CheckBox>("chkGenerateWinHelp");
    chkGenerateWinHelp_->SetTag("157");
    chkGenerateWinHelp_->Move(240, 1200, 4335, 255);
    chkCompileWinHelp_ = &add<controls::CheckBox>("chkCompileWinHelp");
    chkCompileWinHelp_->SetTag("158");
    chkCompileWinHelp_->Move(480, 1500, 4095, 255);
    cmdOk_ = &add<controls::CommandButton>("cmdOk");
    cmdOk_->SetTag("110");
    cmdOk_->SetDefault(true);
    cmdOk_->SetCancel(true); // Esc closes too: there is nothing to cancel
    cmdOk_->Move(3360, 2100, 1215, 375);

    chkGenerateHTML_->Click.connect([this] { chkGenerateHTML_Click(); });
    chkCompileHTML_->Click.connect([this] { chkCompileHTML_Click(); });
    chkGenerateWinHelp_->Click.connect([this] { chkGenerateWinHelp_Click(); });
    chkCompileWinHelp_->Click.connect([this] { chkCompileWinHelp_Click(); });
    cmdOk_->Click.connect([this] { cmdOk_Click(); });
}

// Setting a box runs its click rule only when its value changes; the compile boxes come first
// so that the generate rules see them set.
void FrmOptions::Form_Load() {
    ErrorScope scope("frmOptions", "Form_Load");
    scope.run([&] {
        scope.step([&] { LoadResStrings(*this); });
        scope.step([&] { chkCompileHTML_->SetValue(boxValue(settings_.mCompileHTML)); });
        scope.step([&] { chkCompileWinHelp_->SetValue(boxValue(settings_.mCompileWinHelp)); });
        scope.step([&] { chkGenerateHTML_->SetValue(boxValue(settings_.mGenerateHTML)); });
        scope.step([&] { chkGenerateWinHelp_->SetValue(boxValue(settings_.mGenerateWinHelp)); });
    });
}

void FrmOptions::cmdOk_Click() {
    ErrorScope scope("frmOptions", "cmdOk_Click");
    scope.run([&] { scope.step([&] { Hide(); }); });
}

void FrmOptions::chkGenerateHTML_Click() {
    ErrorScope scope("frmOptions", "chkGenerateHTML_Click");
    scope.run([&] {
        generateClicked(scope, *chkGenerateHTML_, *chkGenerateWinHelp_, *chkCompileHTML_, settings_.mGenerateHTML);
    });
}

void FrmOptions::chkCompileHTML_Click() {
    ErrorScope scope("frmOptions", "chkCompileHTML_Click");
    scope.run([&] { settings_.mCompileHTML = isChecked(*chkCompileHTML_); });
}

void FrmOptions::chkGenerateWinHelp_Click() {
    ErrorScope scope("frmOptions", "chkGenerateWinHelp_Click");
    scope.run([&] {
        generateClicked(scope, *chkGenerateWinHelp_, *chkGenerateHTML_, *chkCompileWinHelp_,
                        settings_.mGenerateWinHelp);
    });
}

void FrmOptions::chkCompileWinHelp_Click() {
    ErrorScope scope("frmOptions", "chkCompileWinHelp_Click");
    scope.run([&] { settings_.mCompileWinHelp = isChecked(*chkCompileWinHelp_); });
}

void FrmOptions::generateClicked(ErrorScope& scope, controls::CheckBox& format, controls::CheckBox& otherFormat,
                                 controls::CheckBox& compile, bool& generateFlag) {
    // Setting the other boxes runs their own click rules, which set their flags.
    if (!isChecked(format) && !isChecked(otherFormat))
        scope.step([&] { otherFormat.SetValue(controls::vbChecked); });
    if (!isChecked(format))
        scope.step([&] { compile.SetValue(controls::vbUnchecked); });
    generateFlag = isChecked(format);
}

controls::Label& FrmOptions::Label1() { return ensureLoaded(), *Label1_; }
controls::CheckBox& FrmOptions::chkGenerateHTML() { return ensureLoaded(), *chkGenerateHTML_; }
controls::CheckBox& FrmOptions::chkCompileHTML() { return ensureLoaded(), *chkCompileHTML_; }
controls::CheckBox& FrmOptions::chkGenerateWinHelp() { return ensureLoaded(), *chkGenerateWinHelp_; }
controls::CheckBox& FrmOptions::chkCompileWinHelp() { return ensureLoaded(), *chkCompileWinHelp_; }
controls::CommandButton& FrmOptions::cmdOk() { return ensureLoaded(), *cmdOk_; }

} // namespace corvane
