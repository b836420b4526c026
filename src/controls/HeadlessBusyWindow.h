// HeadlessBusyWindow: a busy window without a screen that records what it showed.
//
// Every state it shows is recorded in order: the state when it is shown, each change while
// it is visible, and the state when it is hidden. Changes while hidden are not recorded
// (nobody would have seen them) but show up in the next recorded state.
#pragma once

#include "controls/BusyWindow.h"
#include "controls/Event.h"

#include <vector>

namespace corvane::controls {

class HeadlessBusyWindow : public BusyWindow {
public:
    // The states shown, oldest first.
    const std::vector<BusyState>& states() const noexcept { return states_; }
    // Forgets the recorded states.
    void clearStates() { states_.clear(); }

    // Raised with each recorded state (the command line prints them).
    Event<const BusyState&> Shown;

protected:
    void stateChanged(const BusyState& state) override;

private:
    std::vector<BusyState> states_;
    bool wasVisible_ = false;
};

} // namespace corvane::controls
