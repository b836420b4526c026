// ViewContext: what the Qt views of one window share: the connections to the models, the
// twips-to-pixels scale, and the guard that every user action passes through.
//
// Views are torn down later than the window they show (Qt deletes them once the event that
// unloaded the window has returned), so the window retires its context at once: every
// connection to a model is cut and user actions arriving afterwards are dropped.
#pragma once

#include "controls/Event.h"

#include <functional>
#include <memory>
#include <vector>

namespace corvane::app {

class ViewContext {
public:
    ViewContext();
    ~ViewContext();
    ViewContext(const ViewContext&) = delete;
    ViewContext& operator=(const ViewContext&) = delete;

    // True until the window is unloaded.
    bool live() const noexcept { return live_; }
    // Cuts every model connection; user actions are dropped from now on.
    void retire();

    // Connects a handler to a model event for as long as the context lives.
    template <typename... Args, typename Handler>
    void connect(controls::Event<Args...>& event, Handler handler) {
        int id = event.connect(std::move(handler));
        disconnectors_.push_back([&event, id] { event.disconnect(id); });
    }

    // Runs a user action on the models: nothing once retired; a failure that escapes the
    // program's own error handling is shown in a message box instead of crossing Qt's loop.
    void act(const std::function<void()>& action) const;

    // Twips to pixels and back, with the window system's scale.
    static int toPixelsX(int32_t twips);
    static int toPixelsY(int32_t twips);
    static int32_t toTwipsX(int pixels);
    static int32_t toTwipsY(int pixels);

private:
    bool live_ = true;
    std::vector<std::function<void()>> disconnectors_;
};

// Reports a failure that reached the window system (a message box naming it).
void reportUnhandled(const char* what);

} // namespace corvane::app
