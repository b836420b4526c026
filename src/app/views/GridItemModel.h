// GridItemModel: the Qt item model over the unbound grid. It asks the grid for a cell only
// when a view shows it (Grid::cellValue reads the row through UnboundReadData), so a module
// with thousands of controls costs only the rows on screen. Columns are in the grid's
// display order; edits go into the grid's current row and raise its events.
//
// With grouping levels, a group header row (the column's caption and the group's value) comes
// before each group; the grid has already read every row to put them in grouped order, so the
// headers read no more rows than that.
#pragma once

#include <QAbstractTableModel>

#include <optional>
#include <vector>

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

    // The grid row position shown in a model row (-1 for a group header or outside the rows).
    int32_t gridRow(int modelRow) const;
    // The model row that shows a grid row position (-1 when none does).
    int modelRow(int32_t gridRow) const;
    // True when a model row is a group header.
    bool isGroupHeader(int modelRow) const;
    // The grouping level (from 0) of a group header row, -1 for a record row.
    int groupLevel(int modelRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // The grid column `gridColumn` holds VB captions: shown as the control draws them, "&"
    // access key markers left out ("&&" is one "&"); its tip keeps the caption as stored.
    void showAsCaptions(int16_t gridColumn);

private:
    // True for an index of this model inside its rows and columns (false once retired).
    bool shows(const QModelIndex& index) const;
    void rowsReordered();

    // One model row: a grid row position, or the header of the group that starts there.
    struct ModelRow {
        int32_t position;
        int level; // the grouping level of a header, -1 for a record row
    };
    // The model rows when the grid is grouped (nothing when it is not: rows map one to one).
    const std::optional<std::vector<ModelRow>>& layout() const;
    std::optional<std::vector<ModelRow>> buildLayout() const;
    QString headerText(const ModelRow& header) const;

    controls::Grid& grid_;
    ViewContext& context_;
    mutable std::optional<std::vector<ModelRow>> layout_;
    mutable bool layoutValid_ = false;
    int16_t captionColumn_ = 0; // the grid column of VB captions; 0: none
};

} // namespace corvane::app
