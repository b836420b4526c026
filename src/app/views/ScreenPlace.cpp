#include "app/views/ScreenPlace.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace corvane::app {

namespace {

// The squared distance from a point to a rectangle (0 inside).
long long distanceTo(const QRect& area, QPoint point) {
    const long long dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const long long dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx * dx + dy * dy;
}

} // namespace

QRect ScreenPlace::within(const QRect& frame, const QRect& area) {
    QRect placed(frame.topLeft(), frame.size().boundedTo(area.size()));
    placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - placed.height()));
    return placed;
}

QRect ScreenPlace::onPresentScreen(const QRect& frame) {
    // Where the user grabs the window to move it: the middle of its title bar.
    const QPoint grip(frame.center().x(), frame.top() + 10);
    QRect nearest;
    long long best = std::numeric_limits<long long>::max();
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        if (area.contains(grip))
            return frame;
        if (const long long distance = distanceTo(area, grip); distance < best) {
            best = distance;
            nearest = area;
        }
    }
    return nearest.isValid() ? within(frame, nearest) : frame;
}

} // namespace corvane::app
