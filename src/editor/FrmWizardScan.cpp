// frmWizard: the project scan (setting VBInstance) and the check that drops stored modules
// the project no longer contains, around ProjectScan: the busy window, the messages, the
// module list and the error report.
#include "addin/ComponentRegistry.h"
#include "addin/HeadlessErrorComponent.h"
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "files/AppPaths.h"
#include "platform/Utf8Path.h"
#include "scan/ProjectCodePageChoice.h"
#include "scan/ProjectScan.h"
#include "settings/ModMain.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"
#include "vbruntime/Utilities.h"

#include <algorithm>
#include <filesystem>

namespace corvane {

namespace {

// Reports a failure of the scan to the error component without waiting for an action.
void reportScanFailure(const VbError& failure, int32_t line, const ScanPosition& position) {
    try {
        auto component = ComponentRegistry::instance().create(ErrorComponentId);
        Variant number(failure.number());
        Variant lineNumber(line);
        std::string description = "Error " + std::to_string(failure.number()) +
                                  " occured in VBInstance (set), line number " + std::to_string(line) +
                                  ", CurrentForm '" + position.formName + "', CurrentControlIndex " +
                                  std::to_string(position.controlIndex) + ", CurrentControlName '" +
                                  position.controlName + "'";
        component->ErrorHandler(number, Variant("Corvane"), Variant("frmWizard"), Variant("VBInstance"),
                                Variant(description), lineNumber, Variant(""), Variant(programVersion()));
    } catch (const std::exception&) {
        // Failures of the report itself are ignored here.
    }
}

} // namespace

void FrmWizard::SetVBInstance(std::shared_ptr<vbide::VBE> vbe) {
    ScanPosition position;
    std::source_location where = std::source_location::current();
    try {
        controls::BusyWindow& busy = *settings_.Busy;
        busy.SetTitle("Loading ..");
        busy.SetDisplayStyle(102);
        busy.SetMessage("Reading the contents of active project");
        busy.SetOwner(this);
        busy.SetShowProgress(false);
        busy.Show();

        endDataFileCheck(); // it reads the records replaced here
        mVBE = std::move(vbe);
        scannedProject_.reset();
        scannedProject_ = VBP();
        Forms = std::make_shared<ModuleRecords>();
        FormNames = std::make_shared<NameList>();
        unreadableComponents_.Clear();
        scanResult_ = ScanResult();
        settings_.newSelectedLanguages();
        settings_.mPrimaryLanguage.clear();
        settings_.mCurrentLanguage.clear();
        settings_.codePage.reset();
        // The formats are the project's own: its data file or its IDE's version sets them.
        settings_.mGenerateHTML = settings_.mCompileHTML = false;
        settings_.mGenerateWinHelp = settings_.mCompileWinHelp = false;

        where = std::source_location::current();
        loadHelpDataFile();
        where = std::source_location::current();
        const KeyRecoding recoding = settleProjectCodePage(*VBP(), settings_);
        readCodePageSetting_ = settings_.codePage;

        CurrentForm.reset();
        ProjectScan scan(scanRecords(), settings_.SelectedLanguages, recoding);
        std::vector<std::shared_ptr<vbide::VBComponent>> visual;
        for (const auto& component : VBP()->VBComponents())
            if (ProjectScan::isVisualComponent(component->Type()))
                visual.push_back(component);
        busy.SetMin(0);
        busy.SetMax(static_cast<int32_t>(visual.size()));
        busy.SetValue(0);
        busy.SetShowProgress(true);
        const std::string total = std::to_string(visual.size());
        size_t listed = 0;
        where = std::source_location::current();
        scan.mergeComponents(visual, position, [&](const vbide::VBComponent& component, const ComponentScan& result) {
            // The busy window paints as the modules are listed: the step and "x of y".
            busy.SetMessage("Analysing modules (" + std::to_string(listed + 1) + " of " + total + ")");
            busy.SetValue(static_cast<int32_t>(listed++));
            showComponentScan(component, result);
        });
        CheckFormsExist();
        busy.Hide();
        if (settings_.guardsSharedUse)
            showUnreadableModules();
        if (settings_.guardsSharedUse)
            offerKeptTexts();
        startSharedUse();
    } catch (const std::exception& error) {
        const auto* vbError = dynamic_cast<const VbError*>(&error);
        VbError failure = vbError ? *vbError : VbError(vberr::Raised, error.what());
        settings_.Busy->Hide(); // the report and what follows it are not hidden behind "Loading .."
        reportScanFailure(failure, static_cast<int32_t>(where.line()), position);
    }
}

// What the user and the error log are told of one visual component's scan (ProjectScan), and
// the module's entry in the list.
void FrmWizard::showComponentScan(const vbide::VBComponent& component, const ComponentScan& result) {
    logNotes("frmWizard.VBInstance", result.notes);
    if (result.repeated) {
        controls::WindowSystem::get().MsgBox(
            "The designer in '" + platform::utf8Of(platform::pathFromUtf8(component.FileNames(1)).filename()) +
                "' names the module '" + component.Name() +
                "', as an earlier designer of the project does. Corvane leaves it out: its controls get no help "
                "text and none of its properties are changed. Give one of them another name in Visual Basic.",
            controls::vbExclamation, "Module listed twice");
        return;
    }
    if (result.message && !settings_.guardsSharedUse) {
        controls::WindowSystem::get().MsgBox(result.message->prompt, controls::vbExclamation,
                                             std::string(ProjectScan::UnreadableTitle));
    }
    lbxModules().AddItem(component.Name());
}

void FrmWizard::applyCodePageSetting() {
    auto project = VBP();
    if (!project || !Forms)
        return;
    const int before = project->codePage();
    const int wanted = wantedCodePage(*project, settings_);
    if (wanted == before) {
        readCodePageSetting_ = settings_.codePage;
        return;
    }
    try {
        project->setCodePage(wanted);
    } catch (const VbError& error) {
        settings_.codePage = readCodePageSetting_;
        controls::WindowSystem::get().MsgBox(error.description(), controls::vbExclamation, "Code page");
        return;
    }
    readCodePageSetting_ = settings_.codePage;
    endDataFileCheck(); // it reads the records merged here
    for (const auto& records : *Forms)
        for (const auto& record : *records) {
            record->Tag = false;
            record->SetControl(nullptr); // the controls read before are gone
        }
    lbxModules().Clear();
    CurrentForm.reset();
    unreadableComponents_.Clear();
    scanResult_ = ScanResult();
    ProjectScan scan(scanRecords(), settings_.SelectedLanguages, KeyRecoding{before, wanted});
    ScanPosition position;
    std::vector<std::shared_ptr<vbide::VBComponent>> visual;
    for (const auto& component : project->VBComponents())
        if (ProjectScan::isVisualComponent(component->Type()))
            visual.push_back(component);
    scan.mergeComponents(visual, position, [this](const vbide::VBComponent& component, const ComponentScan& result) {
        showComponentScan(component, result);
    });
    CheckFormsExist();
    if (settings_.guardsSharedUse)
        showUnreadableModules();
    if (lbxModules().ListCount() > 0)
        lbxModules().SetListIndex(0);
}

// One message for all the modules whose controls could not be read, each with its reason (a
// missing designer file is named, "not found"), after loading, rather than a box per module.
void FrmWizard::showUnreadableModules() {
    const std::vector<ScanMessage>& messages = scanResult_.messages;
    if (messages.empty())
        return;
    std::string prompt = messages.size() == 1
                             ? "Corvane could not read the controls of the module '" + messages[0].module + "':\n"
                             : "Corvane could not read the controls of " + std::to_string(messages.size()) +
                                   " modules:\n";
    for (const ScanMessage& message : messages)
        prompt += messages.size() == 1 ? "  " + message.detail + "\n" : "  " + message.module + ": " + message.detail + "\n";
    prompt += messages.size() == 1
                  ? "\nIts help text is kept as it is and can still be edited; its controls are not changed "
                    "this session."
                  : "\nTheir help text is kept as it is and can still be edited; their controls are not changed "
                    "this session.";
    controls::WindowSystem::get().MsgBox(prompt, controls::vbExclamation, std::string(ProjectScan::UnreadableTitle));
}

// The help text of controls and modules that are gone is kept (their entries show in the grid,
// marked removed). A control that looks renamed (a new control without text beside a gone one
// of the same context number, or the only gone and the only new one of a type in a module) may
// take its text over: the user is asked once for all of them.
void FrmWizard::offerKeptTexts() {
    const std::vector<RenamedControl> renamed = findRenamedControls();
    if (renamed.empty())
        return;
    std::string prompt = "These controls look renamed: the help text of the old name is kept, and the new one has "
                         "none yet.";
    for (const RenamedControl& control : renamed)
        prompt += "\n  " + control.module + ": " + control.from->ControlName.str() + " -> " + control.to->ControlName.str();
    prompt += "\n\nGive them their help text again? (No keeps the old entries, marked \"removed\" at the end of "
              "their modules, to copy from.)";
    if (controls::WindowSystem::get().MsgBox(prompt, controls::vbYesNo | controls::vbQuestion, "Renamed controls") !=
        controls::vbYes)
        return;
    for (const RenamedControl& control : renamed) {
        for (int32_t t = 1; t <= control.from->HelpTexts.Count(); ++t)
            control.to->SetHelpText(control.from->HelpTexts.KeyAt(t), std::string(control.from->HelpTexts.Item(t)));
        Forms->Item(control.module)->Remove(control.from->ControlName);
    }
    textEdited_ = true;
}

std::vector<FrmWizard::RenamedControl> FrmWizard::findRenamedControls() const {
    std::vector<RenamedControl> renamed;
    for (int32_t m = 1; m <= Forms->Count(); ++m) {
        std::vector<HelpItem*> gone, fresh;
        for (const auto& record : *Forms->Item(m)) {
            if (record->gone && ProjectScan::holdsAnyText(*record))
                gone.push_back(record.get());
            else if (!record->gone && !record->inFile() && !ProjectScan::holdsAnyText(*record))
                fresh.push_back(record.get());
        }
        for (HelpItem* to : fresh) {
            auto sameNumber = std::ranges::find_if(gone, [&](HelpItem* from) {
                return to->ContextHelpID != 0 && from->ContextHelpID == to->ContextHelpID;
            });
            auto sameType = [&](const std::vector<HelpItem*>& records) {
                return std::ranges::count_if(records, [&](HelpItem* r) { return r->ControlType == to->ControlType; });
            };
            HelpItem* from = sameNumber != gone.end() ? *sameNumber : nullptr;
            if (!from && sameType(gone) == 1 && sameType(fresh) == 1)
                from = *std::ranges::find_if(gone, [&](HelpItem* r) { return r->ControlType == to->ControlType; });
            if (from) {
                renamed.push_back({FormNames->Item(m), from, to});
                std::erase(gone, from);
            }
        }
    }
    return renamed;
}

ScanRecords FrmWizard::scanRecords() {
    return ScanRecords{*Forms, *FormNames, unreadableComponents_, mHighestID, scanResult_};
}

void FrmWizard::CheckFormsExist() {
    endDataFileCheck(); // it reads the modules dropped here
    std::vector<std::string> dropped;
    ErrorScope scope("frmWizard", "CheckFormsExist");
    scope.moduleVariables(*this);
    scope.run([&] {
        dropped = ProjectScan(scanRecords(), settings_.SelectedLanguages).dropVanishedModules(*VBP());
        controls::ListBox& list = lbxModules();
        for (const std::string& name : dropped) {
            int32_t at = -1;
            for (int32_t i = 0; i < list.ListCount() && at < 0; ++i)
                if (list.List(i) == name)
                    at = i;
            // A module kept for its text is listed at once, its records marked removed.
            if (FormNames->Contains(name)) {
                if (at < 0)
                    list.AddItem(name);
                continue;
            }
            if (at < 0)
                continue;
            list.RemoveItem(at);
            if (list.ListCount() > 0)
                list.SetListIndex(0);
        }
    });
}

} // namespace corvane
