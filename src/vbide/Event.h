// Event: an event source with any number of handlers, raised synchronously in the order the
// handlers were connected (as COM event sinks are called on the IDE's thread).
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace corvane::vbide {

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    // Connects a handler; returns its id for disconnect().
    int connect(Handler handler) {
        handlers_.emplace_back(++lastId_, std::move(handler));
        return lastId_;
    }
    // Disconnects a handler (an unknown id is ignored).
    void disconnect(int id) {
        std::erase_if(handlers_, [id](const auto& entry) { return entry.first == id; });
    }
    // Number of connected handlers.
    int handlerCount() const noexcept { return static_cast<int>(handlers_.size()); }
    // Calls every handler; a handler may connect or disconnect others meanwhile.
    void raise(Args... args) const {
        auto handlers = handlers_;
        for (const auto& entry : handlers)
            entry.second(args...);
    }

private:
    std::vector<std::pair<int, Handler>> handlers_;
    int lastId_ = 0;
};

} // namespace corvane::vbide
