// Wizard: the add-in's connect object. It installs the "Corvane ..." entry in the IDE's
// Add-Ins menu, opens the editor window for the active project when the entry is clicked,
// and closes the editor window when a project leaves the IDE.
#pragma once

#include "addin/ErrorScope.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane {

namespace vbide {
class CommandBarControl;
class CommandBarEvents;
class VBE;
class VBProject;
class VBProjectsEvents;
} // namespace vbide
class FrmWizard;
class ModMain;

// Connect modes of the IDE.
constexpr int32_t vbext_cm_AfterStartup = 0;
constexpr int32_t vbext_cm_Startup = 1;
constexpr int32_t vbext_cm_External = 2;
constexpr int32_t vbext_cm_CommandLine = 3;

// Where the single editor window lives: the add-in's default instance of frmWizard.
struct EditorWindowSlot {
    std::unique_ptr<FrmWizard> window;
};

class Wizard : public ReportsVariables {
public:
    static constexpr std::string_view VbTypeName = "Wizard";

    // Creating the object runs Class_Initialize (SelectedLanguages becomes a new list).
    Wizard(ModMain& settings, EditorWindowSlot& editor);
    ~Wizard() override;
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    // The IDE connects the add-in.
    void IDTExtensibility_OnConnection(std::shared_ptr<vbide::VBE> VBInst, int32_t ConnectMode);
    // The IDE disconnects the add-in: the menu entry is deleted.
    void IDTExtensibility_OnDisconnection(int32_t RemoveMode);
    // The IDE finished starting; nothing to do.
    void IDTExtensibility_OnStartupComplete();
    // The IDE's add-in list changed; nothing to do.
    void IDTExtensibility_OnAddInsUpdate();

    // The menu entry that the add-in installed (null when none).
    const std::shared_ptr<vbide::CommandBarControl>& menuEntry() const { return mcbMenuCommandBar; }

    NamedValues moduleVariables() const override;

private:
    void Class_Initialise();
    void MenuHandler_Click(vbide::CommandBarControl& CommandBarControl, bool& handled, bool& CancelDefault);
    void vbpEvents_ItemRemoved(vbide::VBProject& VBProject);
    void LoadMe();
    // Closes the open editor; with unsaved edits the user chooses: Yes saves as the close box
    // does, No drops them, Cancel keeps the editor open (false).
    bool closeEditor();

    ModMain& settings_;
    EditorWindowSlot& editor_;

    // Fields in declaration order.
    std::shared_ptr<vbide::CommandBarControl> mcbMenuCommandBar;
    std::shared_ptr<vbide::CommandBarEvents> MenuHandler;
    std::shared_ptr<vbide::VBE> VBInstance;
    std::shared_ptr<vbide::VBProjectsEvents> vbpEvents;

    int menuHandlerConnection_ = 0;
    int itemRemovedConnection_ = 0;
};

} // namespace corvane
