#include "controls/Timer.h"

#include "controls/ControlErrors.h"
#include "controls/WindowSystem.h"

#include <algorithm>
#include <mutex>

namespace corvane::controls {

namespace {
std::mutex timersMutex;

std::vector<Timer*>& liveTimers() {
    static std::vector<Timer*> timers;
    return timers;
}
} // namespace

Timer::Timer(std::string name) : Control("Timer", std::move(name), HasPosition) {
    std::lock_guard lock(timersMutex);
    liveTimers().push_back(this);
}

Timer::~Timer() {
    {
        std::lock_guard lock(timersMutex);
        std::erase(liveTimers(), this);
    }
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->timerRemoved(hWnd());
}

std::vector<Timer*> Timer::all() {
    std::lock_guard lock(timersMutex);
    return liveTimers();
}

bool Timer::running() const noexcept { return Enabled() && interval_ > 0 && !retired_; }

void Timer::SetInterval(int32_t milliseconds) {
    if (milliseconds < 0 || milliseconds > 65535)
        throw invalidValue("Interval");
    interval_ = milliseconds;
    changed("Interval");
    notifyWindowSystem();
}

void Timer::enabledChanged() { notifyWindowSystem(); }

void Timer::retire() {
    retired_ = true;
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->timerRemoved(hWnd());
    Control::retire();
}

void Timer::notifyWindowSystem() {
    if (retired_)
        return;
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->timerChanged(*this);
}

std::optional<Variant> Timer::readProperty(std::string_view name) const {
    if (is(name, "Interval"))
        return Variant(interval_);
    return Control::readProperty(name);
}

bool Timer::writeProperty(std::string_view name, const Variant& value) {
    if (!is(name, "Interval"))
        return Control::writeProperty(name, value);
    SetInterval(value.toLong());
    return true;
}

} // namespace corvane::controls
