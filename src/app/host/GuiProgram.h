// GuiProgram: the desktop program's session and commands.
//
//   corvane                                   the host window
//   corvane edit PROJECT.vbp                  opens the project and picks the add-in's menu entry
//   corvane edit PROJECT.vbp --screenshot F   the same, then saves the editor window as PNG F and exits
// Every other command goes to the command line (cli::run) in the same process.
#pragma once

#include "app/host/HostWindow.h"
#include "app/host/QtHelpViewer.h"
#include "app/host/QtWindowSystem.h"
#include "connect/Addin.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

// True when the arguments name a command of the desktop program (none, or "edit").
bool isGuiCommand(const std::vector<std::string>& arguments);

// The add-in at work in the desktop program: the Qt window system, the help window, the
// error dialog component, the IDE model with the add-in connected, and the host window. Needs a
// QApplication.
class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    // Opens the project and picks the add-in's menu entry as the user would; false when the
    // project cannot be opened or the entry is missing.
    bool edit(const std::filesystem::path& project, std::optional<int> codePage = std::nullopt);
    // The program ends (`end`, by default the application's quit) when the open editor has
    // closed and saved: `corvane edit` is the editor's program. The host window closes with
    // it, asking what it asks on close.
    void endWithEditor(std::function<void()> end = nullptr);

    QtWindowSystem& windows() { return windows_; }
    // The window the program's own help topics are shown in.
    QtHelpViewer& helpViewer() { return helpViewer_; }
    HostWindow& host() { return *host_; }
    Addin& addin() { return addin_; }
    const std::shared_ptr<vbide::VBE>& vbe() const { return vbe_; }

private:
    // The host's close guard: an open editor closes first (and saves, as with its close box);
    // the host closes once it has gone.
    bool closeEditorFirst();
    // Runs `then` from the event loop once `editor` has unloaded.
    void whenEditorUnloads(FrmWizard& editor, std::function<void()> then);

    QtWindowSystem windows_;
    controls::WindowSystemScope scope_;
    QtHelpViewer helpViewer_;
    HelpViewerScope helpScope_{helpViewer_};
    std::shared_ptr<vbide::VBE> vbe_;
    Addin addin_;
    std::unique_ptr<HostWindow> host_;
};

// Uses "Tahoma" 8.25 pt when it is installed, the system font otherwise.
void applyProgramFont();
// Renders a widget into a PNG file; false when it cannot be written.
bool saveScreenshot(QWidget& widget, const std::filesystem::path& file);

// Runs a desktop command (see the header comment); returns the exit status.
int runGui(int& argc, char** argv, const std::vector<std::string>& arguments);

} // namespace corvane::app
