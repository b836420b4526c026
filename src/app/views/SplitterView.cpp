#include "app/views/SplitterView.h"

#include "app/views/ViewContext.h"
#include "controls/Splitter.h"

#include <QMouseEvent>

namespace corvane::app {

SplitterView::SplitterView(controls::Splitter& splitter, ViewContext& context, QWidget* parent)
    : QWidget(parent), splitter_(splitter), context_(context) {
    updateCursor();
    context.connect(splitter.PropertyChanged, [this](std::string_view property) {
        if (property == "Vertical")
            updateCursor();
    });
}

void SplitterView::updateCursor() { setCursor(splitter_.Vertical() ? Qt::SplitVCursor : Qt::SplitHCursor); }

void SplitterView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    int barStart = splitter_.Vertical() ? ViewContext::toPixelsY(splitter_.Panes(1).Size())
                                        : ViewContext::toPixelsX(splitter_.Panes(1).Size());
    int mouse = splitter_.Vertical() ? event->position().toPoint().y() : event->position().toPoint().x();
    grabOffset_ = mouse - barStart;
}

void SplitterView::mouseMoveEvent(QMouseEvent* event) {
    if (grabOffset_ < 0)
        return;
    QPoint point = event->position().toPoint();
    int first = (splitter_.Vertical() ? point.y() : point.x()) - grabOffset_;
    int extent = splitter_.Vertical() ? height() : width();
    first = std::clamp(first, 0, std::max(0, extent - 4));
    int32_t twips = splitter_.Vertical() ? ViewContext::toTwipsY(first) : ViewContext::toTwipsX(first);
    context_.act([&] { splitter_.dragBar(twips); });
}

void SplitterView::mouseReleaseEvent(QMouseEvent*) { grabOffset_ = -1; }

QWidget* createSplitterView(controls::Control& control, QWidget* parent, ViewContext& context) {
    return new SplitterView(static_cast<controls::Splitter&>(control), context, parent);
}

} // namespace corvane::app
