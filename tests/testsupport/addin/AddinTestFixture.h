// AddinTestFixture: the add-in at work in a headless IDE, with everything it touches kept in
// one temporary folder: the registry file, the data folder with "languages.txt", and the
// projects the tests open. Message boxes get the default answers and are recorded; error
// reports go to a recording component.
#pragma once

#include "connect/Addin.h"
#include "controls/HeadlessWindowSystem.h"
#include "editor/FrmWizard.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbide/VBE.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

class AddinTest : public ::testing::Test {
protected:
    AddinTest();
    ~AddinTest() override;

    // Copies the bundled example project into the temporary folder; returns its .vbp path.
    std::filesystem::path copyExample(const std::string& folder = "OrderEntry");
    // Opens a project in the IDE (it becomes the active one).
    std::shared_ptr<vbide::VBProject> openProject(const std::filesystem::path& vbp);
    // Loads and connects the add-in (once), as the IDE does at start.
    void connect(int32_t connectMode = vbext_cm_AfterStartup);
    // Clicks the add-in's menu entry (connecting first when needed).
    void clickMenu();
    // Opens the project and clicks the menu entry: the editor scans the project.
    FrmWizard& openEditor(const std::filesystem::path& vbp);
    // The editor window (fails the test when there is none).
    FrmWizard& editor();
    // Closes the editor with its close box and lets the deferred save run.
    void closeWithCloseBox();

    // The record of a control in the editor's data (fails the test when it is missing).
    HelpItem& record(const std::string& module, const std::string& key);
    // The control keys of a module's records, in order.
    std::vector<std::string> recordKeys(const std::string& module);
    // The module names of the editor's data, in order.
    std::vector<std::string> moduleNames();
    // The entries of the module list box.
    std::vector<std::string> moduleList();
    // Types text into the help text box for a control, as the user does: selects the module
    // in the list, the control's row in the grid, then sets the text box.
    void typeHelpText(const std::string& module, const std::string& key, const std::string& text);
    // Clicks a module's entry in the module list (fails the test when there is none).
    void selectModule(const std::string& module);
    // Moves the grid to the row showing a control of the current module.
    void selectRow(const std::string& key);
    // The grid's rows in display order, each as "control name|help text" read through the grid.
    std::vector<std::string> gridRows();
    // A tool of the editor's toolbar by band and name.
    controls::Tool& tool(const std::string& name, const std::string& band = "Main Band");
    // Clicks a toolbar tool as the user does.
    void clickTool(const std::string& name, const std::string& band = "Main Band");
    // Picks the entry `language` in the toolbar's language combo.
    void pickLanguage(const std::string& language);
    // The entries of the toolbar's language combo.
    std::vector<std::string> languageCombo();

    // A string value of the current user's registry.
    std::string registryValue(const std::string& key, const std::string& name);
    // The titles of the message boxes shown so far.
    std::vector<std::string> messageTitles() const;

    TempDir dir_;
    ScopedEnvironment registryFile_;
    ScopedEnvironment dataFolder_;
    controls::HeadlessWindowSystem windows_;
    controls::WindowSystemScope windowScope_{windows_};
    ScriptedReports reports_;
    std::shared_ptr<vbide::VBE> ide_;
    std::unique_ptr<Addin> addin_;
    bool connected_ = false;
};

// Writes a file with CR LF line ends from lines given with LF.
void writeCrLf(const std::filesystem::path& path, const std::string& textWithLf);

// The small project's form files, as the IDE saves them (LF here; written with CR LF).
extern const char* const SmallFormA;
extern const char* const SmallFormB;
// Stored data of the small project, a little out of date: frmGone left the project,
// txtOldName was renamed, the numbers of cmdGo(1) and txtName changed since, and the class
// clsThing holds an element that is not a HelpItem.
extern const char* const SmallStoredData;
// Writes the small project "Small.vbp" into `folder`: forms frmA and frmB, the standard
// module modMain, the class clsThing and the user control ctlBox, with `extraLines` (such as
// "RelatedDoc=ContextHelp.txt\n") before its Name line. Returns the .vbp path.
std::filesystem::path writeSmallProject(const std::filesystem::path& folder, const std::string& extraLines = "");
// Writes the editing project "Edit.vbp" into `folder`: the form frmEdit (cmdOK, txtName,
// lblTitle, chkBold), the form frmOther (txtNote) and the form frmEmpty without controls, with
// a "ContextHelp.txt" holding English and German texts under the given current and primary
// languages. Returns the .vbp path.
std::filesystem::path writeEditProject(const std::filesystem::path& folder, const std::string& current = "English",
                                       const std::string& primary = "English");

} // namespace corvane::test
