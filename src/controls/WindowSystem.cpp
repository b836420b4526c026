#include "controls/WindowSystem.h"

#include "controls/Form.h"
#include "controls/Timer.h"

#include <atomic>

namespace corvane::controls {

namespace {
std::atomic<WindowSystem*> installed{nullptr};
constexpr int32_t DefaultTwipsPerPixel = 15;
} // namespace

WindowSystem::~WindowSystem() {
    WindowSystem* self = this;
    installed.compare_exchange_strong(self, nullptr); // never leave a dangling current one
}

WindowSystem* WindowSystem::current() noexcept { return installed.load(); }

WindowSystem& WindowSystem::get() {
    if (WindowSystem* windowSystem = current())
        return *windowSystem;
    throw VbError(vberr::ObjectNotSet, "No window system is installed");
}

WindowSystem* WindowSystem::install(WindowSystem* windowSystem) {
    WindowSystem* previous = installed.exchange(windowSystem);
    if (windowSystem != nullptr && windowSystem != previous) {
        for (Timer* timer : Timer::all())
            if (timer->running())
                windowSystem->timerChanged(*timer);
    }
    return previous;
}

void WindowSystem::showModeless(Form& form, Form* owner) { form.Show(vbModeless, owner); }

void WindowSystem::showModal(Form& form, Form* owner) { form.Show(vbModal, owner); }

void WindowSystem::hide(Form& form) { form.Hide(); }

bool WindowSystem::unload(Form& form) { return form.Unload(); }

int32_t twipsPerPixelX() {
    WindowSystem* windowSystem = WindowSystem::current();
    return windowSystem ? windowSystem->TwipsPerPixelX() : DefaultTwipsPerPixel;
}

int32_t twipsPerPixelY() {
    WindowSystem* windowSystem = WindowSystem::current();
    return windowSystem ? windowSystem->TwipsPerPixelY() : DefaultTwipsPerPixel;
}

} // namespace corvane::controls
