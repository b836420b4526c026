// Timer: raises its event every Interval milliseconds while enabled (VB's Timer).
//
// The window system runs timers: an enabled timer with a non-zero interval raises Tick (VB's
// Timer event) when pending events run and its interval has elapsed since it was enabled,
// given a new interval, or last fired. Enabling or changing the interval restarts the count.
// A timer stops when its window unloads. A Timer has no Visible, size, handle or tool tip.
#pragma once

#include "controls/Control.h"

#include <vector>

namespace corvane::controls {

class Timer : public Control {
public:
    explicit Timer(std::string name = "Timer1");
    ~Timer() override;

    // Milliseconds between events, 0 to 65535 (0: the timer does not run); else 380.
    int32_t Interval() const noexcept { return interval_; }
    void SetInterval(int32_t milliseconds);

    // True when the timer runs: enabled, a non-zero interval, its window not unloaded.
    bool running() const noexcept;

    // VB's Timer event: raised when the interval has elapsed.
    Event<> Tick;

    // Every timer that exists, oldest first (a window system picks up running ones).
    static std::vector<Timer*> all();

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;
    void enabledChanged() override;
    void retire() override;

private:
    void notifyWindowSystem();

    int32_t interval_ = 0;
    bool retired_ = false;
};

} // namespace corvane::controls
