#include "app/preview/PreviewCanvas.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace corvane::app {

namespace {
constexpr double MaxZoom = 2.0; // a small form is not blown up further
} // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 120);
}

void PreviewCanvas::setSketch(preview::FormSketch sketch) {
    sketch_ = std::move(sketch);
    options_.pages.clear();
    options_.highlighted = -1;
    updateGeometry();
    update();
}

void PreviewCanvas::setCoverage(std::function<Coverage(const preview::SketchItem&)> coverage, std::string language) {
    options_.coverage = std::move(coverage);
    options_.language = std::move(language);
    update();
}

void PreviewCanvas::highlight(int item) {
    if (item >= 0)
        options_.pages = sketch_.pagesShowing(item, options_.pages);
    options_.highlighted = item;
    update();
}

double PreviewCanvas::scale() const {
    QSize picture = SketchLayout(sketch_).size();
    double fit = std::min(width() / static_cast<double>(picture.width()), height() / static_cast<double>(picture.height()));
    return std::clamp(fit, 0.05, MaxZoom);
}

QPointF PreviewCanvas::toWidget(QPointF client) const { return SketchLayout(sketch_).toPicture(client) * scale(); }

QPointF PreviewCanvas::toClient(QPointF widget) const { return SketchLayout(sketch_).toClient(widget / scale()); }

int PreviewCanvas::itemAt(QPoint point) const {
    QPointF client = toClient(point);
    return sketch_.itemAt(client.x(), client.y(), options_.pages);
}

QString PreviewCanvas::hoverTextAt(QPoint point) const {
    int item = itemAt(point);
    if (item < 0 || !hoverText_)
        return {};
    return QString::fromStdString(hoverText_(item));
}

QSize PreviewCanvas::sizeHint() const { return SketchLayout(sketch_).size().boundedTo(QSize(1000, 800)); }

void PreviewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.scale(scale(), scale());
    paintSketch(painter, sketch_, options_);
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    QPointF client = toClient(event->position());
    auto [tabs, page] = sketch_.tabHeaderAt(client.x(), client.y(), options_.pages);
    if (tabs >= 0) {
        options_.pages[tabs] = page;
        update();
        return;
    }
    int item = sketch_.itemAt(client.x(), client.y(), options_.pages);
    if (item >= 0 && pick_)
        pick_(item);
}

bool PreviewCanvas::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    QString text = hoverTextAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this);
    return true;
}

} // namespace corvane::app
