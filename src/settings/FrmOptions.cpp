#include "settings/FrmOptions.h"

#include "addin/ModWizard.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace corvane {

namespace {
int16_t boxValue(bool flag) { return flag ? controls::vbChecked : controls::vbUnchecked; }
bool isChecked(const controls::CheckBox& box) { return box.Value() == controls::vbChecked; }

// Whole minutes from 1 to a day, or nothing.
std::optional<int32_t> minutesIn(const std::string& text) {
    int32_t minutes = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    if (error != std::errc() || end != text.data() + text.size() || minutes < 1 || minutes > 1440)
        return std::nullopt;
    return minutes;
}

// The limit in whole minutes as the box shows it (a limit of none shows as a day).
std::string minutesText(int32_t seconds) {
    return std::to_string(seconds <= 0 ? 1440 : std::clamp((seconds + 59) / 60, 1, 1440));
}
} // namespace

FrmOptions::FrmOptions(ModMain& settings) : Form("frmOptions"), settings_(settings) {}

// The controls, with their design settings and their event handlers.
void FrmOptions::createControls() {
    SetTag("144");
    Move(0, 0, 4800, 4110);
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
    lblTimeLimit_ = &add<controls::Label>("lblTimeLimit");
    lblTimeLimit_->SetTag("159");
    lblTimeLimit_->Move(240, 1920, 3375, 255);
    txtTimeLimit_ = &add<controls::TextBox>("txtTimeLimit");
    txtTimeLimit_->Move(3720, 1875, 855, 315);
    lblCodePage_ = &add<controls::Label>("lblCodePage");
    lblCodePage_->SetCaption("Code page of the project's files:");
    lblCodePage_->Move(240, 2340, 4335, 255);
    cboCodePage_ = &add<controls::ComboBox>("cboCodePage");
    cboCodePage_->SetStyle(controls::vbComboDropdownList);
    cboCodePage_->Move(480, 2640, 4095, 315);
    cmdOk_ = &add<controls::CommandButton>("cmdOk");
    cmdOk_->SetTag("110");
    cmdOk_->SetDefault(true);
    cmdOk_->SetCancel(true); // Esc closes too: there is nothing to cancel
    cmdOk_->Move(3360, 3120, 1215, 375);

    chkGenerateHTML_->Click.connect([this] { chkGenerateHTML_Click(); });
    chkCompileHTML_->Click.connect([this] { chkCompileHTML_Click(); });
    chkGenerateWinHelp_->Click.connect([this] { chkGenerateWinHelp_Click(); });
    chkCompileWinHelp_->Click.connect([this] { chkCompileWinHelp_Click(); });
    cboCodePage_->Click.connect([this] { cboCodePage_Click(); });
    txtTimeLimit_->Change.connect([this] { txtTimeLimit_Change(); });
    cmdOk_->Click.connect([this] { cmdOk_Click(); });
}

const std::vector<std::pair<int, std::string>>& FrmOptions::codePageChoices() {
    static const std::vector<std::pair<int, std::string>> choices = {
        {874, "Thai"},          {932, "Japanese"},           {936, "Chinese, simplified"},
        {949, "Korean"},        {950, "Chinese, traditional"}, {1250, "Central European"},
        {1251, "Cyrillic"},     {1252, "Western European"},  {1253, "Greek"},
        {1254, "Turkish"},      {1255, "Hebrew"},            {1256, "Arabic"},
        {1257, "Baltic"},       {1258, "Vietnamese"}};
    return choices;
}

// The list: detection first, then each code page; a code page chosen earlier that the list
// does not offer is added, so that showing the dialog never changes the choice.
void FrmOptions::fillCodePages() {
    cboCodePage_->Clear();
    cboCodePage_->AddItem("Detected from the project's files");
    cboCodePage_->SetItemData(0, 0);
    bool listed = !settings_.codePage;
    for (const auto& [codePage, name] : codePageChoices()) {
        cboCodePage_->AddItem(std::to_string(codePage) + " " + name);
        cboCodePage_->SetItemData(cboCodePage_->NewIndex(), codePage);
        listed = listed || codePage == *settings_.codePage;
    }
    if (!listed) {
        cboCodePage_->AddItem(std::to_string(*settings_.codePage));
        cboCodePage_->SetItemData(cboCodePage_->NewIndex(), *settings_.codePage);
    }
    for (int32_t i = 0; i < cboCodePage_->ListCount(); ++i)
        if (cboCodePage_->ItemData(i) == settings_.codePage.value_or(0))
            cboCodePage_->SetListIndex(i);
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
        storedTimeLimit_ = settings_.mCompilerTimeLimit;
        scope.step([&] { txtTimeLimit_->SetText(minutesText(settings_.mCompilerTimeLimit)); });
        scope.step([&] { fillCodePages(); });
    });
}

void FrmOptions::cboCodePage_Click() {
    ErrorScope scope("frmOptions", "cboCodePage_Click");
    scope.run([&] {
        const int32_t index = cboCodePage_->ListIndex();
        const int32_t codePage = index < 0 ? 0 : cboCodePage_->ItemData(index);
        if (codePage == 0)
            settings_.codePage.reset();
        else
            settings_.codePage = codePage;
    });
}

void FrmOptions::Form_Unload() {
    ErrorScope scope("frmOptions", "Form_Unload");
    scope.run([&] { storeTimeLimit(scope); });
}

void FrmOptions::cmdOk_Click() {
    ErrorScope scope("frmOptions", "cmdOk_Click");
    scope.run([&] {
        storeTimeLimit(scope);
        scope.step([&] { Hide(); });
    });
}

void FrmOptions::txtTimeLimit_Change() {
    ErrorScope scope("frmOptions", "txtTimeLimit_Change");
    scope.run([&] {
        if (auto minutes = minutesIn(txtTimeLimit_->Text()))
            settings_.mCompilerTimeLimit = *minutes * 60;
    });
}

void FrmOptions::storeTimeLimit(ErrorScope& scope) {
    if (settings_.mCompilerTimeLimit == storedTimeLimit_)
        return;
    scope.step([&] {
        registry().SetValue(RegistryRoot::CurrentUser, ModMain::OptionsKey, ModMain::CompilerTimeLimitValue,
                            minutesText(settings_.mCompilerTimeLimit), REG_SZ);
        storedTimeLimit_ = settings_.mCompilerTimeLimit;
    });
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
controls::Label& FrmOptions::lblCodePage() { return ensureLoaded(), *lblCodePage_; }
controls::ComboBox& FrmOptions::cboCodePage() { return ensureLoaded(), *cboCodePage_; }
controls::Label& FrmOptions::lblTimeLimit() { return ensureLoaded(), *lblTimeLimit_; }
controls::TextBox& FrmOptions::txtTimeLimit() { return ensureLoaded(), *txtTimeLimit_; }
controls::CommandButton& FrmOptions::cmdOk() { return ensureLoaded(), *cmdOk_; }

} // namespace corvane
