// BusyWindow: the shared progress window shown during long work (scan, save, creation run).
//
// The window holds a title, a message line, an optional progress bar (Min, Max, Value), an
// owner window, a numeric display style and a second Boolean option, StayOnTop. The state
// lives here; each window system's implementation shows it in stateChanged(). Progress values
// are taken as given: a Value outside Min..Max, or Min not below Max (an empty project gives
// Max 0), is shown clamped by percent() and never fails.
// Cancelling: work that can be stopped (a help compiler's run) polls pollCancel(); from its
// first poll until the window hides, the window offers a Cancel button. The button (or
// requestCancel from any thread) leaves a request that the next poll takes.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace corvane::controls {

class Form;

// Everything a busy window shows at one moment.
struct BusyState {
    bool visible = false;
    std::string title;
    std::string message;
    bool showProgress = false;
    int32_t min = 0;
    int32_t max = 100;
    int32_t value = 0;
    int32_t displayStyle = 0;
    bool stayOnTop = true;
    int32_t ownerHandle = 0; // hWnd of the owner window, 0 for none
    bool cancellable = false; // the window offers a Cancel button

    bool operator==(const BusyState&) const = default;
    // A one-line description for logs and test failures.
    std::string describe() const;
    // The progress in whole percent, 0 to 100.
    int32_t percent() const;
};

class BusyWindow {
public:
    BusyWindow() = default;
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;
    virtual ~BusyWindow();

    // The window's title.
    const std::string& Title() const noexcept { return state_.title; }
    void SetTitle(std::string title);
    // The message line.
    const std::string& Message() const noexcept { return state_.message; }
    void SetMessage(std::string message);
    // Whether the progress bar is shown.
    bool ShowProgress() const noexcept { return state_.showProgress; }
    void SetShowProgress(bool show);
    // The progress bar's range and value.
    int32_t Min() const noexcept { return state_.min; }
    void SetMin(int32_t min);
    int32_t Max() const noexcept { return state_.max; }
    void SetMax(int32_t max);
    int32_t Value() const noexcept { return state_.value; }
    void SetValue(int32_t value);
    // A numeric display setting (project scanning gives 102); the view decides its look.
    int32_t DisplayStyle() const noexcept { return state_.displayStyle; }
    void SetDisplayStyle(int32_t style);
    // The second option: whether the window stays above the others (start-up switches it off).
    bool StayOnTop() const noexcept { return state_.stayOnTop; }
    void SetStayOnTop(bool stayOnTop);
    // The window it is shown over (nullptr: none, or the owner is gone).
    Form* Owner() const;
    void SetOwner(Form* owner);

    // Shows and hides the window.
    void Show();
    void Hide();
    bool Visible() const noexcept { return state_.visible; }

    // The whole state.
    const BusyState& state() const noexcept { return state_; }

    // Asks the work under way to stop (the Cancel button); may be called from any thread.
    void requestCancel() noexcept { cancelRequested_ = true; }
    // True while a request to stop waits for the work to take it.
    bool cancelRequested() const noexcept { return cancelRequested_; }
    // What stoppable work asks while it waits: offers the Cancel button, lets the window take
    // the user's input, and answers (and takes) a request to stop.
    bool pollCancel();

protected:
    // Called after every change of the state.
    virtual void stateChanged(const BusyState& state) = 0;
    // Lets the window handle the user's input to it (a click on Cancel) without letting any
    // other window take input; the headless window has none.
    virtual void takeInput() {}

private:
    template <typename T>
    void set(T& field, T value);

    BusyState state_;
    std::atomic<bool> cancelRequested_{false};
};

} // namespace corvane::controls
