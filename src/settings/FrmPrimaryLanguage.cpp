#include "settings/FrmPrimaryLanguage.h"

#include "addin/ModWizard.h"
#include "settings/ModMain.h"

namespace corvane {

FrmPrimaryLanguage::FrmPrimaryLanguage(ModMain& settings) : Form("frmPrimaryLanguage"), settings_(settings) {}

// The controls, with their design settings and their event handlers.
void FrmPrimaryLanguage::createControls() {
    SetTag("132");
    Move(0, 0, 5430, 2745);
    Label1_ = &add<controls::Label>("Label1");
    Label1_->SetTag("133");
    Label1_->Move(120, 120, 5085, 855);
    Label2_ = &add<controls::Label>("Label2");
    Label2_->SetTag("132");
    Label2_->Move(120, 1155, 1455, 255);
    cboLanguages_ = &add<controls::ComboBox>("cboLanguages");
    cboLanguages_->SetStyle(controls::vbComboDropdownList);
    cboLanguages_->Move(1680, 1110, 3525, 315);
    cmdOk_ = &add<controls::CommandButton>("cmdOk");
    cmdOk_->SetTag("110");
    cmdOk_->SetDefault(true);
    cmdOk_->Move(2640, 1680, 1215, 375);
    cmdCancel_ = &add<controls::CommandButton>("cmdCancel");
    cmdCancel_->SetTag("111");
    cmdCancel_->SetCancel(true);
    cmdCancel_->Move(3990, 1680, 1215, 375);

    cmdOk_->Click.connect([this] { cmdOk_Click(); });
    cmdCancel_->Click.connect([this] { cmdCancel_Click(); });
}

void FrmPrimaryLanguage::Form_Load() {
    ErrorScope scope("frmPrimaryLanguage", "Form_Load");
    scope.moduleVariables(*this);
    scope.run([&] {
        if (!settings_.SelectedLanguages)
            throw VbError(vberr::ObjectNotSet);
        // Letter case counts here: a primary language spelled otherwise is not recognised.
        for (const std::string& language : *settings_.SelectedLanguages) {
            scope.step([&] {
                cboLanguages_->AddItem(language);
                if (language == settings_.mPrimaryLanguage)
                    cboLanguages_->SetListIndex(cboLanguages_->NewIndex());
            });
        }
        if (cboLanguages_->ListIndex() == -1 && cboLanguages_->ListCount() > 0)
            scope.step([&] { cboLanguages_->SetListIndex(0); });
        scope.step([&] { LoadResStrings(*this); });
    });
}

void FrmPrimaryLanguage::cmdOk_Click() {
    ErrorScope scope("frmPrimaryLanguage", "cmdOk_Click");
    scope.moduleVariables(*this);
    scope.run([&] {
        scope.step([&] { PrimaryLanguage_ = cboLanguages_->Text(); });
        Cancelled_ = false;
        scope.step([&] { Hide(); });
    });
}

void FrmPrimaryLanguage::cmdCancel_Click() {
    ErrorScope scope("frmPrimaryLanguage", "cmdCancel_Click");
    scope.moduleVariables(*this);
    scope.run([&] {
        Cancelled_ = true;
        scope.step([&] { Hide(); });
    });
}

// The close box answers the dialog as Cancel does; the window then unloads.
void FrmPrimaryLanguage::Form_QueryUnload(int& cancel, int unloadMode) {
    ErrorScope scope("frmPrimaryLanguage", "Form_QueryUnload");
    scope.moduleVariables(*this).parameters({watch("Cancel", cancel), watch("UnloadMode", unloadMode)});
    scope.run([&] {
        if (unloadMode == controls::vbFormControlMenu)
            Cancelled_ = true;
    });
}

NamedValues FrmPrimaryLanguage::moduleVariables() const {
    return {watch("Cancelled", Cancelled_), watch("PrimaryLanguage", PrimaryLanguage_)};
}

controls::Label& FrmPrimaryLanguage::Label1() { return ensureLoaded(), *Label1_; }
controls::Label& FrmPrimaryLanguage::Label2() { return ensureLoaded(), *Label2_; }
controls::ComboBox& FrmPrimaryLanguage::cboLanguages() { return ensureLoaded(), *cboLanguages_; }
controls::CommandButton& FrmPrimaryLanguage::cmdOk() { return ensureLoaded(), *cmdOk_; }
controls::CommandButton& FrmPrimaryLanguage::cmdCancel() { return ensureLoaded(), *cmdCancel_; }

} // namespace corvane
