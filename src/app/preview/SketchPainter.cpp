#include "app/preview/SketchPainter.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace corvane::app {

using preview::FormSketch;
using preview::SketchItem;
using preview::SketchKind;

namespace {

constexpr double TitleHeight = 22;
constexpr double MenuHeight = 20;
constexpr double LegendHeight = 24;
constexpr double MinimumWidth = 360; // room for the legend
constexpr double Limit = 16000;      // pixels: a damaged size draws no larger

const QColor FormBack(236, 233, 216);
const QColor WorkspaceBack(171, 171, 171);
const QColor WithTextFill(184, 228, 184);
const QColor WithoutTextFill(248, 200, 178);
const QColor NotListedFill(250, 250, 250);
const QColor EmbeddedFill(226, 226, 226);
const QColor HighlightColour(0, 90, 220);
const QColor OddColour(200, 0, 0);

QString text(const std::string& value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

QRectF rectOf(const preview::PixelRect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

QColor fillOf(const SketchItem& item, const SketchPaintOptions& options) {
    if (item.embeddedIn >= 0)
        return EmbeddedFill;
    Coverage coverage = options.coverage ? options.coverage(item) : Coverage::NotListed;
    QColor fill = coverage == Coverage::WithText      ? WithTextFill
                  : coverage == Coverage::WithoutText ? WithoutTextFill
                                                      : NotListedFill;
    bool container = item.kind == SketchKind::Frame || item.kind == SketchKind::TabControl ||
                     item.kind == SketchKind::UserControl;
    if (container)
        fill.setAlpha(120); // what it holds stays readable
    return fill;
}

QPen outlineOf(const SketchItem& item) {
    if (item.odd)
        return QPen(OddColour, 1, Qt::DashLine);
    if (!item.visible)
        return QPen(Qt::darkGray, 1, Qt::DotLine);
    return QPen(item.embeddedIn >= 0 ? Qt::gray : Qt::black, 1);
}

// The caption drawn inside a box, elided to its width; the key (grey) for a box without one.
void drawLabel(QPainter& painter, const QRectF& box, const SketchItem& item, int flags) {
    bool named = item.caption.empty();
    // A user control's own control is named without its instance ("txtStreet").
    std::string name = item.embeddedIn >= 0 ? item.key.substr(item.key.rfind('.') + 1) : item.key;
    QString label = text(named ? name : item.caption);
    QRectF room = box.adjusted(3, 1, -3, -1);
    if (room.width() < 6 || room.height() < 6)
        return;
    painter.setPen(named ? Qt::gray : Qt::black);
    QString shown = painter.fontMetrics().elidedText(label, Qt::ElideRight, static_cast<int>(room.width()));
    painter.drawText(room, flags | Qt::TextSingleLine, shown);
}

void drawShape(QPainter& painter, const QRectF& box, int shape) {
    QRectF area = box;
    if (shape == 1 || shape == 3 || shape == 5) { // square, circle, rounded square
        double side = std::min(box.width(), box.height());
        area = QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    }
    if (shape == 2 || shape == 3)
        painter.drawEllipse(area);
    else if (shape == 4 || shape == 5)
        painter.drawRoundedRect(area, 6, 6);
    else
        painter.drawRect(area);
}

void drawTabControl(QPainter& painter, const FormSketch& sketch, int index, const SketchPaintOptions& options) {
    const preview::TabSet* set = sketch.tabSetOf(index);
    if (!set)
        return;
    auto chosen = options.pages.find(index);
    int shownPage = chosen == options.pages.end() ? 0 : chosen->second;
    QRectF body = rectOf(sketch.items[index].rect).adjusted(0, set->headerHeight, 0, 0);
    painter.drawRect(body);
    for (size_t page = 0; page < set->captions.size(); ++page) {
        QRectF header = rectOf(sketch.tabHeader(*set, static_cast<int>(page)));
        bool current = static_cast<int>(page) == shownPage;
        painter.fillRect(header, current ? QColor(Qt::white) : QColor(215, 215, 215));
        painter.setPen(Qt::black);
        painter.drawRect(header);
        SketchItem caption;
        caption.caption = set->captions[page];
        drawLabel(painter, header, caption, Qt::AlignCenter);
    }
}

void drawItem(QPainter& painter, const FormSketch& sketch, int index, const SketchPaintOptions& options) {
    const SketchItem& item = sketch.items[index];
    QRectF box = rectOf(item.rect);
    painter.setPen(outlineOf(item));
    switch (item.kind) {
    case SketchKind::Line:
        painter.setPen(QPen(item.odd ? OddColour : QColor(Qt::black), 1));
        painter.drawLine(QPointF(item.x1, item.y1), QPointF(item.x2, item.y2));
        return;
    case SketchKind::Shape:
        painter.setBrush(Qt::NoBrush);
        drawShape(painter, box, item.shape);
        return;
    case SketchKind::Marker:
        painter.setBrush(QColor(255, 250, 205));
        painter.drawRoundedRect(box, 4, 4);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, text(item.typeName.substr(0, 3)));
        return;
    default:
        break;
    }
    painter.setBrush(fillOf(item, options));
    if (item.kind == SketchKind::TabControl) {
        painter.drawRect(box);
        drawTabControl(painter, sketch, index, options);
        return;
    }
    if (item.kind == SketchKind::Frame) {
        // As a frame draws itself: the caption at the top of its area, the border through the
        // caption's middle, so that nothing of the caption lies outside the frame (under the
        // form's title bar or a container's edge).
        painter.drawRect(box.adjusted(0, std::min(7.0, box.height() / 2), 0, 0));
        QRectF top(box.x() + 6, box.y(), box.width() - 12, 14);
        double width = std::min(top.width(), painter.fontMetrics().horizontalAdvance(text(item.caption)) + 6.0);
        if (!item.caption.empty() && width > 6)
            painter.fillRect(QRectF(top.x(), top.y(), width, top.height()), FormBack);
        drawLabel(painter, top, item, Qt::AlignLeft | Qt::AlignVCenter);
        return;
    }
    painter.drawRect(box);
    if (item.kind == SketchKind::UserControl && !item.caption.empty())
        return; // its own controls say what it is
    drawLabel(painter, box, item, Qt::AlignLeft | Qt::AlignVCenter);
}

void drawChrome(QPainter& painter, const FormSketch& sketch, const SketchLayout& layout) {
    painter.fillRect(layout.titleBar(), QColor(10, 36, 106));
    painter.setPen(Qt::white);
    std::string title = sketch.caption.empty() ? sketch.moduleName : sketch.caption + " (" + sketch.moduleName + ")";
    painter.drawText(layout.titleBar().adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, text(title));
    if (layout.menuStrip().isEmpty())
        return;
    painter.fillRect(layout.menuStrip(), FormBack);
    painter.setPen(Qt::black);
    double x = layout.menuStrip().left() + 6;
    for (const std::string& caption : sketch.menu) {
        if (x > layout.menuStrip().right())
            break; // a long menu bar wraps in Windows; the sketch shows what fits
        QString label = text(caption);
        painter.drawText(QPointF(x, layout.menuStrip().top() + 14), label);
        x += painter.fontMetrics().horizontalAdvance(label) + 14;
    }
}

void drawSwatch(QPainter& painter, double& x, double y, const QColor& fill, const QPen& pen, const QString& label) {
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawRect(QRectF(x, y + 6, 12, 12));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(x + 16, y + 16), label);
    x += 16 + painter.fontMetrics().horizontalAdvance(label) + 14;
}

void drawLegend(QPainter& painter, const FormSketch& sketch, const SketchLayout& layout, const SketchPaintOptions& options) {
    QRectF area = layout.legend();
    painter.fillRect(area, Qt::white);
    QString language = text(options.language.empty() ? std::string("this language") : options.language);
    double x = area.left() + 6;
    drawSwatch(painter, x, area.top(), WithTextFill, QPen(Qt::black), QStringLiteral("help text in ") + language);
    drawSwatch(painter, x, area.top(), WithoutTextFill, QPen(Qt::black), QStringLiteral("no help text yet"));
    if (!sketch.oddities.empty())
        drawSwatch(painter, x, area.top(), Qt::white, QPen(OddColour, 1, Qt::DashLine),
                   QStringLiteral("odd geometry (%1)").arg(sketch.oddities.size()));
}

} // namespace

SketchLayout::SketchLayout(const FormSketch& sketch)
    : width_(std::clamp(sketch.unreadable.empty() ? sketch.clientWidth : 480.0, MinimumWidth, Limit)),
      clientHeight_(std::clamp(sketch.unreadable.empty() ? sketch.clientHeight : 120.0, 40.0, Limit)),
      menuHeight_(sketch.menu.empty() ? 0 : MenuHeight) {}

QSize SketchLayout::size() const {
    return {static_cast<int>(width_ + 0.999), static_cast<int>(legend().bottom() + 0.999)};
}
QRectF SketchLayout::titleBar() const { return {0, 0, width_, TitleHeight}; }
QRectF SketchLayout::menuStrip() const { return {0, TitleHeight, width_, menuHeight_}; }
QRectF SketchLayout::clientArea() const { return {0, TitleHeight + menuHeight_, width_, clientHeight_}; }
QRectF SketchLayout::legend() const { return {0, clientArea().bottom(), width_, LegendHeight}; }

void paintSketch(QPainter& painter, const FormSketch& sketch, const SketchPaintOptions& options) {
    SketchLayout layout(sketch);
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    drawChrome(painter, sketch, layout);
    QRectF client = layout.clientArea();
    painter.fillRect(client, sketch.mdi ? WorkspaceBack : FormBack);
    if (!sketch.unreadable.empty()) {
        painter.setPen(Qt::black);
        painter.drawText(client.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                         text(sketch.unreadable));
    } else {
        painter.save();
        painter.setClipRect(client);
        painter.translate(client.topLeft());
        for (size_t i = 0; i < sketch.items.size(); ++i)
            if (sketch.shown(static_cast<int>(i), options.pages))
                drawItem(painter, sketch, static_cast<int>(i), options);
        if (options.highlighted >= 0 && options.highlighted < static_cast<int>(sketch.items.size()) &&
            sketch.shown(options.highlighted, options.pages)) {
            painter.setPen(QPen(HighlightColour, 3));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rectOf(sketch.items[options.highlighted].rect).adjusted(-1, -1, 1, 1));
        }
        painter.restore();
    }
    drawLegend(painter, sketch, layout, options);
    painter.restore();
}

QImage renderSketch(const FormSketch& sketch, const SketchPaintOptions& options, int maxSide) {
    QSize size = SketchLayout(sketch).size();
    double scale = std::min(1.0, static_cast<double>(maxSide) / std::max(size.width(), size.height()));
    QImage image(std::max(1, static_cast<int>(size.width() * scale)), std::max(1, static_cast<int>(size.height() * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(scale, scale);
    paintSketch(painter, sketch, options);
    return image;
}

} // namespace corvane::app
