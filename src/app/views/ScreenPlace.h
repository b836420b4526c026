// ScreenPlace: where a window goes so that the user sees it. A place stored while another
// screen was attached may lie where no screen is now; a window larger than a small screen
// would run past its bottom. Both are moved and shrunk onto a present screen.
#pragma once

#include <QRect>

class QScreen;

namespace corvane::app {

class ScreenPlace {
public:
    // `frame` (a window's outer rectangle) as it is when its title bar's middle lies on a
    // present screen; otherwise moved onto the screen nearest to it, shrunk to fit.
    static QRect onPresentScreen(const QRect& frame);
    // `frame` moved and shrunk to lie wholly in `area` (a screen's available geometry).
    static QRect within(const QRect& frame, const QRect& area);
};

} // namespace corvane::app
