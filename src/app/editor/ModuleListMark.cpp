#include "app/editor/ModuleListMark.h"

#include <QPainter>

namespace corvane::app {

void ModuleListMark::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(MissingTextRole).toInt() <= 0)
        return;
    int size = std::max(4, option.rect.height() / 3);
    QRect dot(option.rect.right() - size - 4, option.rect.center().y() - size / 2, size, size);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0xc0, 0x30, 0x20));
    painter->drawEllipse(dot);
    painter->restore();
}

} // namespace corvane::app
