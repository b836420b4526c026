// WindowSystem: the only way the program shows windows and message boxes, runs timers and
// lets pending events run.
//
// System code shows windows through Form's methods (Show, Hide, Unload, userClose) or the
// helpers below, which do the same; the form keeps its own state and lifecycle events and
// tells the window system through the notifications at the end. Two implementations exist:
// the headless one (tests, command line) and the Qt one (the desktop program). One of them is
// installed as the process's current window system.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::controls {

class BusyWindow;
class FileDialog;
class Form;
class Timer;

// Button sets and icons of a message box (add one of each).
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbAbortRetryIgnore = 2;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbRetryCancel = 5;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
// The second button is the default one (the first is without this).
constexpr int vbDefaultButton2 = 256;

// The answers of a message box.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbAbort = 3;
constexpr int vbRetry = 4;
constexpr int vbIgnore = 5;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The button set part of a message box style (vbOKOnly ... vbRetryCancel).
constexpr int buttonSet(int style) { return style & 7; }

class WindowSystem {
public:
    WindowSystem() = default;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;
    virtual ~WindowSystem();

    // The installed window system, or nullptr when none is.
    static WindowSystem* current() noexcept;
    // The installed window system; raises 91 when none is.
    static WindowSystem& get();
    // Installs a window system (nullptr: none) and returns the one installed before. Timers
    // that are already enabled start running on the new one.
    static WindowSystem* install(WindowSystem* windowSystem);

    // Shows a window modeless (loads it first), as form.Show(vbModeless, owner).
    void showModeless(Form& form, Form* owner = nullptr);
    // Shows a window modal; returns when it has been hidden or unloaded.
    void showModal(Form& form, Form* owner = nullptr);
    // Hides a window (it stays loaded).
    void hide(Form& form);
    // Unloads a window from code; false when its QueryUnload cancelled.
    bool unload(Form& form);

    // Shows a message box and returns the answer (vbOK ...). An empty title means the
    // program's name.
    virtual int MsgBox(std::string_view prompt, int style = vbOKOnly, std::string_view title = {}) = 0;
    // The number of modal windows running now (0: the user works in modeless windows), so that
    // work started by a timer can wait while the user answers a dialog.
    int modalDepth() const noexcept { return modalDepth_; }
    // Counts one modal window for as long as it lives (Form::Show does this).
    class ModalRun {
    public:
        explicit ModalRun(WindowSystem& windowSystem) : windowSystem_(windowSystem) { ++windowSystem_.modalDepth_; }
        ~ModalRun() { --windowSystem_.modalDepth_; }
        ModalRun(const ModalRun&) = delete;
        ModalRun& operator=(const ModalRun&) = delete;

    private:
        WindowSystem& windowSystem_;
    };
    // Lets pending events run: timers whose interval has elapsed fire.
    virtual void DoEvents() = 0;
    // Twips per screen pixel, horizontally and vertically.
    virtual int32_t TwipsPerPixelX() const = 0;
    virtual int32_t TwipsPerPixelY() const = 0;
    // The size of the screen's work area in twips (a maximised window takes it).
    virtual int32_t ScreenWidth() const = 0;
    virtual int32_t ScreenHeight() const = 0;
    // The clipboard's text.
    virtual std::string ClipboardText() const = 0;
    virtual void SetClipboardText(std::string text) = 0;
    // A new progress window of this window system.
    virtual std::unique_ptr<BusyWindow> createBusyWindow() = 0;
    // Shows a file dialog modally with the dialog's settings; the chosen file's full path, or
    // nothing when the user cancelled (FileDialog::ShowOpen calls this).
    virtual std::optional<std::string> showFileDialog(FileDialog& dialog) = 0;

    // Notifications from the models; system code does not call these.
    // A loaded window became visible modeless.
    virtual void windowShown(Form& form, Form* owner) = 0;
    // A loaded window became visible modal: returns once it is hidden or unloaded.
    virtual void runModal(Form& form, Form* owner) = 0;
    // A window was hidden.
    virtual void windowHidden(Form& form) = 0;
    // A window was unloaded.
    virtual void windowUnloaded(Form& form) = 0;
    // A window object is being destroyed.
    virtual void windowDestroyed(Form& form) = 0;
    // A timer was enabled, disabled or given another interval (restarts its countdown).
    virtual void timerChanged(Timer& timer) = 0;
    // A timer is gone (its window unloaded or it was destroyed).
    virtual void timerRemoved(int32_t handle) = 0;

private:
    int modalDepth_ = 0;
};

// Twips per pixel of the current window system (15 when none is installed).
int32_t twipsPerPixelX();
int32_t twipsPerPixelY();

// Installs a window system for the lifetime of this object, then restores the previous one.
class WindowSystemScope {
public:
    explicit WindowSystemScope(WindowSystem& windowSystem)
        : previous_(WindowSystem::install(&windowSystem)) {}
    ~WindowSystemScope() { WindowSystem::install(previous_); }
    WindowSystemScope(const WindowSystemScope&) = delete;
    WindowSystemScope& operator=(const WindowSystemScope&) = delete;

private:
    WindowSystem* previous_;
};

} // namespace corvane::controls
