// CellEditDelegate: the table's cell delegate. An edit goes to the grid at every keystroke
// (the help text box follows the cell as the user types), and the characters the grid marks
// as its edit selection (SelStart, SelLength: the word the spell check questions) are drawn
// highlighted in the current row's editable cells.
#pragma once

#include <QStyledItemDelegate>

namespace corvane::controls {
class Grid;
}

namespace corvane::app {

class GridItemModel;

class CellEditDelegate : public QStyledItemDelegate {
public:
    CellEditDelegate(controls::Grid& grid, GridItemModel& model, QObject* parent);

    // Highlights the grid's edit selection in the current row, or stops highlighting.
    void setHighlight(bool shown) { highlight_ = shown; }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    controls::Grid& grid_;
    GridItemModel& model_;
    bool highlight_ = false;
};

} // namespace corvane::app
