#include "app/views/CaptionLabel.h"

#include <QFontMetricsF>

#include <algorithm>

namespace corvane::app {

namespace {

// The smallest share of the font size a one-line label may shrink to.
constexpr double SmallestScale = 0.75;

} // namespace

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

QString CaptionLabel::shownText(const QString& caption) {
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i; // "&x" shows x, "&&" shows "&"
        shown += caption[i];
    }
    return shown;
}

void CaptionLabel::setCaption(const QString& caption) {
    setText(shownText(caption));
    fit();
}

void CaptionLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void CaptionLabel::fit() {
    QFont base = parentWidget() ? parentWidget()->font() : QFont();
    QFontMetricsF metrics(base);
    bool oneLine = height() < 2 * metrics.height() && !text().contains(QLatin1Char('\n'));
    setWordWrap(!oneLine);
    if (width() <= 0 || base.pointSizeF() <= 0) {
        setFont(base);
        return;
    }
    if (!oneLine) {
        // Wrapped text that needs more lines than the label has room for gets a smaller font.
        QFont smaller = base;
        for (double scale = 1.0; scale >= SmallestScale; scale -= 0.05) {
            smaller.setPointSizeF(base.pointSizeF() * scale);
            QRectF needed = QFontMetricsF(smaller).boundingRect(QRectF(0, 0, width(), 1e6), Qt::TextWordWrap, text());
            if (needed.height() <= height())
                break;
        }
        setFont(smaller);
        return;
    }
    double needed = metrics.horizontalAdvance(text());
    if (needed <= width()) {
        setFont(base);
        return;
    }
    QFont smaller = base;
    double scale = std::max(SmallestScale, width() / needed);
    smaller.setPointSizeF(base.pointSizeF() * scale);
    // Hinted fonts (Windows draws through GDI) do not narrow in proportion to their size: the
    // next smaller steps until the text fits.
    while (scale > SmallestScale && QFontMetricsF(smaller).horizontalAdvance(text()) > width()) {
        scale = std::max(SmallestScale, scale - 0.02);
        smaller.setPointSizeF(base.pointSizeF() * scale);
    }
    setFont(smaller);
}

} // namespace corvane::app
