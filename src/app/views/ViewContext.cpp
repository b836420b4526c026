#include "app/views/ViewContext.h"

#include "controls/WindowSystem.h"
#include "vbruntime/VbError.h"

#include <QMessageBox>
#include <QString>

#include <exception>
#include <string>

namespace corvane::app {

ViewContext::ViewContext() = default;

ViewContext::~ViewContext() { retire(); }

void ViewContext::retire() {
    live_ = false;
    auto disconnectors = std::move(disconnectors_);
    disconnectors_.clear();
    for (auto& disconnect : disconnectors)
        disconnect();
}

void ViewContext::act(const std::function<void()>& action) const {
    if (!live_)
        return;
    try {
        action();
    } catch (const VbError& error) {
        std::string text = "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description();
        reportUnhandled(text.c_str());
    } catch (const std::exception& error) {
        reportUnhandled(error.what());
    }
}

int ViewContext::toPixelsX(int32_t twips) { return twips / controls::twipsPerPixelX(); }
int ViewContext::toPixelsY(int32_t twips) { return twips / controls::twipsPerPixelY(); }
int32_t ViewContext::toTwipsX(int pixels) { return pixels * controls::twipsPerPixelX(); }
int32_t ViewContext::toTwipsY(int pixels) { return pixels * controls::twipsPerPixelY(); }

void reportUnhandled(const char* what) {
    // The program's procedures report their own failures; what arrives here escaped them.
    // The window system shows it (or answers for a user who is not there).
    if (controls::WindowSystem* windows = controls::WindowSystem::current()) {
        windows->MsgBox(what, controls::vbCritical, "Corvane");
        return;
    }
    QMessageBox::critical(nullptr, QStringLiteral("Corvane"), QString::fromUtf8(what));
}

} // namespace corvane::app
