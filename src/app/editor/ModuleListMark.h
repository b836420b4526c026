// ModuleListMark: draws the module list's rows as the list does, and a small mark at the
// right end of the rows of modules with controls that lack help text. The count comes from
// the row's MissingTextRole. The mark stays inside the list's visible width however long a
// name is (the list scrolls sideways then), and a name is cut short before the mark.
#pragma once

#include <QStyledItemDelegate>

namespace corvane::app {

class ModuleListMark : public QStyledItemDelegate {
public:
    // The item role holding how many controls of the row's module lack text (0 or none: no mark).
    static constexpr int MissingTextRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    // The row as the list draws it, then the mark.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the mark of a row at `row` (viewport coordinates) of the list `view` is drawn.
    static QRect markArea(const QRect& row, const QWidget* view);
};

} // namespace corvane::app
