// frmWizard: the project scan (setting VBInstance) and the check that drops stored modules
// the project no longer contains, around ProjectScan: the busy window, the messages, the
// module list and the error report.
#include "addin/ComponentRegistry.h"
#include "addin/HeadlessErrorComponent.h"
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "scan/ProjectCodePageChoice.h"
#include "scan/ProjectScan.h"
#include "settings/ModMain.h"
#include "support/AppPaths.h"
#include "support/Utilities.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

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

        where = std::source_location::current();
        loadHelpDataFile();
        where = std::source_location::current();
        const KeyRecoding recoding = settleProjectCodePage(*VBP(), settings_);
        readCodePageSetting_ = settings_.codePage;

        CurrentForm.reset();
        busy.SetMessage("Analysing modules");
        ProjectScan scan(scanRecords(), settings_.SelectedLanguages, recoding);
        for (const auto& component : VBP()->VBComponents()) {
            if (!ProjectScan::isVisualComponent(component->Type()))
                continue;
            where = std::source_location::current();
            scanComponent(scan, *component, position);
        }
        CheckFormsExist();
        busy.Hide();
        startSharedUse();
    } catch (const std::exception& error) {
        const auto* vbError = dynamic_cast<const VbError*>(&error);
        VbError failure = vbError ? *vbError : VbError(vberr::Raised, error.what());
        reportScanFailure(failure, static_cast<int32_t>(where.line()), position);
    }
}

// Steps 1 to 5 of the scan for one visual component (ProjectScan), with what the user and
// the error log are told, and the module's entry in the list.
void FrmWizard::scanComponent(ProjectScan& scan, const vbide::VBComponent& component, ScanPosition& position) {
    const ComponentScan result = scan.mergeComponent(component, position);
    logNotes("frmWizard.VBInstance", result.notes);
    if (result.message) {
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
    for (const auto& component : project->VBComponents())
        if (ProjectScan::isVisualComponent(component->Type()))
            scanComponent(scan, *component, position);
    CheckFormsExist();
    if (lbxModules().ListCount() > 0)
        lbxModules().SetListIndex(0);
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
