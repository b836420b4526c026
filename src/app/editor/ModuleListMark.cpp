#include "app/editor/ModuleListMark.h"

#include <QAbstractScrollArea>
#include <QPainter>

#include <algorithm>

namespace corvane::app {

QRect ModuleListMark::markArea(const QRect& row, const QWidget* view) {
    int size = std::max(4, row.height() / 3);
    int right = row.right();
    // A row wider than the list (a long name) ends out of sight: the mark keeps to what is seen.
    if (const auto* list = qobject_cast<const QAbstractScrollArea*>(view))
        right = std::min(right, list->viewport()->rect().right());
    return {right - size - 4, row.center().y() - size / 2, size, size};
}

void ModuleListMark::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (index.data(MissingTextRole).toInt() <= 0)
        return QStyledItemDelegate::paint(painter, option, index);
    const QRect dot = markArea(option.rect, option.widget);
    // The name ends before the mark (cut short with "..." when it would run under it).
    QStyleOptionViewItem row = option;
    row.rect.setRight(std::max(row.rect.left(), dot.left() - 2));
    QStyledItemDelegate::paint(painter, row, index);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(0xc0, 0x30, 0x20));
    painter->drawEllipse(dot);
    painter->restore();
}

} // namespace corvane::app
