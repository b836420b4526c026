// PreviewCanvas: the widget that shows a FormSketch, scaled to fit, and lets the user pick:
// a click on a control reports it (see setPickHandler), a click on a tab header shows that
// page, and resting the mouse on a control shows its name, type and help text.
#pragma once

#include "app/preview/SketchPainter.h"

#include <QWidget>

#include <functional>
#include <string>

namespace corvane::app {

class PreviewCanvas : public QWidget {
public:
    // Called with the item picked by a click.
    using PickHandler = std::function<void(int item)>;
    // The text shown when the mouse rests on an item.
    using HoverText = std::function<std::string(int item)>;

    explicit PreviewCanvas(QWidget* parent = nullptr);

    // Shows another sketch (the first page of each tab control, nothing highlighted).
    void setSketch(preview::FormSketch sketch);
    const preview::FormSketch& sketch() const noexcept { return sketch_; }
    // How each control's help text stands, and the language the legend names.
    void setCoverage(std::function<Coverage(const preview::SketchItem&)> coverage, std::string language);
    // Frames an item in blue (-1: none), turning tab pages so that it is in view.
    void highlight(int item);
    int highlighted() const noexcept { return options_.highlighted; }
    // The page shown of each tab control.
    const preview::TabChoice& pages() const noexcept { return options_.pages; }
    void setPickHandler(PickHandler handler) { pick_ = std::move(handler); }
    void setHoverText(HoverText text) { hoverText_ = std::move(text); }

    // The widget point where a client-area point of the sketch is drawn, and back.
    QPointF toWidget(QPointF client) const;
    QPointF toClient(QPointF widget) const;
    // The item under a widget point (-1: none) and the text its hover shows ("" when none).
    int itemAt(QPoint point) const;
    QString hoverTextAt(QPoint point) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    double scale() const;

    preview::FormSketch sketch_;
    SketchPaintOptions options_;
    PickHandler pick_;
    HoverText hoverText_;
};

} // namespace corvane::app
