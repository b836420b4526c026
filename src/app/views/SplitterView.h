// SplitterView: the view of a splitter. The model places the two panes' controls; the view
// shows the bar between them and turns a drag of the bar into Splitter::dragBar.
#pragma once

#include <QWidget>

namespace corvane::controls {
class Control;
class Splitter;
} // namespace corvane::controls

namespace corvane::app {

class ViewContext;

class SplitterView : public QWidget {
public:
    // A view of `splitter` inside `parent`.
    SplitterView(controls::Splitter& splitter, ViewContext& context, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateCursor();

    controls::Splitter& splitter_;
    ViewContext& context_;
    int grabOffset_ = -1; // pixels from the bar's start to the mouse while dragging
};

// The factory registered for "Splitter".
QWidget* createSplitterView(controls::Control& control, QWidget* parent, ViewContext& context);

} // namespace corvane::app
