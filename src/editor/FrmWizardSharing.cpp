// frmWizard among other programs that write the same help data: the Save command, the unsaved
// mark in the title, the recovery file written a few seconds after each change, the watch on
// the data file, and the marker that tells a second editor the project is open here.
#include "addin/StringTable.h"
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "files/AtomicFile.h"
#include "files/FileStamp.h"
#include "files/FileVersion.h"
#include "files/Notice.h"
#include "files/ProcessMarker.h"
#include "helpdata/HelpDataRecovery.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"

#include <algorithm>
#include <ctime>

namespace corvane {

namespace {

// The marker of an editor at work on the data file.
std::filesystem::path editorMarkerOf(const std::filesystem::path& dataFile) {
    std::filesystem::path marker = dataFile;
    return marker += ".inuse";
}

// The texts as lines of a message, at most `shown` of them.
template <typename Item, typename Describe>
std::string listed(const std::vector<Item>& items, Describe describe, size_t shown = 12) {
    std::string text;
    for (size_t i = 0; i < items.size() && i < shown; ++i)
        text += "\n  " + describe(items[i]);
    if (items.size() > shown)
        text += "\n  ... and " + std::to_string(items.size() - shown) + " more";
    return text;
}

bool isListed(const controls::ListBox& list, const std::string& name) {
    for (int32_t i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == name)
            return true;
    return false;
}

// "3 minutes ago", "2 hours ago", "5 days ago" (from `then` to `now`, seconds since 1970).
std::string ageOf(long long then, long long now) {
    const long long seconds = std::max(0LL, now - then);
    auto count = [](long long n, const char* unit) {
        return std::to_string(n) + " " + unit + (n == 1 ? "" : "s") + " ago";
    };
    if (seconds < 60)
        return "just now";
    if (seconds < 3600)
        return count(seconds / 60, "minute");
    if (seconds < 2 * 86400)
        return count(seconds / 3600, "hour");
    return count(seconds / 86400, "day");
}

// A text quoted on one line of a message, cut short when long.
std::string quotedLine(std::string_view text) {
    std::string line;
    for (char c : text.substr(0, 60))
        line += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    return "\"" + line + (text.size() > 60 ? "...\"" : "\"");
}

std::string describeRecovered(const RecoveredText& text, long long now) {
    std::string kept = text.keptSince > 0 ? ", kept " + ageOf(text.keptSince, now) : std::string();
    return text.module + "/" + text.control + " (" + text.language + ")" + kept + "\n      saved:   " +
           quotedLine(text.replaced) + "\n      unsaved: " + quotedLine(text.text);
}

} // namespace

void FrmWizard::startSharedUse() {
    const std::filesystem::path dataFile = dataFileTarget(findDataFileComponent(), *VBP());
    readOnly_ = false;
    if (settings_.guardsSharedUse && isReadOnlyFile(dataFile)) {
        controls::WindowSystem::get().MsgBox("The help data file '" + dataFile.string() +
                                                 "' is read-only. Corvane opens it read-only: nothing you "
                                                 "change here is saved.",
                                             controls::vbExclamation, "Help data file read-only");
        setReadOnly(true);
    } else if (settings_.guardsSharedUse) {
        takeEditorMarker(dataFile);
    }
    if (settings_.guardsSharedUse && !readOnly_) {
        const bool tookOver = editorMarker_ && editorMarker_->leftBehind();
        // The user is told once: in the offer of the texts it kept, or on its own.
        if (!offerRecovery(dataFile) && tookOver)
            controls::WindowSystem::get().MsgBox(takenOverText(), controls::vbInformation, "Editor ended");
        timWatch_->SetEnabled(true);
    }
    updateTitle();
}

// A live editor elsewhere is named, and the user chooses: read-only here, or edit here too (the
// saves of both then keep each other's changes). A marker whose editor ended is taken over.
void FrmWizard::takeEditorMarker(const std::filesystem::path& dataFile) {
    const std::filesystem::path path = editorMarkerOf(dataFile);
    try {
        if (auto marker = ProcessMarker::tryTake(path, "editor")) {
            editorMarker_ = std::make_unique<ProcessMarker>(std::move(*marker));
            if (editorMarker_->leftBehind())
                notice(takenOverText());
            return;
        }
    } catch (const VbError& error) {
        notice(error.description() + "; other editors of the project are not told it is open here.");
        return;
    }
    const std::string holder = ProcessMarker::holderOf(path).describe();
    const int answer = controls::WindowSystem::get().MsgBox(
        "The help text of this project is open in another Corvane editor (" + holder +
            ").\n\nOpen it read-only here?\n\nYes: read-only; nothing you change here is saved.\n"
            "No: edit it here as well; when both editors save, each keeps the other's changes, and "
            "texts changed in both are named before anything is overwritten.",
        controls::vbYesNo | controls::vbQuestion, "Project open in another editor");
    if (answer == controls::vbYes)
        setReadOnly(true);
}

// Whose marker this editor took over: an editor that ended (killed, or its machine stopped)
// without closing the project.
std::string FrmWizard::takenOverText() const {
    if (!editorMarker_ || !editorMarker_->leftBehind())
        return {};
    return "The Corvane editor that had this project open (" + editorMarker_->leftBehind()->describe() +
           ") ended without closing it. This editor takes its place.";
}

void FrmWizard::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    txtHelpText_->SetLocked(readOnly);
    Grid_->Columns().Item(HelpGridColumn::HelpText).SetEditAllowed(!readOnly);
    auto& tools = ActiveBar_->Bands(0).Tools();
    tools.Item("save").SetEnabled(!readOnly);
    tools.Item("compile").SetEnabled(!readOnly);
    updateTitle();
}

// Unsaved texts a crashed editor of the project left are offered back, named, with their age
// and the saved text each replaces. A text the data file holds already is not offered, nor one
// over which the data file was saved with another text after it was kept; where the saved text
// is no longer the one a kept text replaced, keeping the saved texts is the default answer.
bool FrmWizard::offerRecovery(const std::filesystem::path& dataFile) {
    HelpDataRecovery recovery(dataFile);
    std::vector<RecoveredText> texts;
    try {
        texts = recovery.read();
    } catch (const VbError& error) {
        controls::WindowSystem::get().MsgBox(error.description(), controls::vbExclamation, "Recovery");
        return false;
    }
    if (texts.empty())
        return false;
    const std::optional<FileStamp> saved = FileStamp::at(dataFile);
    const long long savedAt = saved ? saved->mtimeNs / 1000000000 : 0;
    std::vector<RecoveredText> offered;
    size_t savedOverLater = 0;
    bool savedTextChanged = false;
    for (RecoveredText& text : texts) {
        const std::string now = savedTextOf(text);
        if (now == text.text)
            continue; // saved already
        const bool savedOver = now != text.replaced;
        if (savedOver && text.keptSince != 0 && text.keptSince < savedAt) {
            ++savedOverLater;
            continue;
        }
        savedTextChanged = savedTextChanged || savedOver;
        text.replaced = now; // what restoring it replaces now
        offered.push_back(std::move(text));
    }
    const std::string leftOut =
        savedOverLater == 0 ? std::string()
                            : std::to_string(savedOverLater) + (savedOverLater == 1 ? " older unsaved text was" : " older unsaved texts were") +
                                  " left out: the help data was saved with other texts for them after they were kept.";
    if (offered.empty()) {
        if (!leftOut.empty())
            notice(leftOut);
        recovery.remove();
        return false;
    }
    const long long now = static_cast<long long>(std::time(nullptr));
    std::string prompt = "Corvane ended without saving while the help text of this project was being edited. These " +
                         std::to_string(offered.size()) + " unsaved texts were kept:" +
                         listed(offered, [now](const RecoveredText& text) { return describeRecovered(text, now); }, 8);
    if (!leftOut.empty())
        prompt += "\n\n" + leftOut;
    if (savedTextChanged)
        prompt += "\n\nThe help data was saved with other texts for some of them since they were kept.";
    prompt += "\n\nRestore them? (No keeps the saved texts and deletes the kept ones.)";
    if (const std::string tookOver = takenOverText(); !tookOver.empty())
        prompt = tookOver + "\n\n" + prompt;
    const int answer = controls::WindowSystem::get().MsgBox(
        prompt, controls::vbYesNo | controls::vbQuestion | (savedTextChanged ? controls::vbDefaultButton2 : 0),
        "Restore unsaved help text");
    if (answer != controls::vbYes) {
        recovery.remove();
        return true;
    }
    for (const RecoveredText& text : offered)
        recoveredRecord(text.module, text.control).SetHelpText(text.language, text.text);
    textEdited_ = true;
    if (CurrentForm)
        Grid_->Refetch();
    return true;
}

// The text the records, as the data file gave them, hold where a recovered text belongs.
std::string FrmWizard::savedTextOf(const RecoveredText& text) const {
    if (!Forms || !Forms->Contains(text.module))
        return {};
    const HelpItems& records = *Forms->Item(text.module);
    return records.Contains(text.control) ? std::string(records.Item(text.control)->textIn(text.language)) : std::string();
}

// The record a recovered text belongs to; one is made (and its module listed) when the scan has
// none, so that no recovered text is dropped.
HelpItem& FrmWizard::recoveredRecord(const std::string& module, const std::string& control) {
    if (!Forms->Contains(module)) {
        Forms->Add(std::make_shared<HelpItems>(), module);
        FormNames->Add(module, module);
        lbxModules_->AddItem(module);
    }
    HelpItems& records = *Forms->Item(module);
    if (!records.Contains(control)) {
        auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
        record->ComponentName = module;
        record->ControlName = control;
        records.Add(record, control);
    }
    return *records.Item(control);
}

void FrmWizard::endSharedUse() {
    if (timWatch_)
        timWatch_->SetEnabled(false);
    if (timAutoSave_)
        timAutoSave_->SetEnabled(false);
    editorMarker_.reset();
}

void FrmWizard::discardEdits() {
    ErrorScope::ignoringFailures([&] { HelpDataRecovery(dataFile_.path()).remove(); });
    textEdited_ = false;
}

void FrmWizard::saveHelpData() {
    ErrorScope scope("frmWizard", "saveHelpData");
    scope.moduleVariables(*this);
    scope.run([&] {
        if (!Forms || readOnly_)
            return;
        controls::BusyWindow& busy = *settings_.Busy;
        busy.SetTitle("Saving ..");
        busy.SetShowProgress(false);
        busy.SetMessage("Saving Help data");
        busy.SetOwner(this);
        busy.Show();
        Grid_->Update();
        bool written = false;
        try {
            written = writeDataFile();
        } catch (...) {
            busy.Hide();
            throw;
        }
        busy.Hide();
        if (written)
            showMergedData();
    });
}

// After a save or a reload that took another program's changes: the project is read in the code
// page the settings now ask for, and the module list and the grid show what the records hold.
void FrmWizard::showMergedData() {
    applyCodePageSetting();
    for (const std::string& module : *FormNames)
        if (!isListed(*lbxModules_, module))
            lbxModules_->AddItem(module);
    if (CurrentForm) {
        Grid_->SetItemCount(CurrentForm->Count());
        Grid_->Refetch();
    }
    updateTitle();
}

void FrmWizard::noteEdit() {
    textEdited_ = true;
    updateTitle();
    if (settings_.guardsSharedUse && !readOnly_ && timAutoSave_ && !timAutoSave_->Enabled())
        timAutoSave_->SetEnabled(true);
}

void FrmWizard::timAutoSave_Timer() {
    timAutoSave_->SetEnabled(false);
    if (!Forms || readOnly_)
        return;
    Grid_->Update();
    try {
        HelpDataRecovery(dataFileTarget(findDataFileComponent(), *VBP())).write(*Forms, *FormNames);
    } catch (const VbError& error) {
        notice(error.description() + "; unsaved help text is not kept for recovery.");
    }
}

// Another program saved the data file: the user is told once per version it saved, and may load
// its changes at once, keeping the edits made here.
void FrmWizard::timWatch_Timer() {
    if (watching_ || !Forms || readOnly_ || settings_.Busy->Visible() ||
        controls::WindowSystem::get().modalDepth() > 0 || !dataFile_.changedOnDisk())
        return;
    FileVersion now = FileVersion::open(dataFile_.path());
    if (!now.exists() || (announced_ && *announced_ == now.stamp()))
        return;
    announced_ = now.stamp();
    watching_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{watching_};
    const int answer = controls::WindowSystem::get().MsgBox(
        "The help data file '" + dataFile_.path().string() +
            "' was changed by another program.\n\nLoad its changes now? Your unsaved changes stay as they "
            "are; without loading, Corvane merges them when you save.",
        controls::vbYesNo | controls::vbQuestion, "Help data changed on disk");
    if (answer != controls::vbYes)
        return;
    Grid_->Update();
    try {
        ReloadOutcome outcome = dataFile_.reload(*Forms, *FormNames);
        showMergedData();
        // Which texts the other program's version changed here, and which of ours stay.
        auto describe = [](const MergeConflict& c) { return c.describe(); };
        std::string report;
        if (!outcome.taken.empty())
            report = "These texts were loaded from the other program's version:" + listed(outcome.taken, describe);
        if (!outcome.kept.empty())
            report += (report.empty() ? "" : "\n\n") +
                      std::string("These texts were changed there and here; yours are kept (a save writes them):") +
                      listed(outcome.kept, describe);
        if (!report.empty())
            controls::WindowSystem::get().MsgBox(report, controls::vbInformation, "Help data changed on disk");
    } catch (const VbError& error) {
        controls::WindowSystem::get().MsgBox(error.description(), controls::vbExclamation,
                                             "Help data changed on disk");
    }
}

std::optional<MergeResolution> FrmWizard::askConflictResolution(const HelpDataConflictError& conflict) {
    const int answer = controls::WindowSystem::get().MsgBox(
        conflict.description() +
            "\n\nYes: keep the texts as they are here.\nNo: take the other program's texts for these.\n"
            "Cancel: save nothing now.",
        controls::vbYesNoCancel | controls::vbExclamation, "Help text changed elsewhere");
    if (answer == controls::vbYes)
        return MergeResolution::KeepOurs;
    if (answer == controls::vbNo)
        return MergeResolution::TakeTheirs;
    return std::nullopt;
}

void FrmWizard::updateTitle() {
    if (!loaded() || !scannedProject_)
        return;
    std::string title = LoadResString(106) + " - " + scannedProject_->Name();
    if (textEdited_)
        title += "*";
    if (readOnly_)
        title += " [read-only]";
    SetCaption(title);
}

} // namespace corvane
