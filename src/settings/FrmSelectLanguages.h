// frmSelectLanguages: the dialog in which the user chooses the languages of the project's help
// text from every language the program offers.
//
// The list shows Languages in order with the entries of SelectedLanguages selected (letter
// case ignored). OK rebuilds SelectedLanguages in list order, so languages that are not
// offered any more drop out; with one language that language becomes the primary one, with
// two or more frmPrimaryLanguage asks for it. Cancel, or the close box, changes nothing.
//
// The editor shows it modally and unloads it afterwards:
//   auto dialog = controls::Form::create<FrmSelectLanguages>(settings);
//   dialog->Show(controls::vbModal, &editor);
//   editor.LoadSelectedLanguages(settings.mCurrentLanguage);
//   dialog->Unload();
#pragma once

#include "addin/ErrorScope.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/ListBox.h"
#include "settings/FrmPrimaryLanguage.h"

#include <memory>

namespace corvane {

class ModMain;

class FrmSelectLanguages : public controls::Form {
public:
    static constexpr std::string_view VbTypeName = "frmSelectLanguages";

    // A dialog over the shared settings of `settings`, which outlives it.
    explicit FrmSelectLanguages(ModMain& settings);
    ~FrmSelectLanguages() override;

    // The primary language dialog of the last OK with several languages, or null.
    FrmPrimaryLanguage* frmPrimaryLanguage() const noexcept { return primaryLanguage_.get(); }

    // The controls (using one loads the window).
    controls::Label& Label1();
    controls::Label& Label2();
    controls::ListBox& lbxLanguages();
    controls::CommandButton& cmdOk();
    controls::CommandButton& cmdCancel();
    controls::Image& Image1();

protected:
    void createControls() override;
    void Form_Load() override;

private:
    void cmdOk_Click();
    void cmdCancel_Click();
    // Asks for the primary language among the new selection; false when the user cancelled.
    bool askPrimaryLanguage(ErrorScope& scope);

    ModMain& settings_;
    // Made afresh for every showing, so that it loads from the current settings.
    std::unique_ptr<FrmPrimaryLanguage> primaryLanguage_;

    // The controls, rebuilt at every load.
    controls::Label* Label1_ = nullptr;
    controls::Label* Label2_ = nullptr;
    controls::ListBox* lbxLanguages_ = nullptr;
    controls::CommandButton* cmdOk_ = nullptr;
    controls::CommandButton* cmdCancel_ = nullptr;
    controls::Image* Image1_ = nullptr;
};

} // namespace corvane
