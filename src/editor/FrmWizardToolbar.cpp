// frmWizard: the toolbar's commands, the language combo and the spell-check scope.
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "ownhelp/ModHTMLHelp.h"
#include "settings/FrmOptions.h"
#include "settings/FrmSelectLanguages.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {
NamedValue toolParameter() {
    return {"Tool", [] { return Variant::object("Tool"); }};
}
} // namespace

void FrmWizard::ActiveBar_Click(controls::Tool& Tool) {
    ErrorScope scope("frmWizard", "ActiveBar_Click");
    scope.moduleVariables(*this).parameters({toolParameter()});
    scope.run([&] {
        if (spellCheckRunning_)
            return; // the spell check lets window events run between texts; it ends first
        commitPendingEdit(); // every command sees the text being typed
        const std::string& name = Tool.Name();
        if (name == "save")
            saveHelpData();
        else if (name == "spellcheck")
            runSpellCheck(GetSpellType());
        else if (name == "cardview")
            switchView(true);
        else if (name == "tableview")
            switchView(false);
        else if (name == "compile")
            CreateHelpFiles();
        else if (name == "options")
            showOptions();
        else if (name == "selectedlanguage")
            return; // the combo reports its changes through ActiveBar_ComboSelChange
        else if (name == "languageoptions")
            showLanguageOptions();
        else if (name == "helpcontents")
            HTMLShowTopic(1, "Default", "gettingstarted.html");
        else if (name.rfind("sc_", 0) == 0)
            SetSpellType(name);
    });
}

// A fresh options dialog, modal over the editor; its changes take effect as they are made.
void FrmWizard::showOptions() {
    auto dialog = controls::Form::create<FrmOptions>(settings_);
    dialog->Show(controls::vbModal, this);
    if (dialog->loaded())
        dialog->Unload();
    applyCodePageSetting();
}

// The language dialog, modal over the editor; the language combo is filled again afterwards.
// The texts of a language taken off the list stay in the data file; the user is told how many,
// and may delete them instead, knowing how many go.
void FrmWizard::showLanguageOptions() {
    const NameList before = *settings_.SelectedLanguages;
    auto dialog = controls::Form::create<FrmSelectLanguages>(settings_);
    dialog->Show(controls::vbModal, this);
    LoadSelectedLanguages(settings_.mCurrentLanguage);
    if (dialog->loaded())
        dialog->Unload();
    for (const std::string& language : before)
        if (!settings_.SelectedLanguages->Contains(language))
            offerToDeleteTexts(language);
}

void FrmWizard::offerToDeleteTexts(const std::string& language) {
    if (!Forms)
        return;
    std::vector<HelpItem*> holding;
    for (const auto& records : *Forms)
        for (const auto& record : *records)
            if (!record->textIn(language).empty())
                holding.push_back(record.get());
    if (holding.empty())
        return;
    const std::string count = std::to_string(holding.size()) + (holding.size() == 1 ? " text" : " texts");
    const int answer = controls::WindowSystem::get().MsgBox(
        "The help text in " + language + " (" + count +
            ") stays in the help data file: it is not shown or compiled while " + language +
            " is not selected, and comes back when you select it again.\n\nDelete these " + count +
            " now instead?",
        controls::vbYesNo | controls::vbQuestion | controls::vbDefaultButton2, "Language removed");
    if (answer != controls::vbYes)
        return;
    for (HelpItem* record : holding)
        record->removeText(language);
    noteEdit();
}

void FrmWizard::switchView(bool toCard) {
    auto& tools = ActiveBar_->Bands(0).Tools();
    if (toCard) {
        if (GridGroups.empty())
            GridGroups = settings_.SaveGridGroups(*Grid_);
        tools.Item("cardview").SetChecked(true);
        tools.Item("tableview").SetChecked(false);
        Grid_->SetView(controls::jgexCard);
        return;
    }
    tools.Item("cardview").SetChecked(false);
    tools.Item("tableview").SetChecked(true);
    Grid_->SetView(controls::jgexTable);
    if (!GridGroups.empty()) {
        settings_.LoadGridGroups(GridGroups, *Grid_);
        GridGroups.clear();
    }
}

void FrmWizard::ActiveBar_ComboSelChange(controls::Tool& Tool) {
    ErrorScope scope("frmWizard", "ActiveBar_ComboSelChange");
    scope.moduleVariables(*this).parameters({toolParameter()});
    scope.run([&] {
        if (Tool.Name() != "selectedlanguage" || Tool.ComboList().Count() <= Tool.ComboListIndex())
            return;
        std::string language = Tool.ComboList().Item(Tool.ComboListIndex());
        if (settings_.mCurrentLanguage == language)
            return;
        int32_t firstRow = Grid_->FirstRow();
        int16_t column = Grid_->Col();
        int32_t row = Grid_->Row();
        std::string groups = settings_.SaveGridGroups(*Grid_);
        Grid_->Update(); // a pending edit is stored under the old language
        settings_.mCurrentLanguage = language;
        Grid_->Refetch();
        settings_.LoadGridGroups(groups, *Grid_);
        controls::WindowSystem::get().DoEvents();
        if (row <= Grid_->RowCount())
            Grid_->SetRow(row);
        Grid_->SetCol(column);
        Grid_->SetFirstRow(firstRow);
        picHTContainer_Resize();
    });
}

void FrmWizard::LoadSelectedLanguages(const std::string& CurrentLanguage) {
    ErrorScope scope("frmWizard", "LoadSelectedLanguages");
    scope.moduleVariables(*this).parameters({watch("CurrentLanguage", CurrentLanguage)});
    scope.run([&] {
        controls::Tool& combo = ActiveBar().Bands(0).Tools().Item("selectedlanguage");
        combo.ComboList().Clear();
        NameList& languages = *settings_.SelectedLanguages;
        if (languages.empty())
            languages.Add(CurrentLanguage, CurrentLanguage);
        int32_t position = 0, found = 0;
        for (const std::string& language : languages) {
            if (language == CurrentLanguage)
                found = position;
            combo.ComboList().AddItem(language);
            ++position;
        }
        combo.SetComboListIndex(found);
    });
}

void FrmWizard::SetSpellType(const std::string& Name) {
    ErrorScope scope("frmWizard", "SetSpellType");
    scope.moduleVariables(*this).parameters({watch("Name", Name)});
    scope.run([&] {
        controls::Tool& spell = ActiveBar().Bands("Main Band").Tools().Item("spellcheck");
        for (controls::Tool& tool : ActiveBar().Bands("spellcheck").Tools()) {
            bool selected = tool.Name() == Name;
            tool.SetChecked(selected);
            if (selected)
                spell.SetToolTipText(tool.ToolTipText());
        }
    });
}

std::string FrmWizard::GetSpellType() {
    ErrorScope scope("frmWizard", "GetSpellType");
    scope.moduleVariables(*this);
    return scope.run([&] {
        std::string result;
        for (controls::Tool& tool : ActiveBar().Bands("spellcheck").Tools())
            if (tool.Checked())
                result = tool.Name();
        return result;
    });
}

} // namespace corvane
