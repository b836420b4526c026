// frmOptions: the dialog that chooses which help formats are generated and compiled.
//
// Its four check boxes edit the shared flags mGenerateHTML, mCompileHTML, mGenerateWinHelp and
// mCompileWinHelp directly: every change of a box takes effect at once, so there is only an
// OK button and closing the dialog in any way keeps the changes. The generate boxes keep at
// least one format on once the user touched one, and switching a format off switches off its
// compile box; a compile box may stay on while its format is off.
// Below them, the help compilers' time limit in whole minutes (1 to 1440): a valid entry takes
// effect at once (mCompilerTimeLimit), another leaves the limit as it was; the dialog keeps it
// in the registry when it is closed.
//
// Its list "cboCodePage" chooses the code page of the project's files (ProjectCodePageChoices):
// the first entry leaves it to detection, the others choose one; the choice is the shared
// setting codePage, which the data file stores and the editor applies when the dialog closes.
//
// The editor unloads any earlier instance and shows it modally, so that the boxes start from
// the current flags:
//   auto dialog = controls::Form::create<FrmOptions>(settings);
//   dialog->Show(controls::vbModal, &editor);
#pragma once

#include "addin/ErrorScope.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Label.h"
#include "controls/TextBox.h"

#include <string>
#include <utility>
#include <vector>

namespace corvane {

class ModMain;

class FrmOptions : public controls::Form {
public:
    static constexpr std::string_view VbTypeName = "frmOptions";

    // A dialog over the shared settings of `settings`, which outlives it.
    explicit FrmOptions(ModMain& settings);

    // The controls (using one loads the window).
    controls::Label& Label1();
    controls::CheckBox& chkGenerateHTML();
    controls::CheckBox& chkCompileHTML();
    controls::CheckBox& chkGenerateWinHelp();
    controls::CheckBox& chkCompileWinHelp();
    controls::Label& lblCodePage();
    controls::ComboBox& cboCodePage();
    controls::Label& lblTimeLimit();
    controls::TextBox& txtTimeLimit();
    controls::CommandButton& cmdOk();

    // The code pages the list offers after its first entry (detection), with their names.
    static const std::vector<std::pair<int, std::string>>& codePageChoices();

protected:
    void createControls() override;
    void Form_Load() override;
    void Form_Unload() override;

private:
    void cmdOk_Click();
    void chkGenerateHTML_Click();
    void chkCompileHTML_Click();
    void chkGenerateWinHelp_Click();
    void chkCompileWinHelp_Click();
    void cboCodePage_Click();
    void fillCodePages();
    void txtTimeLimit_Change();
    // Stores the time limit in the registry when it differs from what was stored.
    void storeTimeLimit(ErrorScope& scope);
    // The rule shared by both generate boxes: keep one format on, and a format that is off
    // switches its compile box off.
    void generateClicked(ErrorScope& scope, controls::CheckBox& format, controls::CheckBox& otherFormat,
                         controls::CheckBox& compile, bool& generateFlag);

    ModMain& settings_;

    // The controls, rebuilt at every load.
    controls::Label* Label1_ = nullptr;
    controls::CheckBox* chkGenerateHTML_ = nullptr;
    controls::CheckBox* chkCompileHTML_ = nullptr;
    controls::CheckBox* chkGenerateWinHelp_ = nullptr;
    controls::CheckBox* chkCompileWinHelp_ = nullptr;
    controls::Label* lblCodePage_ = nullptr;
    controls::ComboBox* cboCodePage_ = nullptr;
    controls::Label* lblTimeLimit_ = nullptr;
    controls::TextBox* txtTimeLimit_ = nullptr;
    controls::CommandButton* cmdOk_ = nullptr;
    int32_t storedTimeLimit_ = 0; // the limit in the registry when the dialog loaded
};

} // namespace corvane
