// GridItemModel: the Qt item model over the unbound grid. It asks the grid for a cell only
// when a view shows it (Grid::cellValue reads the row through UnboundReadData), so a module
// with thousands of controls costs only the rows on screen. Columns are in the grid's
// display order; edits go into the grid's current row and raise its events.
#pragma once

#include <QAbstractTableModel>

namespace corvane::controls {
class Grid;
}

namespace corvane::app {

class ViewContext;

class GridItemModel : public QAbstractTableModel {
public:
    // A model over `grid`; it follows the grid's rows and columns while `context` lives.
    GridItemModel(controls::Grid& grid, ViewContext& context, QObject* parent = nullptr);

    // The grid's column number (from 1) shown in a model column.
    int16_t gridColumn(int modelColumn) const;
    // The model column that shows a grid column (-1 when none does).
    int modelColumn(int16_t gridColumn) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    // True for an index of this model inside its rows and columns (false once retired).
    bool shows(const QModelIndex& index) const;
    void rowsReordered();

    controls::Grid& grid_;
    ViewContext& context_;
};

} // namespace corvane::app
