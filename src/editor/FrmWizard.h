// frmWizard: the help text editor window of one project.
//
// Setting VBInstance runs the project scan: the project's "ContextHelp.txt" is loaded into
// HelpItem records and merged with the live controls of the project. The window then shows a
// module list, a grid of the selected module's controls, a text box for the current
// control's help text and a toolbar. Closing it with the close box saves through a 10 ms
// timer (ExitApp); unloading it from code does not save.
//
// The window's procedures, around the components they use (the help data file, the project
// scan, the output layout and the writers):
//   FrmWizard.cpp           lifecycle, layout, closing
//   FrmWizardGrid.cpp       module list, grid and help text editing
//   FrmWizardToolbar.cpp    toolbar commands, languages, spell-check scope
//   FrmWizardSpell.cpp      the spell check
//   FrmWizardScan.cpp       VBInstance (the project scan, ProjectScan) and CheckFormsExist
//   FrmWizardData.cpp       loading and saving the help data file (HelpDataFile; ExitApp)
//   FrmWizardSharing.cpp    the Save command, the title, recovery, the watch on the data file
//                           and the marker that tells a second editor the project is open
//   FrmWizardCreate*.cpp    the help file creation run (CreateHelpFiles, CreateSingleHelpFile)
//   FrmWizardCompiler.cpp   GetCompilerPath (CompilerLocation)
#pragma once

#include "addin/ErrorScope.h"
#include "controls/ActiveBar.h"
#include "controls/Captioned.h"
#include "controls/FileDialog.h"
#include "controls/Form.h"
#include "controls/Grid.h"
#include "controls/ListBox.h"
#include "controls/PictureBox.h"
#include "controls/Splitter.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpItem.h"
#include "scan/ProjectScan.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/KeyedCollection.h"
#include "xml/XMLDocument.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

struct RecoveredText;

namespace controls {
class SpellChecker;
}
namespace vbide {
class VBE;
class VBProject;
class VBComponent;
} // namespace vbide
class ModMain;
class ProcessMarker;
class TopicsAhead;
class CompileLock;
class DataFileCheckAhead;
struct TopicRecipe;
class WinHelpProjectWriter;

// One change of a help text: the control's record and language, the text before and after.
struct HelpTextEdit {
    std::string module;
    std::string control;
    std::string language;
    std::string before;
    std::string after;
    bool hadText = true; // false: the record held no text of the language before the edit
};

class FrmWizard : public controls::Form, public ReportsVariables {
public:
    static constexpr std::string_view VbTypeName = "frmWizard";

    // A window over the shared settings of `settings`, which outlives it.
    explicit FrmWizard(ModMain& settings);
    ~FrmWizard() override;

    // The project scan: loads the help data file and merges it with the project's controls.
    void SetVBInstance(std::shared_ptr<vbide::VBE> vbe);
    // The IDE the window works on.
    std::shared_ptr<vbide::VBE> VBInstance() const { return mVBE; }
    // The project the window works on: the IDE's active project when the scan ran. Another
    // project made active later does not receive this project's help data.
    std::shared_ptr<vbide::VBProject> VBP() const;

    // Drops the stored modules that the project no longer contains.
    void CheckFormsExist();
    // Saves the help data file and the layout, then unloads the window.
    void ExitApp();
    // True when a help text was changed since the window loaded or last saved (the row being
    // edited is committed first); the close box saves such changes, an unload from code drops them.
    bool hasUnsavedEdits();
    // Commits the text being typed in the current row to its record, as leaving the row does.
    void commitPendingEdit();
    // The toolbar's "save" (Ctrl+S): writes the help data file now and keeps the window open.
    // When another program saved the file meanwhile its changes are merged in; texts changed
    // both there and here are put to the user first.
    void saveHelpData();
    // Raised after the user changed a help text (typing, a grid cell, the spell check); not
    // for a text put back by restoreHelpText.
    controls::Event<const HelpTextEdit&> helpTextEdited;
    // Gives the edit's record its text `before` (undo) or `after` (redo) and shows it: its
    // module is selected and its row made current. False when the record is gone.
    bool restoreHelpText(const HelpTextEdit& edit, bool undo);
    // Selects `module` in the module list and makes the row of `control` current; false when
    // either is not there (the row may be hidden by a filter of the grid).
    bool showRecord(const std::string& module, const std::string& control);
    // The user chose to drop the unsaved edits: their recovery file goes too.
    void discardEdits();
    // True when the window saves nothing (the data file is read-only, or the user opened the
    // project read-only because another editor has it open).
    bool readOnly() const noexcept { return readOnly_; }
    // Fills the language combo from SelectedLanguages and selects `CurrentLanguage`.
    void LoadSelectedLanguages(const std::string& CurrentLanguage);
    // Selects a spell-check scope tool by name.
    void SetSpellType(const std::string& Name);
    // The name of the checked scope tool ("" when none).
    std::string GetSpellType();

    // The toolbar's "compile": generates (and compiles) the help projects of every selected
    // language, writes the context numbers into the project and places the primary
    // language's help file beside it.
    void CreateHelpFiles();
    // The save follows the next creation run at once, with nothing changed between (the
    // compile command): the run then compares the data file with the records while it flushes
    // its files and sets the control properties, and that save takes the answer
    // (DataFileCheckAhead.h).
    void setSaveFollowsRun(bool follows) { saveFollowsRun_ = follows; }
    // The caller holds the project's compile lock (CompileLock.h) for the run and what follows
    // it (the compile command, from before it read the project): the run takes none itself.
    void setCompileLockHeld(bool held) { compileLockHeld_ = held; }
    // Writes (and compiles) the help projects of one language; `HTMLCompilerOutput` receives
    // the HTML Help compiler's output, `WinHelpCompileFailed` becomes True when the WinHelp
    // compiler ran and produced no help file.
    void CreateSingleHelpFile(const std::string& Language, std::string& HTMLCompilerOutput,
                              bool& WinHelpCompileFailed);
    // The command template ("%1" for the project file) of the HTML Help compiler (HHC True)
    // or the WinHelp compiler, from the file association or a file the user picks; "" when
    // none was located.
    std::string GetCompilerPath(bool HHC);

    // The window's members, in declaration order (error reports render them).
    NamedValues moduleVariables() const override;

    // Data of the open project (read by the command line, the help generator and tests).
    const std::shared_ptr<ModuleRecords>& formsData() const { return Forms; }
    const std::shared_ptr<NameList>& formNames() const { return FormNames; }
    const std::shared_ptr<HelpItems>& currentForm() const { return CurrentForm; }
    int32_t highestId() const { return mHighestID; }
    // The help data file the scan loaded (what it did not take: its problems()).
    const HelpDataFile& helpDataFile() const { return dataFile_; }
    // What the last scan found: the modules it listed and the messages it showed.
    const ScanResult& scanResult() const { return scanResult_; }
    // For a command that works on its own copy of the help text: the window saves nothing
    // from now on, as if opened read-only, so its records may be let go (formsData()).
    void stopSaving() { setReadOnly(true); }
    ModMain& settings() const { return settings_; }

    // The controls (using one loads the window).
    controls::Timer& timExitApp();
    controls::Splitter& splitMain();
    controls::Captioned& ModuleListContainer();
    controls::ListBox& lbxModules();
    controls::Splitter& splitright();
    controls::Captioned& HelpTextContainer();
    controls::PictureBox& picHTContainer();
    controls::TextBox& txtPrimaryLanguage();
    controls::TextBox& txtHelpText();
    controls::Captioned& ControlListContainer();
    controls::Grid& Grid();
    controls::ActiveBar& ActiveBar();
    controls::FileDialog& FileDialog();
    controls::SpellChecker& Spell();
    controls::Timer& timAutoSave();
    controls::Timer& timWatch();

protected:
    void createControls() override;
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload() override;

private:
    // The spell check of the toolbar's "spellcheck" tool in a scope (editor/FrmWizardSpell.cpp).
    void runSpellCheck(const std::string& scope);
    void checkCurrentText();
    bool checkCurrentModule();
    bool checkAllModules();
    bool checkGridRows(const std::function<void(int32_t)>& beforeText);
    void Spell_BadWord();
    void Spell_Changed();
    void Spell_Complete(int16_t Cancelled);

    // Event handlers of the controls.
    void picHTContainer_Resize();
    void timExitApp_Timer();
    void lbxModules_Click();
    void Grid_UnboundReadData(int32_t RowIndex, controls::GridRowValues& Values);
    void Grid_UnboundUpdate(int32_t RowIndex, controls::GridRowValues& Values);
    void Grid_Change();
    void Grid_ColumnHeaderClick(controls::GridColumn& Column);
    void Grid_RowColChange();
    void txtHelpText_Change();
    // Gives a record the help text of the current language, noting a change.
    void setRecordText(HelpItem& record, const std::string& text);
    void ActiveBar_Click(controls::Tool& Tool);
    void ActiveBar_ComboSelChange(controls::Tool& Tool);

    // Steps of the larger procedures.
    void buildToolbar(controls::ActiveBar& bar);
    void loadHelpDataFile();
    std::shared_ptr<vbide::VBComponent> findDataFileComponent() const;
    std::shared_ptr<vbide::VBComponent> createDataFileComponent();
    void applyLoadedDocument();
    void reportLoadProblems();
    void chooseOutputFormatsByVersion();
    void showComponentScan(const vbide::VBComponent& component, const ComponentScan& result);
    // The editor's records, for a ProjectScan to merge into.
    ScanRecords scanRecords();
    // A control that looks renamed: the gone record whose text it may take over.
    struct RenamedControl {
        std::string module;
        HelpItem* from = nullptr;
        HelpItem* to = nullptr;
    };
    void offerKeptTexts();
    void showUnreadableModules();
    std::vector<RenamedControl> findRenamedControls() const;
    void clearUnusedContextNumbers(ErrorScope& scope);
    void storeLayout(ErrorScope& scope);
    // Writes the records over the data file; false when the user chose to save nothing now.
    bool writeDataFile();
    // The editor among other programs (editor/FrmWizardSharing.cpp).
    void startSharedUse();
    void endSharedUse();
    void takeEditorMarker(const std::filesystem::path& dataFile);
    void setReadOnly(bool readOnly);
    bool offerRecovery(const std::filesystem::path& dataFile); // true when the user was asked
    std::string takenOverText() const;
    std::string savedTextOf(const RecoveredText& text) const;
    HelpItem& recoveredRecord(const std::string& module, const std::string& control);
    void showMergedData();
    void noteEdit();
    void timAutoSave_Timer();
    void timWatch_Timer();
    std::optional<MergeResolution> askConflictResolution(const HelpDataConflictError& conflict);
    void updateTitle();
    void switchView(bool toCard);
    void showOptions();
    // Reads the project again in the code page its setting now asks for (after the options
    // dialog) and merges its controls anew, finding the records of names read in the earlier one.
    // A project that cannot be read again (unsaved changes) keeps its code page, and the setting
    // goes back to the one it was read under.
    void applyCodePageSetting();
    void showLanguageOptions();
    void offerToDeleteTexts(const std::string& language);
    void updateControlProperties(ErrorScope& scope, bool& FormHasHelp);
    // What updateControlProperties must change in one module.
    struct ModuleUpdate {
        bool hasHelp = false;           // a record with a control has help text
        std::vector<HelpItem*> changed; // the records whose control or number must change, in order
    };
    static std::vector<ModuleUpdate> findControlUpdates(const ModuleRecords& forms);
    using ComponentsByName =
        std::unordered_map<std::string_view, std::shared_ptr<vbide::VBComponent>, FoldedHash, FoldedEqual>;
    static ComponentsByName componentsByName(vbide::VBProject& project);
    // Gives the control the context number `id` when it has another one; the number is read
    // from the control's summary, so a form's property sets are built only when one changes.
    static void setContextNumber(vbide::VBControl& control, int32_t id);
    bool writeRunResults(ErrorScope& scope, std::string& OutputPath, std::string& Ver);
    void placePrimaryHelpFiles(ErrorScope& scope, std::string& OutputPath, std::string& Ver);
    void syncHelpProjects(ErrorScope& scope);
    bool takeCompileLock(ErrorScope& scope, std::optional<CompileLock>& lock);
    bool showCompilerMessages(ErrorScope& scope, const std::string& CompilerOutput);
    void showCompileLog(ErrorScope& scope, const std::string& text);
    void showPendingNotes(ErrorScope& scope);
    std::string replaceStaleAssociation(const std::string& gone);
    bool numberRecords(ErrorScope& scope);
    void startTopicsAhead(const std::string& Language, const TopicRecipe& recipe,
                          const WinHelpProjectWriter* winHelp);
    // Where the records are saved: the data file's component, or the file beside the project.
    static std::filesystem::path dataFileTarget(const std::shared_ptr<vbide::VBComponent>& component,
                                                const vbide::VBProject& project);
    // The comparison of the data file for the save that follows the run, begun once the
    // languages are generated; ended (waited for) before anything changes a record again.
    void startDataFileCheck();
    void endDataFileCheck();
    // The version of `target` the comparison found holding the records; the comparison ends.
    std::optional<FileStamp> takeDataFileCheck(const std::filesystem::path& target);

    ModMain& settings_;
    bool spellCheckRunning_ = false; // the toolbar's commands wait while it walks the modules

    // Members in declaration order.
    bool mSpellCancelled = false;
    std::shared_ptr<HelpItems> CurrentForm;
    std::shared_ptr<ModuleRecords> Forms;
    std::shared_ptr<NameList> FormNames;
    std::string GridGroups;
    int32_t mHighestID = 0;
    std::string mCompilerPath;
    std::string mHPJCompilerPath;
    std::shared_ptr<vbide::VBE> mVBE;

    // Component names whose controls could not be read this session: their stored records
    // are kept as they are and saved again.
    NameList unreadableComponents_;
    // What the last scan found (see scanResult).
    ScanResult scanResult_;
    // The project the scan read.
    std::shared_ptr<vbide::VBProject> scannedProject_;
    std::optional<int> readCodePageSetting_; // the code page setting the project was last read under
    // The project's help data file: loads, keeps what it could not load, saves safely.
    HelpDataFile dataFile_;
    // Lines for the compile log of a creation run that are not the compiler's ("Note: ..."):
    // what the run changed on its own. Shown with the next compile log, or at the run's end.
    std::string compileNotes_;
    std::vector<std::filesystem::path> keptHelpFiles_; // beside the project, left by the run as they were
    // A help text changed since the window loaded.
    bool textEdited_ = false;
    // Nothing is saved (see readOnly).
    bool readOnly_ = false;
    // The marker that tells other editors the project is open here (null: not held).
    std::unique_ptr<ProcessMarker> editorMarker_;
    // The version of the data file another program saved that the user was last told of.
    std::optional<FileStamp> announced_;
    // The watch is asking the user.
    bool watching_ = false;
    // A text put back by restoreHelpText is being written: it raises no helpTextEdited.
    bool restoring_ = false;
    // The topics of later languages, made on another thread during a creation run.
    std::unique_ptr<TopicsAhead> topicsAhead_;
    // See setSaveFollowsRun; the comparison runs from the end of the languages to the save (it
    // ends before the records it reads do).
    bool saveFollowsRun_ = false;
    // See setCompileLockHeld.
    bool compileLockHeld_ = false;
    std::unique_ptr<DataFileCheckAhead> dataFileCheck_;

    // The controls, rebuilt at every load.
    controls::Timer* timExitApp_ = nullptr;
    controls::Splitter* splitMain_ = nullptr;
    controls::Captioned* ModuleListContainer_ = nullptr;
    controls::ListBox* lbxModules_ = nullptr;
    controls::Splitter* splitright_ = nullptr;
    controls::Captioned* HelpTextContainer_ = nullptr;
    controls::PictureBox* picHTContainer_ = nullptr;
    controls::TextBox* txtPrimaryLanguage_ = nullptr;
    controls::TextBox* txtHelpText_ = nullptr;
    controls::Captioned* ControlListContainer_ = nullptr;
    controls::Grid* Grid_ = nullptr;
    controls::ActiveBar* ActiveBar_ = nullptr;
    controls::FileDialog* FileDialog_ = nullptr;
    controls::SpellChecker* Spell_ = nullptr;
    controls::Timer* timAutoSave_ = nullptr;
    controls::Timer* timWatch_ = nullptr;
};

} // namespace corvane
