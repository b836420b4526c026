// frmWizard: the project scan (setting VBInstance) and the check that drops stored modules
// the project no longer contains.
#include "addin/ComponentRegistry.h"
#include "addin/HeadlessErrorComponent.h"
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "support/AppPaths.h"
#include "support/CaseFold.h"
#include "support/Utilities.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

#include <string_view>
#include <unordered_set>

namespace corvane {

namespace {

bool isVisualComponent(int type) { return type >= 5 && type <= 9; }

// The control key: the name, with "(index)" for a member of a control array.
std::string controlKey(vbide::VBControl& ctl, const std::string& name) {
    int32_t index = ctl.Properties().Item("Index").Value().toLong();
    return index == -1 ? name : name + "(" + std::to_string(index) + ")";
}

// The property's value as text, "" when the control has no such property.
std::string textOfProperty(const vbide::Properties& properties, std::string_view name) {
    const vbide::Property* property = properties.find(name);
    return property ? Utilities::ValueText(property->Value()) : std::string();
}

// Reports a failure of the scan to the error component without waiting for an action.
void reportScanFailure(const VbError& failure, int32_t line, const std::string& currentFormName,
                       int32_t currentControlIndex, const std::string& currentControlName) {
    try {
        auto component = ComponentRegistry::instance().create(ErrorComponentId);
        Variant number(failure.number());
        Variant lineNumber(line);
        std::string description = "Error " + std::to_string(failure.number()) +
                                  " occured in VBInstance (set), line number " + std::to_string(line) +
                                  ", CurrentForm '" + currentFormName + "', CurrentControlIndex " +
                                  std::to_string(currentControlIndex) + ", CurrentControlName '" +
                                  currentControlName + "'";
        component->ErrorHandler(number, Variant("Corvane"), Variant("frmWizard"), Variant("VBInstance"),
                                Variant(description), lineNumber, Variant(""), Variant(programVersion()));
    } catch (const std::exception&) {
        // Failures of the report itself are ignored here.
    }
}

// Notes in the error log what the component's file held that could not be taken as it is.
void logLoadWarnings(const vbide::VBComponent& component) {
    std::vector<std::string> notes;
    for (const auto& warning : component.warnings())
        notes.push_back(warning.describe());
    logNotes("frmWizard.VBInstance", notes);
}

} // namespace

void FrmWizard::SetVBInstance(std::shared_ptr<vbide::VBE> vbe) {
    std::string CurrentFormName;
    int32_t CurrentControlIndex = 0;
    std::string CurrentControlName;
    std::source_location where = std::source_location::current();
    try {
        controls::BusyWindow& busy = *settings_.Busy;
        busy.SetTitle("Loading ..");
        busy.SetDisplayStyle(102);
        busy.SetMessage("Reading the contents of active project");
        busy.SetOwner(this);
        busy.SetShowProgress(false);
        busy.Show();

        mVBE = std::move(vbe);
        scannedProject_.reset();
        scannedProject_ = VBP();
        Forms = std::make_shared<ModuleRecords>();
        FormNames = std::make_shared<NameList>();
        unreadableComponents_.Clear();
        scanMessageDetails_.clear();
        settings_.newSelectedLanguages();
        settings_.mPrimaryLanguage.clear();
        settings_.mCurrentLanguage.clear();

        where = std::source_location::current();
        loadHelpDataFile();

        CurrentForm.reset();
        busy.SetMessage("Analysing modules");
        for (const auto& component : VBP()->VBComponents()) {
            if (!isVisualComponent(component->Type()))
                continue;
            where = std::source_location::current();
            scanComponent(component, CurrentFormName, CurrentControlIndex, CurrentControlName);
        }
        CheckFormsExist();
        busy.Hide();
    } catch (const std::exception& error) {
        const auto* vbError = dynamic_cast<const VbError*>(&error);
        VbError failure = vbError ? *vbError : VbError(vberr::Raised, error.what());
        reportScanFailure(failure, static_cast<int32_t>(where.line()), CurrentFormName, CurrentControlIndex,
                          CurrentControlName);
    }
}

// Steps 1 to 5 of the scan for one visual component: its records are matched with its live
// controls, refreshed from them, and records of vanished controls are dropped.
void FrmWizard::scanComponent(const std::shared_ptr<vbide::VBComponent>& component, std::string& currentFormName,
                              int32_t& currentControlIndex, std::string& currentControlName) {
    currentFormName = component->Name();
    if (!Utilities::ItemExists(*Forms, currentFormName)) {
        Forms->Add(std::make_shared<HelpItems>(), currentFormName);
        FormNames->Add(currentFormName, currentFormName);
    }
    HelpItems& records = *Forms->Item(currentFormName);
    bool readable = true;
    try {
        auto designer = component->Designer();
        if (!designer)
            throw VbError(vberr::ObjectNotSet, "The component '" + currentFormName + "' has no designer");
        vbide::VBControls& controlsOfDesigner = designer->VBControls();
        int32_t n = controlsOfDesigner.Count();
        for (int32_t i = 1; i <= n; ++i) {
            currentControlIndex = i;
            auto ctl = controlsOfDesigner.Item(i);
            vbide::Properties& properties = ctl->Properties();
            currentControlName = properties.Item("Name").Value().toText();
            const vbide::Property* helpId = properties.find("WhatsThisHelpID");
            if (!helpId)
                continue;
            std::string key = controlKey(*ctl, currentControlName);
            std::shared_ptr<HelpItem> record;
            if (int32_t position = records.PositionOf(key); position == 0) {
                record = std::make_shared<HelpItem>(settings_);
                records.Add(record, key);
                record->ComponentName = currentFormName;
                record->ControlName = key;
            } else {
                record = records.Item(position);
            }
            record->SetControl(ctl);
            record->Caption = textOfProperty(properties, "Caption");
            record->ControlType = ctl->TypeName();
            record->ContextHelpID = helpId->Value().toLong();
            record->Tag = true;
            if (record->ContextHelpID > mHighestID)
                mHighestID = record->ContextHelpID;
        }
    } catch (const VbError& error) {
        if (error.number() != vberr::FormControlsUnreadable)
            throw;
        std::string prompt =
            "Corvane encountered an error getting details from one or more controls on the form or user "
            "control named '" + currentFormName +
            "'.  Loading will continue but controls on that form / user control will not be available "
            "to enter Help text against this session.";
        scanMessageDetails_[prompt] = error.description();
        logNotes("frmWizard.VBInstance", {currentFormName + ": " + error.description()});
        controls::WindowSystem::get().MsgBox(prompt, controls::vbExclamation, "Error loading control");
        // The stored records stay as they are (without a live control) and are saved again.
        readable = false;
        if (!unreadableComponents_.Contains(currentFormName))
            unreadableComponents_.Add(currentFormName, currentFormName);
        for (const auto& record : records)
            if (record->Tag)
                record->SetControl(nullptr); // no record points at a control that failed to be read
    }
    if (readable) {
        logLoadWarnings(*component);
        std::vector<std::string> vanished;
        for (const auto& record : records)
            if (!record->Tag || !record->Control())
                vanished.push_back(record->ControlName);
        for (const std::string& key : vanished)
            records.Remove(key);
    }
    lbxModules().AddItem(currentFormName);
}

void FrmWizard::CheckFormsExist() {
    std::vector<std::string> dropped;
    ErrorScope scope("frmWizard", "CheckFormsExist");
    scope.moduleVariables(*this);
    scope.run([&] {
        dropped.clear();
        auto project = VBP();
        // One look-up per stored module, not a walk of the project's components for each.
        std::unordered_set<std::string_view, FoldedHash, FoldedEqual> present;
        bool someNameUnknown = false;
        for (const auto& component : project->VBComponents()) {
            present.insert(component->Name());
            someNameUnknown = someNameUnknown || (isVisualComponent(component->Type()) && !component->nameIsKnown());
        }
        for (const std::string& name : *FormNames) {
            if (present.contains(name))
                continue;
            // A designer whose file gave no name may be this module: its help text is kept.
            if (!someNameUnknown)
                dropped.push_back(name);
            else if (!unreadableComponents_.Contains(name))
                unreadableComponents_.Add(name, name);
        }
        for (const std::string& name : dropped) {
            FormNames->Remove(name);
            Forms->Remove(name);
            controls::ListBox& list = lbxModules();
            for (int32_t i = 0; i < list.ListCount(); ++i) {
                if (list.List(i) != name)
                    continue;
                list.RemoveItem(i);
                if (list.ListCount() > 0)
                    list.SetListIndex(0);
                break;
            }
        }
    });
}

} // namespace corvane
