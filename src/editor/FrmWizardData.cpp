// frmWizard: loading the project's help data file "ContextHelp.txt" and saving it (ExitApp).
#include "controls/BusyWindow.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "files/FileObject.h"
#include "files/Notice.h"
#include "helpdata/DataFileCheckAhead.h"
#include "helpdata/HelpDataRecovery.h"
#include "platform/Utf8Path.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"

#include <filesystem>

namespace corvane {

// The first component of the project whose file is the data file (letter case ignored, as for
// every other file of a project).
std::shared_ptr<vbide::VBComponent> FrmWizard::findDataFileComponent() const {
    for (const auto& component : VBP()->VBComponents()) {
        FileObject file;
        file.SetFullPath(component->FileNames(1));
        if (HelpDataFile::isDataFileName(file.FileName()))
            return component;
    }
    return nullptr;
}

// The data file beside the project file, added to the project as a related document. An
// existing file is added as it is; a missing one is created by the save that writes it.
std::shared_ptr<vbide::VBComponent> FrmWizard::createDataFileComponent() {
    return VBP()->VBComponents().AddFile(platform::utf8Of(HelpDataFile::locate(platform::pathFromUtf8(VBP()->FileName()))), true);
}

// A missing data file is an empty one until the editor saves: opening the editor (and the
// commands that only read) write nothing.
void FrmWizard::loadHelpDataFile() {
    auto component = findDataFileComponent();
    std::filesystem::path path;
    if (component) {
        path = platform::pathFromUtf8(component->FileNames(1));
    } else {
        path = HelpDataFile::locate(platform::pathFromUtf8(VBP()->FileName()));
        if (std::filesystem::exists(path))
            createDataFileComponent();
    }
    dataFile_.setAnsiCodePage(VBP()->codePage()); // an older file may be in the project's code page
    dataFile_.read(path);
    applyLoadedDocument();
    reportLoadProblems();
    chooseOutputFormatsByVersion();
}

void FrmWizard::applyLoadedDocument() {
    NameList& languages = *settings_.SelectedLanguages;
    if (dataFile_.isNew()) {
        languages.Add(Neutral, Neutral);
        settings_.mCurrentLanguage = Neutral;
        settings_.mPrimaryLanguage = Neutral;
        LoadSelectedLanguages(Neutral);
        dataFile_.takeSettingsAsStored();
        return;
    }
    dataFile_.readSettings();
    settings_.Busy->SetMessage("Loading existing help text");
    // Every language first, wherever its element stands: records keep only the texts of
    // selected languages.
    dataFile_.readSelectedLanguages();
    dataFile_.readRecords(*Forms, *FormNames);
    LoadSelectedLanguages(settings_.mCurrentLanguage);
    if (settings_.mPrimaryLanguage.empty())
        settings_.mPrimaryLanguage = settings_.mCurrentLanguage;
    dataFile_.takeSettingsAsStored();
}

// What the load did not take is told once, naming the file, the lines and the keys; so is a
// malformed registry file, of which the window read only the sound part.
void FrmWizard::reportLoadProblems() {
    if (!dataFile_.complete())
        controls::WindowSystem::get().MsgBox(dataFile_.problemReport(), controls::vbExclamation,
                                             "Help data file damaged");
    std::string registryProblem = registry().takeProblem();
    if (!registryProblem.empty())
        controls::WindowSystem::get().MsgBox("The registry file '" + registry().file().string() +
                                                 "' is malformed:\n" + registryProblem +
                                                 "\nCorvane uses what it could read and stores no "
                                                 "settings in it until it is mended.",
                                             controls::vbExclamation, "Registry file damaged");
}

// Without a generated format, the IDE's version chooses: HTML Help after version 5.
void FrmWizard::chooseOutputFormatsByVersion() {
    if (settings_.mGenerateHTML || settings_.mGenerateWinHelp)
        return;
    settings_.chooseFormatsByVersion(Val(Utilities::GetToken(mVBE->Version(), ".", 1)));
}

void FrmWizard::ExitApp() {
    ErrorScope scope("frmWizard", "ExitApp");
    scope.moduleVariables(*this);
    scope.run([&] {
        controls::BusyWindow& busy = *settings_.Busy;
        // However the save ends (an Abort in an error report passes out of here), the busy
        // window does not stay behind.
        struct HideBusy {
            controls::BusyWindow& busy;
            ~HideBusy() { busy.Hide(); }
        } hideBusy{busy};
        if (Forms && !readOnly_) {
            scope.step([&] {
                busy.SetTitle("Saving ..");
                busy.SetShowProgress(false);
                busy.SetMessage("Saving Help data");
                busy.SetOwner(this);
                busy.Show();
            });
            scope.step([&] { Grid_->Update(); });
            clearUnusedContextNumbers(scope);
            bool written = false;
            scope.step([&] { written = writeDataFile(); });
            if (!written) {
                // The data is not safe on disk: the window stays open with everything in it.
                busy.Hide();
                return;
            }
        }
        if (Forms) {
            Forms.reset();
            FormNames.reset();
            CurrentForm.reset();
        }
        scope.step([&] { Grid_->SetItemCount(0); });
        storeLayout(scope);
        scope.step([&] { Unload(); });
        scope.step([&] { busy.Hide(); });
    });
}

// Step 11 of the save: the layout into the registry. Storing into a malformed registry file
// would drop what cannot be read: the layout is then not stored, the user is told, and the
// window still closes.
void FrmWizard::storeLayout(ErrorScope& scope) {
    auto& reg = registry();
    if (std::string problem = reg.problem(); !problem.empty()) {
        scope.step([&] {
            controls::WindowSystem::get().MsgBox(
                "The window layout was not stored: the registry file '" + reg.file().string() +
                    "' is malformed:\n" + problem,
                controls::vbExclamation, "Registry file damaged");
        });
        return;
    }
    scope.step([&] {
        reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex", "CorvaneSplitRight",
                     splitright_->GetLayout(), REG_SZ);
    });
    scope.step([&] {
        reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex", "CorvaneSplitMain",
                     splitMain_->GetLayout(), REG_SZ);
    });
    settings_.SaveWindowPosition("Main", *this, *Grid_, *splitMain_);
    scope.step([&] {
        reg.SetValue(RegistryRoot::CurrentUser, "Software\\Halvex\\Corvane", "spelltype",
                     GetSpellType(), REG_SZ);
    });
}

// Steps 4 to 7 of the save: records without text lose their context number in the project.
void FrmWizard::clearUnusedContextNumbers(ErrorScope& scope) {
    for (const auto& records : *Forms)
        forEachRecord(*records, RecordParts::ControlsAndTexts, [&](const std::shared_ptr<HelpItem>& record) {
            if (record->hasText() || !record->Control()) // HasHelpText's check; it cannot fail
                return;
            scope.step([&] { setContextNumber(*record->Control(), 0); });
        });
}

// Writes the records over the data file (locked, through a temporary file, after keeping
// the bytes of a file that was not loaded completely). A project that lost the data file's
// component, or never had one, gets it once the file is written.
// When another program saved the file meanwhile, its changes are merged in; texts changed both
// there and here are put to the user, who may also choose to save nothing now (false).
bool FrmWizard::writeDataFile() {
    auto component = findDataFileComponent();
    const std::filesystem::path target = dataFileTarget(component, *VBP());
    try {
        dataFile_.save(*Forms, *FormNames, target, takeDataFileCheck(target));
    } catch (const HelpDataConflictError& conflict) {
        std::optional<MergeResolution> resolution = askConflictResolution(conflict);
        if (!resolution)
            return false;
        dataFile_.save(*Forms, *FormNames, target, {}, *resolution);
    }
    if (!component)
        createDataFileComponent();
    // Everything is on disk: what was kept for recovery is not needed any more.
    try {
        HelpDataRecovery(target).remove();
    } catch (const VbError& error) {
        notice(error.description());
    }
    textEdited_ = false;
    updateTitle();
    return true;
}

std::filesystem::path FrmWizard::dataFileTarget(const std::shared_ptr<vbide::VBComponent>& component,
                                                const vbide::VBProject& project) {
    return component ? platform::pathFromUtf8(component->FileNames(1)) : HelpDataFile::locate(platform::pathFromUtf8(project.FileName()));
}

void FrmWizard::startDataFileCheck() {
    if (!saveFollowsRun_ || dataFileCheck_ || !Forms || !FormNames)
        return;
    // Nothing here may fail the run: without the comparison, the save compares the file itself.
    ErrorScope::ignoringFailures([&] {
        dataFileCheck_ = std::make_unique<DataFileCheckAhead>(settings_, *Forms, *FormNames,
                                                              dataFileTarget(findDataFileComponent(), *VBP()));
    });
}

void FrmWizard::endDataFileCheck() {
    dataFileCheck_.reset();
}

std::optional<FileStamp> FrmWizard::takeDataFileCheck(const std::filesystem::path& target) {
    const std::unique_ptr<DataFileCheckAhead> check = std::move(dataFileCheck_);
    if (!check || check->file() != target)
        return std::nullopt;
    return check->finish();
}

} // namespace corvane
