#include "controls/HeadlessBusyWindow.h"

namespace corvane::controls {

void HeadlessBusyWindow::stateChanged(const BusyState& state) {
    const bool seen = state.visible || wasVisible_;
    wasVisible_ = state.visible;
    if (!seen)
        return;
    states_.push_back(state);
    Shown(state);
}

} // namespace corvane::controls
