// Addin: the add-in as the IDE loads it: start-up (modMain's main), the connect object Wizard
// and the single editor window. Hosts (the command line, the desktop program, tests) make one,
// load it, and connect it to an IDE.
#pragma once

#include "connect/Wizard.h"
#include "settings/ModMain.h"

#include <memory>

namespace corvane {

class Addin {
public:
    Addin();
    ~Addin();
    Addin(const Addin&) = delete;
    Addin& operator=(const Addin&) = delete;

    // The IDE loads the add-in: start-up runs once (needs an installed window system).
    void load();
    // The IDE creates the connect object and connects it.
    void connect(std::shared_ptr<vbide::VBE> vbe, int32_t connectMode = vbext_cm_AfterStartup);
    // The IDE disconnects the add-in (the menu entry goes).
    void disconnect();

    // The shared settings.
    ModMain& modMain() noexcept { return modMain_; }
    // The connect object (null before connect).
    Wizard* wizard() const noexcept { return wizard_.get(); }
    // The editor window, or null when none was opened.
    FrmWizard* editor() const noexcept { return editor_.window.get(); }

private:
    ModMain modMain_;
    EditorWindowSlot editor_;
    std::unique_ptr<Wizard> wizard_;
};

} // namespace corvane
