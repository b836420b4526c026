// SketchPainter: draws a FormSketch with QPainter: a title bar with the designer's caption,
// the menu strip of top-level captions, the client area with every control shown (lines,
// shapes, run-time-invisible markers, tab controls with their headers, user controls with
// their own controls in grey), and a legend. Controls that have help text in the current
// language and those without are filled apart; odd geometry is outlined in red, dashes; the
// highlighted control gets a thick blue frame. Works on any paint device, headless too.
#pragma once

#include "preview/FormSketch.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <functional>
#include <string>

class QPainter;

namespace corvane::app {

// How a control's help text stands in the language shown.
enum class Coverage {
    NotListed,   // the control has no help text record (lines, shapes, menus, timers ...)
    WithText,    // it has help text in the language
    WithoutText, // it has none yet
};

struct SketchPaintOptions {
    preview::TabChoice pages;  // the page shown of each tab control
    int highlighted = -1;      // the item framed in blue
    std::function<Coverage(const preview::SketchItem&)> coverage; // null: every control NotListed
    std::string language;      // named in the legend
};

// Where the parts of the picture lie, in picture pixels (before any scaling by a view).
class SketchLayout {
public:
    explicit SketchLayout(const preview::FormSketch& sketch);

    // The whole picture.
    QSize size() const;
    // The title bar, the menu strip (empty when there is no menu), the client area, the legend.
    QRectF titleBar() const;
    QRectF menuStrip() const;
    QRectF clientArea() const;
    QRectF legend() const;
    // A picture point in client-area pixels and back.
    QPointF toClient(QPointF picture) const { return picture - clientArea().topLeft(); }
    QPointF toPicture(QPointF client) const { return client + clientArea().topLeft(); }

private:
    double width_;
    double clientHeight_;
    double menuHeight_;
};

// Draws the sketch at (0, 0), one picture pixel per device pixel (scale the painter first to fit).
void paintSketch(QPainter& painter, const preview::FormSketch& sketch, const SketchPaintOptions& options);
// The sketch drawn into an image of SketchLayout::size() (at most `maxSide` pixels a side:
// larger pictures are drawn scaled down).
QImage renderSketch(const preview::FormSketch& sketch, const SketchPaintOptions& options, int maxSide = 4096);

} // namespace corvane::app
