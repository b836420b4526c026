// frmPrimaryLanguage: the dialog in which the user picks the primary language among the
// selected ones.
//
// Only frmSelectLanguages shows it, modally and owned by itself, after discarding any earlier
// instance so that the list is loaded afresh from SelectedLanguages. The caller then reads
// Cancelled() and PrimaryLanguage(). OK and Cancel hide the dialog; closing it with the close
// box counts as Cancel, so the caller never reads a choice the user did not make.
#pragma once

#include "addin/ErrorScope.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Label.h"

#include <string>

namespace corvane {

class ModMain;

class FrmPrimaryLanguage : public controls::Form, public ReportsVariables {
public:
    static constexpr std::string_view VbTypeName = "frmPrimaryLanguage";

    // A dialog over the shared settings of `settings`, which outlives it.
    explicit FrmPrimaryLanguage(ModMain& settings);

    // True when the dialog was left with Cancel (or its close box); False after OK.
    bool Cancelled() const noexcept { return Cancelled_; }
    // The language chosen with OK ("" until then).
    const std::string& PrimaryLanguage() const noexcept { return PrimaryLanguage_; }

    // The window's members, in declaration order (error reports render them).
    NamedValues moduleVariables() const override;

    // The controls (using one loads the window).
    controls::Label& Label1();
    controls::Label& Label2();
    controls::ComboBox& cboLanguages();
    controls::CommandButton& cmdOk();
    controls::CommandButton& cmdCancel();

protected:
    void createControls() override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    void cmdOk_Click();
    void cmdCancel_Click();

    ModMain& settings_;

    // Members in declaration order.
    bool Cancelled_ = false;
    std::string PrimaryLanguage_;

    // The controls, rebuilt at every load.
    controls::Label* Label1_ = nullptr;
    controls::Label* Label2_ = nullptr;
    controls::ComboBox* cboLanguages_ = nullptr;
    controls::CommandButton* cmdOk_ = nullptr;
    controls::CommandButton* cmdCancel_ = nullptr;
};

} // namespace corvane
