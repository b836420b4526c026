// Event: a control's event, raised synchronously to every connected handler.
//
// Controls raise their events the way VB does: at once, on the caller's stack, before the
// property setter or method returns. Handlers run in the order they were connected. Raising
// runs the handlers connected when raising began, so a handler may connect, disconnect, or
// even unload the window that owns the control without upsetting the others.
//
//     button.Click.connect([&] { dialog.cmdOk_Click(); });
//     button.Click();                        // raises the event (a click by the user)
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace corvane::controls {

template <typename... Args>
class Event {
public:
    // The signature of a handler.
    using Handler = std::function<void(Args...)>;

    // Connects a handler and returns its id for disconnect().
    int connect(Handler handler) {
        handlers_.push_back({++lastId_, std::move(handler)});
        return lastId_;
    }

    // Disconnects the handler with the given id (no effect for an unknown id).
    void disconnect(int id) {
        std::erase_if(handlers_, [id](const Slot& slot) { return slot.id == id; });
    }

    // Disconnects every handler.
    void disconnectAll() { handlers_.clear(); }

    // True when at least one handler is connected.
    bool connected() const noexcept { return !handlers_.empty(); }

    // Raises the event. The object owning the event is not touched after the first handler
    // runs, so a handler may destroy it.
    void operator()(Args... args) const {
        if (handlers_.empty())
            return;
        std::vector<Slot> snapshot = handlers_;
        for (const Slot& slot : snapshot)
            slot.handler(args...);
    }

private:
    struct Slot {
        int id;
        Handler handler;
    };
    std::vector<Slot> handlers_;
    int lastId_ = 0;
};

} // namespace corvane::controls
