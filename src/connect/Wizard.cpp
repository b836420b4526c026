#include "connect/Wizard.h"

#include "addin/ModWizard.h"
#include "addin/StringTable.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"
#include "vbide/VBProject.h"

namespace corvane {

Wizard::Wizard(ModMain& settings, EditorWindowSlot& editor) : settings_(settings), editor_(editor) {
    Class_Initialise();
}

Wizard::~Wizard() {
    if (MenuHandler)
        MenuHandler->Click().disconnect(menuHandlerConnection_);
    if (vbpEvents)
        vbpEvents->ItemRemoved().disconnect(itemRemovedConnection_);
}

void Wizard::Class_Initialise() {
    ErrorScope scope("Wizard", "Class_Initialise");
    scope.moduleVariables(*this);
    scope.run([&] { settings_.newSelectedLanguages(); });
}

void Wizard::IDTExtensibility_OnConnection(std::shared_ptr<vbide::VBE> VBInst, int32_t ConnectMode) {
    ErrorScope scope("Wizard", "IDTExtensibility_OnConnection");
    scope.moduleVariables(*this).parameters(
        {{"VBInst", [&VBInst] { return objectVariant(VBInst, "VBE"); }},
         watch("ConnectMode", ConnectMode),
         {"AddInInst", [] { return Variant::object("AddIn"); }},
         {"custom", [] { return Variant::array({}); }}});
    scope.run([&] {
        scope.step([&] { VBInstance = VBInst; });
        scope.step([&] {
            vbpEvents = VBInstance->Events().VBProjectsEvents();
            itemRemovedConnection_ = vbpEvents->ItemRemoved().connect(ErrorScope::eventHandler(
                [this](vbide::VBProject& project) { vbpEvents_ItemRemoved(project); }));
        });
        if (ConnectMode == vbext_cm_External) {
            LoadMe();
            return;
        }
        std::string caption = scope.value([] { return LoadResString(101); });
        auto picture = scope.value([] { return LoadResPicture(1073); });
        mcbMenuCommandBar = AddToAddInCommandBar(*VBInst, caption, picture);
        scope.step([&] {
            MenuHandler = VBInst->Events().CommandBarEvents(mcbMenuCommandBar);
            menuHandlerConnection_ = MenuHandler->Click().connect(ErrorScope::eventHandler(
                [this](vbide::CommandBarControl& control, bool& handled, bool& cancelDefault) {
                    MenuHandler_Click(control, handled, cancelDefault);
                }));
        });
    });
}

void Wizard::IDTExtensibility_OnDisconnection(int32_t RemoveMode) {
    ErrorScope scope("Wizard", "IDTExtensibility_OnDisconnection");
    scope.moduleVariables(*this).parameters(
        {watch("RemoveMode", RemoveMode), {"custom", [] { return Variant::array({}); }}});
    scope.run([&] {
        ErrorScope::ignoringFailures([&] {
            if (!mcbMenuCommandBar)
                throw VbError(vberr::ObjectNotSet);
            mcbMenuCommandBar->Delete();
        });
    });
}

void Wizard::IDTExtensibility_OnStartupComplete() {}

void Wizard::IDTExtensibility_OnAddInsUpdate() {}

void Wizard::LoadMe() {}

void Wizard::MenuHandler_Click(vbide::CommandBarControl&, bool& handled, bool& CancelDefault) {
    ErrorScope scope("Wizard", "MenuHandler_Click");
    scope.moduleVariables(*this).parameters(
        {{"CommandBarControl", [] { return Variant::object("CommandBarControl"); }},
         watch("handled", handled),
         watch("CancelDefault", CancelDefault)});
    scope.run([&] {
        auto project = VBInstance->ActiveVBProject();
        if (!project) {
            controls::WindowSystem::get().MsgBox("Please select a Project before invoking Corvane",
                                                 controls::vbExclamation, "No project selected");
            return;
        }
        if (project->FileName().empty()) {
            controls::WindowSystem::get().MsgBox("You must save this project before using Corvane with it",
                                                 controls::vbExclamation, "Project not saved");
            return;
        }
        // Every command starts from a fresh window; the user says what becomes of the old one's edits.
        bool closed = true;
        scope.step([&] { closed = closeEditor(); });
        if (!closed)
            return;
        editor_.window = controls::Form::create<FrmWizard>(settings_);
        editor_.window->SetVBInstance(VBInstance);
        scope.step([&] { editor_.window->Show(controls::vbModeless); });
    });
}

void Wizard::vbpEvents_ItemRemoved(vbide::VBProject&) {
    ErrorScope scope("Wizard", "vbpEvents_ItemRemoved");
    scope.moduleVariables(*this).parameters({{"VBProject", [] { return Variant::object("VBProject"); }}});
    scope.run([&] { closeEditor(); });
}

bool Wizard::closeEditor() {
    FrmWizard* editor = editor_.window.get();
    if (!editor || !editor->loaded())
        return true;
    if (editor->hasUnsavedEdits()) {
        int answer = controls::WindowSystem::get().MsgBox(
            "Save the changes to the help text before the editor closes?",
            controls::vbYesNoCancel | controls::vbQuestion, "Corvane");
        if (answer == controls::vbCancel)
            return false;
        if (answer == controls::vbYes) {
            editor->ExitApp(); // as the close box does: save, then unload
            return !editor->loaded();
        }
        editor->discardEdits();
    }
    editor->Unload();
    return true;
}

NamedValues Wizard::moduleVariables() const {
    return {{"mcbMenuCommandBar", [this] { return objectVariant(mcbMenuCommandBar, "CommandBarControl"); }},
            {"MenuHandler", [this] { return objectVariant(MenuHandler, "CommandBarEvents"); }},
            {"VBInstance", [this] { return objectVariant(VBInstance, "VBE"); }},
            {"vbpEvents", [this] { return objectVariant(vbpEvents, "VBProjectsEvents"); }}};
}

} // namespace corvane
