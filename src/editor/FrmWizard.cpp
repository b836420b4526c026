#include "editor/FrmWizard.h"

#include "addin/ModWizard.h"
#include "addin/StringTable.h"
#include "controls/SpellChecker.h"
#include "controls/WindowSystem.h"
#include "editor/HelpGridColumn.h"
#include "files/ProcessMarker.h"
#include "generate/TopicsAhead.h"
#include "helpdata/DataFileCheckAhead.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"
#include "spelling/CustomDictionary.h"
#include "vbide/VBE.h"

#include <cmath>

namespace corvane {

namespace {
const char* const SplitterKey = "Software\\Halvex";
const char* const SettingsKey = "Software\\Halvex\\Corvane";
} // namespace

FrmWizard::FrmWizard(ModMain& settings) : Form("frmWizard"), settings_(settings), dataFile_(settings) {}

FrmWizard::~FrmWizard() = default;

std::shared_ptr<vbide::VBProject> FrmWizard::VBP() const {
    ErrorScope scope("frmWizard", "VBP");
    scope.moduleVariables(*this);
    return scope.run([&] {
        if (scannedProject_)
            return scannedProject_;
        if (!mVBE)
            throw VbError(vberr::ObjectNotSet);
        return mVBE->ActiveVBProject();
    });
}

// The controls, with their design settings and their event handlers.
void FrmWizard::createControls() {
    SetTag("106");
    timExitApp_ = &add<controls::Timer>("timExitApp");
    timExitApp_->SetEnabled(false);
    timExitApp_->SetInterval(10);
    // A few seconds after an edit its text is kept for recovery; the data file is looked at
    // every two seconds for another program's save.
    timAutoSave_ = &add<controls::Timer>("timAutoSave");
    timAutoSave_->SetEnabled(false);
    timAutoSave_->SetInterval(3000);
    timWatch_ = &add<controls::Timer>("timWatch");
    timWatch_->SetEnabled(false);
    timWatch_->SetInterval(2000);
    ActiveBar_ = &add<controls::ActiveBar>("ActiveBar");
    buildToolbar(*ActiveBar_);
    splitMain_ = &add<controls::Splitter>("splitMain");
    ModuleListContainer_ = &add<controls::Captioned>("ModuleListContainer");
    lbxModules_ = &add<controls::ListBox>("lbxModules");
    splitright_ = &add<controls::Splitter>("splitright");
    HelpTextContainer_ = &add<controls::Captioned>("HelpTextContainer");
    HelpTextContainer_->SetTag("102");
    picHTContainer_ = &add<controls::PictureBox>("picHTContainer");
    picHTContainer_->SetBorderStyle(0);
    txtPrimaryLanguage_ = &add<controls::TextBox>("txtPrimaryLanguage", picHTContainer_);
    txtHelpText_ = &add<controls::TextBox>("txtHelpText", picHTContainer_);
    for (controls::TextBox* box : {txtPrimaryLanguage_, txtHelpText_}) {
        box->SetMultiLine(true);
        box->SetScrollBars(2);
    }
    txtPrimaryLanguage_->SetLocked(true);
    // Nothing to edit until a module's row is current: the grid's row change enables it.
    txtHelpText_->SetEnabled(false);
    ControlListContainer_ = &add<controls::Captioned>("ControlListContainer");
    ControlListContainer_->SetTag("104");
    Grid_ = &add<controls::Grid>("Grid");
    FileDialog_ = &add<controls::FileDialog>("FileDialog");
    Spell_ = &add<controls::SpellChecker>("Spell");

    splitMain_->setPaneChild(1, *ModuleListContainer_);
    splitMain_->setPaneChild(2, *splitright_);
    ModuleListContainer_->setChild(*lbxModules_);
    splitright_->SetVertical(true);
    splitright_->setPaneChild(1, *HelpTextContainer_);
    splitright_->setPaneChild(2, *ControlListContainer_);
    HelpTextContainer_->setChild(*picHTContainer_);
    ControlListContainer_->setChild(*Grid_);

    for (const char* key : {"ControlType", "ControlName", "HelpText", "Caption"})
        Grid_->Columns().Add(key);
    Grid_->Columns().Item(HelpGridColumn::ControlName).SetWidth(1800);
    Grid_->Columns().Item(HelpGridColumn::HelpText).SetWidth(4005);
    Grid_->Columns().Item(HelpGridColumn::HelpText).SetEditAllowed(true);
    // On screen the help text comes last, after the caption.
    Grid_->Columns().Item(HelpGridColumn::HelpText).SetColPosition(4);
    Grid_->Columns().Item(HelpGridColumn::Caption).SetWidth(2295);
    Grid_->Columns().Item(HelpGridColumn::Caption).SetColPosition(3);
    Grid_->SetColumnHeaderHeight(285);

    timExitApp_->Tick.connect(ErrorScope::eventHandler([this] { timExitApp_Timer(); }));
    timAutoSave_->Tick.connect(ErrorScope::eventHandler([this] { timAutoSave_Timer(); }));
    timWatch_->Tick.connect(ErrorScope::eventHandler([this] { timWatch_Timer(); }));
    picHTContainer_->Resize.connect(ErrorScope::eventHandler([this] { picHTContainer_Resize(); }));
    lbxModules_->Click.connect(ErrorScope::eventHandler([this] { lbxModules_Click(); }));
    txtHelpText_->Change.connect(ErrorScope::eventHandler([this] { txtHelpText_Change(); }));
    Grid_->UnboundReadData.connect(ErrorScope::eventHandler(
        [this](int32_t row, const Variant&, controls::GridRowValues& values) { Grid_UnboundReadData(row, values); }));
    Grid_->UnboundUpdate.connect(ErrorScope::eventHandler(
        [this](int32_t row, const Variant&, controls::GridRowValues& values) { Grid_UnboundUpdate(row, values); }));
    Grid_->Change.connect(ErrorScope::eventHandler([this] { Grid_Change(); }));
    Grid_->ColumnHeaderClick.connect(ErrorScope::eventHandler([this](controls::GridColumn& column) { Grid_ColumnHeaderClick(column); }));
    Grid_->RowColChange.connect(ErrorScope::eventHandler([this](const Variant&, int16_t) { Grid_RowColChange(); }));
    ActiveBar_->Click.connect(ErrorScope::eventHandler([this](controls::Tool& tool) { ActiveBar_Click(tool); }));
    ActiveBar_->ComboSelChange.connect(ErrorScope::eventHandler([this](controls::Tool& tool) { ActiveBar_ComboSelChange(tool); }));
    Spell_->BadWord.connect(ErrorScope::eventHandler([this](int16_t) { Spell_BadWord(); }));
    Spell_->Changed.connect(ErrorScope::eventHandler([this] { Spell_Changed(); }));
    Spell_->Complete.connect(ErrorScope::eventHandler([this](int16_t cancelled) { Spell_Complete(cancelled); }));

    // The design size, once every control exists: the whole toolbar and the grid's Help Text
    // column in view on a 1024 x 768 screen; a stored placement replaces it (Form_Load).
    Move(Left(), Top(), 14400, 8400);
}

void FrmWizard::buildToolbar(controls::ActiveBar& bar) {
    using controls::ToolType;
    controls::Band& main = bar.AddBand("Main Band");
    auto& save = main.Tools().Add("save", ToolType::Button); // a picture, as in every desktop program
    save.SetToolTipText("Save the help text now (Ctrl+S)");
    save.SetIconName("save");
    save.SetShortcutKey("Ctrl+S");
    main.Tools().Add("compile", ToolType::Button).SetIconName("compile");
    auto& spell = main.Tools().Add("spellcheck", ToolType::DropDownButton);
    spell.SetCaption("Spell Check");
    spell.SetSubBand("spellcheck");
    spell.SetIconName("spellcheck");
    spell.SetShortcutKey("F7");
    main.Tools().Add("tableview", ToolType::Button).SetChecked(true);
    main.Tools().Add("cardview", ToolType::Button);
    auto& options = main.Tools().Add("options", ToolType::Button);
    options.SetCaption("Options");
    options.SetToolTipText("Show the options dialog");
    main.Tools().Add("languageoptions", ToolType::Button).SetIconName("languages");
    main.Tools().Add("selectedlanguage", ToolType::ComboBox);
    auto& contents = main.Tools().Add("helpcontents", ToolType::Button);
    contents.SetCaption("&Contents");
    contents.SetShortcutKey("F1");

    controls::Band& scopes = bar.AddBand("spellcheck");
    scopes.SetHeight(0);
    struct Scope {
        const char* name;
        const char* caption;
        const char* tip;
    };
    for (const Scope& s : {Scope{"sc_currentitem", "Current Item", "Spell Check the help text for the current item"},
                           Scope{"sc_currentmodule", "Current Module", "Spell Check the help text for the current module"},
                           Scope{"sc_allmodules", "All Modules", "Spell Check the help text for all modules"}}) {
        auto& tool = scopes.Tools().Add(s.name, ToolType::Button);
        tool.SetCaption(s.caption);
        tool.SetToolTipText(s.tip);
    }
}

void FrmWizard::Form_Initialize() {
    ErrorScope scope("frmWizard", "Form_Initialize");
    scope.moduleVariables(*this);
    // The toolbar's option is switched off at load, when the toolbar exists.
}

void FrmWizard::Form_Load() {
    ErrorScope scope("frmWizard", "Form_Load");
    scope.moduleVariables(*this);
    textEdited_ = false;
    scope.run([&] {
        auto& reg = registry();
        scope.step([&] { ActiveBar_->SetAutoSizeChildren(false); });
        // "custom.dic" in the program's folder (the user's data folder when that is read-only).
        scope.step([&] { Spell_->SetCustomDictionary(CustomDictionary::defaultLocation().string()); });
        scope.step([&] { SetIcon(101); });
        settings_.LoadWindowPosition("Main", *this, *Grid_, *ActiveBar_, *splitMain_);
        Form_Resize();

        std::string mainLayout = scope.value(
            [&] { return reg.GetValue(RegistryRoot::CurrentUser, SplitterKey, "CorvaneSplitMain"); });
        auto quarter = [](int32_t extent) { return static_cast<int32_t>(std::nearbyint(extent / 4.0)); };
        if (!mainLayout.empty()) {
            scope.step([&] { splitMain_->SetLayout(mainLayout); });
            std::string rightLayout = scope.value(
                [&] { return reg.GetValue(RegistryRoot::CurrentUser, SplitterKey, "CorvaneSplitRight"); });
            if (!rightLayout.empty())
                scope.step([&] { splitright_->SetLayout(rightLayout); });
            else
                scope.step([&] { splitright_->Panes(1).SetSize(quarter(Height())); });
        } else {
            scope.step([&] { splitMain_->Panes(1).SetSize(quarter(Width())); });
            scope.step([&] { splitright_->Panes(1).SetSize(quarter(Height())); });
        }

        scope.step([&] { ModuleListContainer_->SetCaption(""); });
        scope.step([&] {
            Grid_->Columns().Item(HelpGridColumn::ControlType).SetCaption(LoadResString(113));
            Grid_->Columns().Item(HelpGridColumn::ControlName).SetCaption(LoadResString(114));
            Grid_->Columns().Item(HelpGridColumn::HelpText).SetCaption(LoadResString(116));
            Grid_->Columns().Item(HelpGridColumn::Caption).SetCaption(LoadResString(115));
            Grid_->SetGroupByBoxInfoText(LoadResString(117));
        });
        scope.step([&] {
            auto& tools = ActiveBar_->Bands(0).Tools();
            tools.Item("compile").SetCaption(LoadResString(126));
            tools.Item("compile").SetToolTipText(LoadResString(127));
            tools.Item("tableview").SetCaption(LoadResString(121));
            tools.Item("tableview").SetToolTipText(LoadResString(122));
            tools.Item("cardview").SetCaption(LoadResString(119));
            tools.Item("cardview").SetToolTipText(LoadResString(120));
            tools.Item("languageoptions").SetToolTipText(LoadResString(123));
            tools.Item("selectedlanguage").SetToolTipText(LoadResString(124));
            tools.Item("selectedlanguage").SetComboStyle(1);
            tools.Item("helpcontents").SetToolTipText(LoadResString(125));
        });
        LoadResStrings(*this);

        std::string spellType = scope.value(
            [&] { return reg.GetValue(RegistryRoot::CurrentUser, SettingsKey, "SpellType"); });
        SetSpellType(spellType.empty() ? std::string("sc_allmodules") : spellType);
    });
}

void FrmWizard::Form_Resize() {
    ErrorScope scope("frmWizard", "Form_Resize");
    scope.moduleVariables(*this);
    scope.run([&] {
        int32_t width = Width() - 6 * controls::twipsPerPixelX();
        int32_t height = Height() - (ActiveBar_->Bands(0).Height() + 25) * controls::twipsPerPixelY();
        if (width > 0 && height > 0)
            splitMain_->Move(0, 0, width, height);
    });
}

void FrmWizard::picHTContainer_Resize() {
    ErrorScope scope("frmWizard", "picHTContainer_Resize");
    scope.moduleVariables(*this);
    scope.run([&] {
        controls::PictureBox& box = *picHTContainer_;
        if (settings_.mCurrentLanguage != settings_.mPrimaryLanguage) {
            int32_t referenceHeight = box.ScaleHeight() / 3;
            txtPrimaryLanguage_->Move(0, 0, box.ScaleWidth(), referenceHeight);
            txtPrimaryLanguage_->SetVisible(true);
            txtHelpText_->Move(0, referenceHeight, box.ScaleWidth(), box.ScaleHeight() - referenceHeight);
        } else {
            txtHelpText_->Move(0, 0, box.ScaleWidth(), box.ScaleHeight());
            txtPrimaryLanguage_->SetVisible(false);
        }
    });
}

void FrmWizard::Form_QueryUnload(int& cancel, int unloadMode) {
    ErrorScope scope("frmWizard", "Form_QueryUnload");
    scope.moduleVariables(*this).parameters({watch("Cancel", cancel), watch("UnloadMode", unloadMode)});
    scope.run([&] {
        if (unloadMode == controls::vbFormControlMenu) {
            // The save runs from the timer, after the close request has returned.
            timExitApp_->SetEnabled(true);
            cancel = 1;
        }
    });
}

void FrmWizard::timExitApp_Timer() {
    ErrorScope scope("frmWizard", "timExitApp_Timer");
    scope.moduleVariables(*this);
    scope.run([&] {
        timExitApp_->SetEnabled(false);
        ExitApp();
    });
}

void FrmWizard::Form_Unload() { endSharedUse(); }

controls::Timer& FrmWizard::timExitApp() { return ensureLoaded(), *timExitApp_; }
controls::Splitter& FrmWizard::splitMain() { return ensureLoaded(), *splitMain_; }
controls::Captioned& FrmWizard::ModuleListContainer() { return ensureLoaded(), *ModuleListContainer_; }
controls::ListBox& FrmWizard::lbxModules() { return ensureLoaded(), *lbxModules_; }
controls::Splitter& FrmWizard::splitright() { return ensureLoaded(), *splitright_; }
controls::Captioned& FrmWizard::HelpTextContainer() { return ensureLoaded(), *HelpTextContainer_; }
controls::PictureBox& FrmWizard::picHTContainer() { return ensureLoaded(), *picHTContainer_; }
controls::TextBox& FrmWizard::txtPrimaryLanguage() { return ensureLoaded(), *txtPrimaryLanguage_; }
controls::TextBox& FrmWizard::txtHelpText() { return ensureLoaded(), *txtHelpText_; }
controls::Captioned& FrmWizard::ControlListContainer() { return ensureLoaded(), *ControlListContainer_; }
controls::Grid& FrmWizard::Grid() { return ensureLoaded(), *Grid_; }
controls::ActiveBar& FrmWizard::ActiveBar() { return ensureLoaded(), *ActiveBar_; }
controls::FileDialog& FrmWizard::FileDialog() { return ensureLoaded(), *FileDialog_; }
controls::Timer& FrmWizard::timAutoSave() { return ensureLoaded(), *timAutoSave_; }
controls::Timer& FrmWizard::timWatch() { return ensureLoaded(), *timWatch_; }

NamedValues FrmWizard::moduleVariables() const {
    return {watch("mSpellCancelled", mSpellCancelled),
            watch("CurrentForm", CurrentForm),
            watch("Forms", Forms),
            watch("FormNames", FormNames),
            watch("GridGroups", GridGroups),
            watch("mHighestID", mHighestID),
            watch("mCompilerPath", mCompilerPath),
            watch("mHPJCompilerPath", mHPJCompilerPath),
            {"mVBE", [this] { return objectVariant(mVBE, "VBE"); }}};
}

} // namespace corvane
