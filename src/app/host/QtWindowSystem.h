// QtWindowSystem: the window system of the desktop program. Each shown form gets a
// FormWindow whose widgets are views over its controls; a modal form runs a nested event
// loop until it is hidden or unloaded; timers run on QTimer; message boxes, file dialogs
// and the busy window are Qt's.
//
// Hooks for the parts that bring their own dialogs: setFileDialogHandler replaces the
// built-in QFileDialog; registerControlView (ControlViews.h) gives a control type its view.
#pragma once

#include "controls/WindowSystem.h"

#include <QPointer>

#include <functional>
#include <map>

class QEventLoop;
class QTimer;
class QWidget;

namespace corvane::app {

class FormWindow;

class QtWindowSystem : public controls::WindowSystem {
public:
    // Shows a file dialog for the dialog control's settings; the chosen path or nothing.
    using FileDialogHandler = std::function<std::optional<std::string>(controls::FileDialog&)>;

    QtWindowSystem();
    ~QtWindowSystem() override;

    // The window of a form while it is shown (or hidden but loaded); null otherwise.
    FormWindow* window(const controls::Form& form) const;
    // The window of the first shown form of that name (letter case ignored); null when none.
    FormWindow* window(std::string_view formName) const;
    // The window new top-level windows are placed over (the host window).
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    // Replaces the file dialog (null: Qt's own).
    void setFileDialogHandler(FileDialogHandler handler) { fileDialogHandler_ = std::move(handler); }
    // Answers message boxes instead of asking the user (prompt, style, title -> answer);
    // null: Qt's message box. Tests use it so that nothing waits for a user.
    using MessageBoxHandler = std::function<int(std::string_view, int, std::string_view)>;
    void setMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler_ = std::move(handler); }
    // Lets other parts add to a form's window (the editor's preview): `made` runs when the
    // window is made, `dropped` when its form unloads or goes, before the form's controls go.
    struct WindowHooks {
        std::function<void(controls::Form&, FormWindow&)> made;
        std::function<void(controls::Form&, FormWindow&)> dropped;
    };
    void setWindowHooks(WindowHooks hooks) { hooks_ = std::move(hooks); }
    // Called once a modal window is up, from inside its loop, instead of waiting for a user;
    // it ends the window (by its close box, or by hiding it). Null: the user answers.
    using ModalHandler = std::function<void(controls::Form&, FormWindow&)>;
    void setModalHandler(ModalHandler handler) { modalHandler_ = std::move(handler); }
    // The text of the message boxes for the program ("Corvane" unless changed).
    void setAppTitle(std::string title) { appTitle_ = std::move(title); }

    // The answer of a message box of that style when its default button is taken.
    static int defaultAnswer(int style);
    // The name of an answer's button ("Yes", "Cancel" ...).
    static std::string answerName(int answer);
    // The window in front: the modal form's, else the form window shown last, else the main
    // window. Message boxes and the busy window belong to it.
    QWidget* frontWindow() const;

    int MsgBox(std::string_view prompt, int style = controls::vbOKOnly, std::string_view title = {}) override;
    void DoEvents() override;
    int32_t TwipsPerPixelX() const override;
    int32_t TwipsPerPixelY() const override;
    int32_t ScreenWidth() const override;
    int32_t ScreenHeight() const override;
    std::string ClipboardText() const override;
    void SetClipboardText(std::string text) override;
    std::unique_ptr<controls::BusyWindow> createBusyWindow() override;
    std::optional<std::string> showFileDialog(controls::FileDialog& dialog) override;

    void windowShown(controls::Form& form, controls::Form* owner) override;
    void runModal(controls::Form& form, controls::Form* owner) override;
    void windowHidden(controls::Form& form) override;
    void windowUnloaded(controls::Form& form) override;
    void windowDestroyed(controls::Form& form) override;
    void timerChanged(controls::Timer& timer) override;
    void timerRemoved(int32_t handle) override;

private:
    struct Shown {
        QPointer<FormWindow> window;
        QEventLoop* modalLoop = nullptr;
        int order = 0; // when it was last shown
    };

    FormWindow& windowFor(controls::Form& form, controls::Form* owner, bool modal);
    void placeOverOwner(controls::Form& form, QWidget* owner);
    void dropWindow(controls::Form& form);
    void endModal(controls::Form& form);
    QWidget* ownerWidget(controls::Form* owner) const;

    std::map<controls::Form*, Shown> shown_;
    std::map<int32_t, QTimer*> timers_;
    QPointer<QWidget> mainWindow_;
    FileDialogHandler fileDialogHandler_;
    MessageBoxHandler messageBoxHandler_;
    ModalHandler modalHandler_;
    std::string appTitle_ = "Corvane";
    WindowHooks hooks_;
    int shownCount_ = 0;
};

} // namespace corvane::app
