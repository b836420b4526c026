// frmWizard: the module list, the grid of the selected module's controls and the editing
// of their help text in the current language.
#include "addin/StringTable.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "settings/ModMain.h"

namespace corvane {

namespace {

// The reference line for a record's text in the primary language.
std::string referenceLine(const std::string& primaryLanguage, const std::string& text) {
    if (text.empty())
        return "Help text in the primary language (" + primaryLanguage + ") is blank";
    return "Help text in the primary language (" + primaryLanguage + ") is \"" + text + "\"";
}

} // namespace

void FrmWizard::lbxModules_Click() {
    ErrorScope scope("frmWizard", "lbxModules_Click");
    scope.moduleVariables(*this);
    scope.run([&] {
        controls::ListBox& list = *lbxModules_;
        if (list.ListIndex() == -1)
            return;
        // The pending edit reaches the old module's record while CurrentForm points at it.
        Grid_->Update();
        std::string groups = settings_.SaveGridGroups(*Grid_);
        CurrentForm = Forms->Item(list.Text());
        Grid_->SetItemCount(CurrentForm->Count());
        Grid_->Refetch();
        settings_.LoadGridGroups(groups, *Grid_);
        ModuleListContainer_->SetCaption(list.Text());
    });
}

void FrmWizard::Grid_UnboundReadData(int32_t RowIndex, controls::GridRowValues& Values) {
    ErrorScope scope("frmWizard", "Grid_UnboundReadData");
    scope.moduleVariables(*this).parameters(
        {watch("RowIndex", RowIndex), {"Bookmark", [RowIndex] { return Variant(RowIndex); }},
         {"Values", [] { return Variant::object("JSRowData"); }}});
    scope.run([&] {
        if (!CurrentForm)
            return;
        HelpItem& record = *CurrentForm->Item(RowIndex);
        Values.SetValue(HelpGridColumn::ControlName, Variant(record.ControlName));
        // A record kept for its text whose control is gone says so.
        Values.SetValue(HelpGridColumn::ControlType,
                        Variant(record.gone ? record.ControlType.str() + " - removed" : record.ControlType.str()));
        Values.SetValue(HelpGridColumn::HelpText, Variant(record.GetHelpText(settings_.mCurrentLanguage)));
        Values.SetValue(HelpGridColumn::Caption, Variant(record.Caption));
    });
}

void FrmWizard::Grid_UnboundUpdate(int32_t RowIndex, controls::GridRowValues& Values) {
    ErrorScope scope("frmWizard", "Grid_UnboundUpdate");
    scope.moduleVariables(*this).parameters(
        {watch("RowIndex", RowIndex), {"Bookmark", [RowIndex] { return Variant(RowIndex); }},
         {"Values", [] { return Variant::object("JSRowData"); }}});
    scope.run([&] {
        HelpItem& record = *CurrentForm->Item(RowIndex);
        const Variant& text = Values.Value(HelpGridColumn::HelpText);
        setRecordText(record, text.isNull() ? std::string() : text.toText());
    });
}

void FrmWizard::setRecordText(HelpItem& record, const std::string& text) {
    endDataFileCheck(); // it reads the records
    const std::string before = record.GetHelpText(settings_.mCurrentLanguage);
    if (before == text)
        return;
    const bool hadText = record.HelpTexts.Contains(settings_.mCurrentLanguage);
    record.SetHelpText(settings_.mCurrentLanguage, text);
    noteEdit();
    if (!restoring_ && lbxModules_->ListIndex() >= 0)
        helpTextEdited({lbxModules_->Text(), record.ControlName.str(), settings_.mCurrentLanguage, before, text, hadText});
}

bool FrmWizard::showRecord(const std::string& module, const std::string& control) {
    controls::ListBox& list = *lbxModules_;
    int32_t position = -1;
    for (int32_t i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == module)
            position = i;
    if (position < 0)
        return false;
    if (list.ListIndex() != position)
        list.SetListIndex(position);
    if (!CurrentForm || !CurrentForm->Contains(control))
        return false;
    for (int32_t row = 0; row < Grid_->ItemCount(); ++row) {
        int32_t index = Grid_->RowIndex(row);
        if (index >= 1 && index <= CurrentForm->Count() && CurrentForm->Item(index)->ControlName == control) {
            Grid_->SetRow(row);
            return true;
        }
    }
    return false;
}

bool FrmWizard::restoreHelpText(const HelpTextEdit& edit, bool undo) {
    if (!loaded() || !Forms || !Forms->Contains(edit.module) || !Forms->Item(edit.module)->Contains(edit.control))
        return false;
    Grid_->Update(); // a pending edit reaches its record first
    struct Restoring {
        bool& flag;
        ~Restoring() { flag = false; }
    } restoring{restoring_ = true};
    HelpItem& record = *Forms->Item(edit.module)->Item(edit.control);
    if (undo && !edit.hadText)
        record.removeText(edit.language); // as it was: the file gets no empty text for it
    else
        record.SetHelpText(edit.language, undo ? edit.before : edit.after);
    noteEdit();
    const bool shown = showRecord(edit.module, edit.control);
    Grid_->Refetch();
    if (shown)
        showRecord(edit.module, edit.control);
    Grid_RowColChange(); // the text box shows the restored text
    return true;
}

bool FrmWizard::hasUnsavedEdits() {
    if (!loaded())
        return false;
    commitPendingEdit(); // the row being edited counts
    return textEdited_;
}

void FrmWizard::Grid_Change() {
    ErrorScope scope("frmWizard", "Grid_Change");
    scope.moduleVariables(*this);
    scope.run([&] {
        Variant cell = Grid_->Value(HelpGridColumn::HelpText);
        if (cell.isNull() || cell == Variant(txtHelpText_->Text()))
            return;
        txtHelpText_->SetText(cell.toText());
        setRecordText(*CurrentForm->Item(Grid_->RowIndex(Grid_->Row())), cell.toText());
    });
}

void FrmWizard::txtHelpText_Change() {
    ErrorScope scope("frmWizard", "txtHelpText_Change");
    scope.moduleVariables(*this);
    scope.run([&] {
        const std::string& text = txtHelpText_->Text();
        Variant cell = Grid_->Value(HelpGridColumn::HelpText);
        // A cleared (null) cell takes the typed text too: comparing with null would drop it.
        if (cell.isNull() || !(cell == Variant(text))) {
            Grid_->SetValue(HelpGridColumn::HelpText, Variant(text));
            // The text being typed is an unsaved change, and kept for recovery, before the row
            // is left; the timer that keeps it commits it to its record.
            noteEdit();
        }
    });
}

void FrmWizard::commitPendingEdit() {
    if (loaded() && CurrentForm)
        Grid_->Update();
}

void FrmWizard::Grid_RowColChange() {
    ErrorScope scope("frmWizard", "Grid_RowColChange");
    scope.moduleVariables(*this).parameters(
        {{"LastRow", [] { return Variant(); }}, {"LastCol", [] { return Variant(int16_t{0}); }}});
    scope.run([&] {
        if (Grid_->ItemCount() == 0) {
            txtHelpText_->SetEnabled(false);
            txtHelpText_->SetText("");
            ControlListContainer_->SetCaption(LoadResString(104));
            HelpTextContainer_->SetCaption(LoadResString(102));
            return;
        }
        txtHelpText_->SetEnabled(true);
        txtHelpText_->SetText(Grid_->Value(HelpGridColumn::HelpText).toText());
        int32_t index = Grid_->RowIndex(Grid_->Row());
        if (settings_.mCurrentLanguage != settings_.mPrimaryLanguage && index != 0) {
            HelpItem& record = *CurrentForm->Item(index);
            txtPrimaryLanguage_->SetText(
                referenceLine(settings_.mPrimaryLanguage, record.GetHelpText(settings_.mPrimaryLanguage)));
        } else {
            txtPrimaryLanguage_->SetText("");
        }
        // A row without a control name (a module's own entry) shows the plain captions.
        std::string name = Grid_->Value(HelpGridColumn::ControlName).toText();
        std::string suffix = name.empty() ? std::string() : " - " + name;
        ControlListContainer_->SetCaption(LoadResString(104) + suffix);
        HelpTextContainer_->SetCaption(LoadResString(102) + suffix);
    });
}

void FrmWizard::Grid_ColumnHeaderClick(controls::GridColumn& Column) {
    ErrorScope scope("frmWizard", "Grid_ColumnHeaderClick");
    scope.moduleVariables(*this).parameters({{"Column", [] { return Variant::object("JSColumn"); }}});
    scope.run([&] {
        controls::GridOrderKeys& keys = Grid_->SortKeys();
        int32_t order = 1;
        if (keys.Count() > 0 && keys.Item(1).ColIndex == Column.Index())
            order = keys.Item(1).SortOrder == 1 ? -1 : 1;
        keys.Clear();
        keys.Add(Column.Index(), order, 0);
    });
}

} // namespace corvane
