#include "app/views/CellEditDelegate.h"

#include "app/views/GridItemModel.h"
#include "controls/Grid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTextLayout>

namespace corvane::app {

CellEditDelegate::CellEditDelegate(controls::Grid& grid, GridItemModel& model, QObject* parent)
    : QStyledItemDelegate(parent), grid_(grid), model_(model) {}

QWidget* CellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        auto* self = const_cast<CellEditDelegate*>(this);
        connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
    }
    return editor;
}

void CellEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    // The value that came back from the editor's own keystroke: leave the cursor where it is.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && line->text() == index.data(Qt::EditRole).toString())
        return;
    QStyledItemDelegate::setEditorData(editor, index);
}

void CellEditDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    bool marked = highlight_ && grid_.SelLength() > 0 && (index.flags() & Qt::ItemIsEditable) &&
                  model_.gridRow(index.row()) == grid_.Row();
    if (!marked) {
        // A cell too narrow for its text shows the text's end, where a kept entry's type says
        // " - removed"; an editable cell (the help text) shows its beginning, as typed.
        QStyleOptionViewItem cell = option;
        if (!(index.flags() & Qt::ItemIsEditable))
            cell.textElideMode = Qt::ElideLeft;
        return QStyledItemDelegate::paint(painter, cell, index);
    }
    // The cell as usual without its text, then the text with the selection highlighted.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QString text = cell.text;
    cell.text.clear();
    QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
    QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, cell.widget).adjusted(3, 0, -3, 0);
    QTextLayout layout(text, cell.font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    QTextLayout::FormatRange selection;
    selection.start = grid_.SelStart();
    selection.length = grid_.SelLength();
    selection.format.setBackground(option.palette.brush(QPalette::Active, QPalette::Highlight));
    selection.format.setForeground(option.palette.brush(QPalette::Active, QPalette::HighlightedText));
    painter->save();
    painter->setClipRect(area);
    painter->setPen(cell.palette.color(cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    QPointF origin(area.left(), area.top() + (area.height() - line.height()) / 2);
    layout.draw(painter, origin, {selection});
    painter->restore();
}

} // namespace corvane::app
