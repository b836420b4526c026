#include "app/views/AppIcons.h"

#include "vbide/Clipboard.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace corvane::app {

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws on a 32 x 32 canvas that is scaled to the pixmap's size.
QPixmap draw(int size, const Drawing& drawing) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    drawing(painter);
    return pixmap;
}

QIcon icon(const Drawing& drawing) {
    QIcon result;
    for (int size : {16, 24, 32, 48})
        result.addPixmap(draw(size, drawing));
    return result;
}

// A help page with a question mark: the program's window icon.
void drawHelpPage(QPainter& p) {
    p.setPen(QPen(QColor(40, 60, 110), 1.5));
    p.setBrush(QColor(250, 250, 235));
    p.drawRoundedRect(QRectF(5, 2, 22, 28), 3, 3);
    p.setBrush(QColor(30, 110, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 15), 9, 9);
    QFont font(QStringLiteral("Sans"));
    font.setBold(true);
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(7, 6, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
}

void drawGear(QPainter& p) {
    p.setPen(QPen(QColor(70, 70, 70), 4, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(16, 16);
        p.rotate(i * 45);
        p.drawLine(QPointF(0, 9), QPointF(0, 13));
        p.restore();
    }
    p.setPen(QPen(QColor(70, 70, 70), 2));
    p.setBrush(QColor(170, 170, 170));
    p.drawEllipse(QPointF(16, 16), 9, 9);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
}

void drawCompile(QPainter& p) {
    p.setPen(QPen(QColor(90, 60, 20), 1.5));
    p.setBrush(QColor(200, 150, 80));
    p.drawRect(QRectF(4, 12, 24, 16));
    p.setBrush(QColor(240, 200, 120));
    p.drawRect(QRectF(4, 8, 24, 5));
    p.setPen(QPen(QColor(0, 130, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 20), QPointF(15, 25));
    p.drawLine(QPointF(15, 25), QPointF(26, 4));
}

void drawSpell(QPainter& p) {
    QFont font(QStringLiteral("Sans"));
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(QColor(30, 30, 120));
    p.drawText(QRectF(0, 0, 32, 16), Qt::AlignCenter, QStringLiteral("ABC"));
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 22), QPointF(14, 28));
    p.drawLine(QPointF(14, 28), QPointF(26, 16));
}

void drawTable(QPainter& p) {
    p.setPen(QPen(QColor(50, 50, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(QColor(120, 150, 210));
    p.drawRect(QRectF(3, 5, 26, 6));
    for (double y : {16.5, 22.0})
        p.drawLine(QPointF(3, y), QPointF(29, y));
    p.drawLine(QPointF(12, 5), QPointF(12, 27));
}

void drawCards(QPainter& p) {
    p.setPen(QPen(QColor(50, 50, 90), 1.5));
    for (QRectF card : {QRectF(3, 4, 12, 11), QRectF(17, 4, 12, 11), QRectF(3, 17, 12, 11), QRectF(17, 17, 12, 11)}) {
        p.setBrush(Qt::white);
        p.drawRect(card);
        p.drawLine(card.topLeft() + QPointF(2, 4), card.topRight() + QPointF(-2, 4));
    }
}

void drawLanguages(QPainter& p) {
    p.setPen(QPen(QColor(20, 90, 140), 1.8));
    p.setBrush(QColor(190, 225, 250));
    p.drawEllipse(QPointF(16, 16), 12, 12);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 5, 12);
    p.drawLine(QPointF(4, 16), QPointF(28, 16));
    p.drawLine(QPointF(16, 4), QPointF(16, 28));
}

// A floppy disk: the save command's picture in every desktop program.
void drawSave(QPainter& p) {
    p.setPen(QPen(QColor(30, 50, 90), 1.5));
    p.setBrush(QColor(60, 100, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(QColor(240, 240, 245));
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(30, 50, 90));
    p.drawRect(QRectF(18, 6, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void drawContents(QPainter& p) {
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.setBrush(QColor(40, 110, 60));
    p.drawRect(QRectF(5, 4, 20, 24));
    p.setBrush(QColor(250, 250, 240));
    p.drawRect(QRectF(9, 4, 16, 24));
    p.setPen(QPen(QColor(40, 110, 60), 2));
    for (double y : {10.0, 15.0, 20.0})
        p.drawLine(QPointF(12, y), QPointF(22, y));
}

const std::map<std::string, Drawing>& toolDrawings() {
    static const std::map<std::string, Drawing> drawings{
        {"compile", drawCompile},   {"spellcheck", drawSpell}, {"tableview", drawTable},
        {"cardview", drawCards},    {"options", drawGear},     {"languages", drawLanguages},
        {"languageoptions", drawLanguages}, {"helpcontents", drawContents}, {"save", drawSave},
    };
    return drawings;
}

} // namespace

QIcon programIcon(int32_t resourceId) { return resourceId == 101 ? icon(drawHelpPage) : QIcon(); }

QPixmap programPicture(int32_t resourceId) { return resourceId == 101 ? draw(32, drawHelpPage) : QPixmap(); }

QIcon toolIcon(const std::string& name) {
    auto it = toolDrawings().find(name);
    return it == toolDrawings().end() ? QIcon() : icon(it->second);
}

QIcon pictureIcon(const vbide::Picture& picture) {
    QPixmap pixmap;
    const auto* bytes = reinterpret_cast<const uchar*>(picture.bytes.data());
    if (!pixmap.loadFromData(bytes, static_cast<uint>(picture.bytes.size()), picture.format.c_str()))
        return {};
    return QIcon(pixmap);
}

} // namespace corvane::app
