// HeadlessWindowSystem: windows without a screen, for tests and the command line.
//
// Modal windows are answered by a scripted user: per window name, an action that works the
// window through its control models (clicks buttons, ticks boxes, picks list lines) and ends
// by hiding or unloading it (clicking OK, or userClose() for the close box). Message boxes
// are answered from a queue of scripted answers, else by configured default answers. Every
// message box is recorded. File dialogs are answered the same way: a queued path or Cancel,
// else Cancel once default answers are in use; each is recorded. A modal window or message box that nobody answers raises VbError 5
// naming the window or the message, and so does a scripted user that leaves its modal window
// open: nothing ever waits.
//
// Time is virtual: the clock stands still until advance(ms) moves it. A running timer is due
// its interval after it was enabled (or got a new interval, or last fired). DoEvents() fires
// each timer that is due at the current time once, earliest first, and restarts its count.
// runPendingEvents() moves the clock to the next due timer and fires what is due then.
#pragma once

#include "controls/Event.h"
#include "controls/WindowSystem.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane::controls {

// A message box that was shown.
struct MessageBoxRecord {
    std::string title;
    std::string prompt;
    int style = 0;
    int answer = 0; // 0 when nobody answered it

    bool operator==(const MessageBoxRecord&) const = default;
};

// A file dialog that was shown, with the settings it had and how it was answered.
struct FileDialogRecord {
    std::string title;
    std::string filter;
    std::string initDir;
    std::string fileName;
    std::string okCaption;
    int32_t flags = 0;
    std::optional<std::string> answer; // the chosen path; nothing when cancelled

    bool operator==(const FileDialogRecord&) const = default;
};

class HeadlessWindowSystem : public WindowSystem {
public:
    // What the scripted user does while a window is modal.
    using UserAction = std::function<void(Form&)>;

    HeadlessWindowSystem();
    ~HeadlessWindowSystem() override;

    // The user's action every time the named window is modal (name without regard to case).
    void onModal(std::string windowName, UserAction action);
    // The user's action the next time the named window is modal; comes before onModal's.
    void onModalOnce(std::string windowName, UserAction action);

    // Queues the answer to the next message box (vbOK, vbYes ...).
    void answerNext(int answer);
    // Number of queued answers not yet used.
    size_t pendingAnswers() const noexcept { return answers_.size(); }
    // Answers message boxes without a queued answer: OK for OK-only; for the other sets the
    // affirmative answer (OK, Yes, Retry) when `affirmative`, else the negative one (Cancel,
    // No, Abort).
    void useDefaultAnswers(bool affirmative = false);
    // Sets the default answer of one button set (after useDefaultAnswers).
    void setDefaultAnswer(int buttons, int answer);
    // The message boxes shown, oldest first.
    const std::vector<MessageBoxRecord>& messages() const noexcept { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Raised for each message box once it is answered (the command line prints it).
    Event<const MessageBoxRecord&> MessageShown;
    // Queues the answer to the next file dialog: the path the user picks, or nothing for Cancel.
    void answerFileDialogNext(std::optional<std::string> path);
    // Number of queued file dialog answers not yet used.
    size_t pendingFileDialogAnswers() const noexcept { return fileAnswers_.size(); }
    // The file dialogs shown, oldest first.
    const std::vector<FileDialogRecord>& fileDialogs() const noexcept { return fileDialogs_; }
    // The title used for message boxes shown without one.
    void setAppTitle(std::string title) { appTitle_ = std::move(title); }

    // What happened to windows, in order: "show <name>", "modal <name>", "hide <name>",
    // "unload <name>".
    const std::vector<std::string>& windowLog() const noexcept { return windowLog_; }
    void clearWindowLog() { windowLog_.clear(); }

    // The virtual clock in milliseconds.
    int64_t now() const noexcept { return now_; }
    // Moves the clock forward (no event runs); a negative time raises 5.
    void advance(int64_t milliseconds);
    // Moves the clock to the next due timer and fires what is due; false when no timer runs.
    bool runPendingEvents();
    // The time the next timer is due, or -1 when no timer runs.
    int64_t nextDue() const;

    // Screen metrics (15 twips per pixel and a 1024 x 768 pixel screen by default).
    void setTwipsPerPixel(int32_t x, int32_t y);
    void setScreenSize(int32_t widthTwips, int32_t heightTwips);

    int MsgBox(std::string_view prompt, int style = vbOKOnly, std::string_view title = {}) override;
    void DoEvents() override;
    int32_t TwipsPerPixelX() const override { return twipsX_; }
    int32_t TwipsPerPixelY() const override { return twipsY_; }
    int32_t ScreenWidth() const override { return screenWidth_; }
    int32_t ScreenHeight() const override { return screenHeight_; }
    std::string ClipboardText() const override { return clipboard_; }
    void SetClipboardText(std::string text) override { clipboard_ = std::move(text); }
    std::unique_ptr<BusyWindow> createBusyWindow() override;
    std::optional<std::string> showFileDialog(FileDialog& dialog) override;

    void windowShown(Form& form, Form* owner) override;
    void runModal(Form& form, Form* owner) override;
    void windowHidden(Form& form) override;
    void windowUnloaded(Form& form) override;
    void windowDestroyed(Form& form) override;
    void timerChanged(Timer& timer) override;
    void timerRemoved(int32_t handle) override;

private:
    UserAction takeAction(const std::string& windowName);
    int answerFor(const MessageBoxRecord& message);

    struct Scheduled {
        Timer* timer;
        int64_t due;
    };

    std::map<std::string, UserAction> modalActions_;              // folded name -> action
    std::map<std::string, std::deque<UserAction>> onceActions_;   // folded name -> actions
    std::deque<int> answers_;
    std::map<int, int> defaultAnswers_; // button set -> answer
    std::vector<MessageBoxRecord> messages_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::vector<FileDialogRecord> fileDialogs_;
    std::vector<std::string> windowLog_;
    std::string appTitle_ = "Corvane";
    std::string clipboard_;
    std::map<int32_t, Scheduled> timers_; // timer handle -> schedule
    int64_t now_ = 0;
    int32_t twipsX_ = 15, twipsY_ = 15;
    int32_t screenWidth_ = 1024 * 15, screenHeight_ = 768 * 15;
};

} // namespace corvane::controls
