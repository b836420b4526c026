#include "controls/BusyWindow.h"

#include "controls/Form.h"

#include <algorithm>
#include <utility>

namespace corvane::controls {

std::string BusyState::describe() const {
    std::string text = visible ? "shown" : "hidden";
    text += " title=\"" + title + "\" message=\"" + message + "\"";
    if (showProgress)
        text += " progress=" + std::to_string(value) + " of " + std::to_string(min) + ".." +
                std::to_string(max);
    text += " style=" + std::to_string(displayStyle);
    if (stayOnTop)
        text += " on-top";
    if (cancellable)
        text += " cancellable";
    return text;
}

int32_t BusyState::percent() const {
    if (max <= min)
        return value >= max ? 100 : 0;
    const double share = (static_cast<double>(std::clamp(value, min, max)) - min) / (max - min);
    return static_cast<int32_t>(share * 100.0);
}

BusyWindow::~BusyWindow() = default;

template <typename T>
void BusyWindow::set(T& field, T value) {
    if (field == value)
        return;
    field = std::move(value);
    stateChanged(state_);
}

void BusyWindow::SetTitle(std::string title) { set(state_.title, std::move(title)); }
void BusyWindow::SetMessage(std::string message) { set(state_.message, std::move(message)); }
void BusyWindow::SetShowProgress(bool show) { set(state_.showProgress, show); }
void BusyWindow::SetMin(int32_t min) { set(state_.min, min); }
void BusyWindow::SetMax(int32_t max) { set(state_.max, max); }
void BusyWindow::SetValue(int32_t value) { set(state_.value, value); }
void BusyWindow::SetDisplayStyle(int32_t style) { set(state_.displayStyle, style); }
void BusyWindow::SetStayOnTop(bool stayOnTop) { set(state_.stayOnTop, stayOnTop); }

Form* BusyWindow::Owner() const { return Form::fromHandle(state_.ownerHandle); }

void BusyWindow::SetOwner(Form* owner) { set(state_.ownerHandle, owner ? owner->hWnd() : 0); }

void BusyWindow::Show() {
    cancelRequested_ = false; // a request was for the work before
    set(state_.visible, true);
}

void BusyWindow::Hide() {
    if (!state_.visible)
        return;
    state_.cancellable = false; // the next work offers it again when it can be stopped
    set(state_.visible, false);
}

bool BusyWindow::pollCancel() {
    set(state_.cancellable, state_.visible);
    takeInput();
    return cancelRequested_.exchange(false);
}

} // namespace corvane::controls
