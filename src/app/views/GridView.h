// GridView: the view of the unbound grid: a group-by area, a table with sortable headers and
// a card view, all over one GridItemModel.
//
// A click on a header goes to Grid::clickColumnHeader (the program sorts); a header dragged
// onto the group-by area adds a grouping level; the grid's View picks table or cards; the
// row the user selects becomes the grid's current row. With grouping levels a header row
// spans the table before each group.
#pragma once

#include <QWidget>

class QListView;
class QStackedWidget;
class QTableView;

namespace corvane::controls {
class Control;
class Grid;
} // namespace corvane::controls

namespace corvane::app {

class CellEditDelegate;
class GroupByArea;
class GridItemModel;
class ViewContext;

// The MIME type of a dragged grid column (its number as text).
inline constexpr const char* GridColumnMimeType = "application/x-corvane-grid-column";

class GridView : public QWidget {
public:
    // A view of `grid` inside `parent`.
    GridView(controls::Grid& grid, ViewContext& context, QWidget* parent);

    // The table, the card view, the group-by area and the item model (tests drive them).
    QTableView* table() const { return table_; }
    QListView* cards() const { return cards_; }
    GroupByArea* groupByArea() const { return groupArea_; }
    GridItemModel* model() const { return model_; }

private:
    void showView();
    void showGroupHeaders();
    void showCurrentRow();
    void showCurrentValues();
    void showEditSelection();
    void showSortIndicator();
    void showColumnWidths();
    void userSelected(int modelRow);

    controls::Grid& grid_;
    ViewContext& context_;
    GridItemModel* model_;
    GroupByArea* groupArea_;
    QStackedWidget* stack_;
    QTableView* table_;
    QListView* cards_;
    CellEditDelegate* cellDelegate_;
};

// The factory registered for the grid ("GridEX").
QWidget* createGridView(controls::Control& control, QWidget* parent, ViewContext& context);

} // namespace corvane::app
