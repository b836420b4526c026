// Grid: the unbound grid (GridEX). It holds no data: it asks its owner for a row's values
// through UnboundReadData, only for rows somebody looks at, keeps them in a row cache, and
// hands edited rows back through UnboundUpdate.
//
// Rows: ItemCount records, numbered by RowIndex from 1. Row positions count from 0 in display
// order; with sort keys or grouping levels the display order follows them (every row is read
// to sort). Row() may also be RowCount(), the place after the last row, where MoveNext from
// the last row arrives (a walk "MoveFirst; while Row() != RowCount(): ...; MoveNext" visits
// every row once).
//
// Events, exactly as the grid raises them:
// - SetValue on the current row with a different value marks the row edited, then raises
//   Change.
// - A change of the current row (SetRow, MoveFirst, MoveNext) first commits an edited row
//   (UnboundUpdate with its values), then raises RowColChange(last row, last column).
// - Update commits an edited current row (UnboundUpdate); nothing when no row is edited.
// - SetItemCount drops every cached row and pending edit, puts the current row on position 0
//   and raises RowColChange. Refetch drops every cached row and pending edit and raises
//   RowColChange for the current row, which is read again when asked for.
// - ColumnHeaderClick is raised by the view when the user clicks a header.
// A column is grouped once: adding a grouping level for a grouped column changes nothing.
// SetRow lands on the record that was at the position before an edit commit re-sorted the rows.
#pragma once

#include "controls/Control.h"
#include "controls/GridColumn.h"
#include "controls/GridOrderKeys.h"
#include "controls/GridRowValues.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace corvane::controls {

// The grid's views.
constexpr int16_t jgexTable = 0;
constexpr int16_t jgexCard = 1;

class Grid : public Control {
public:
    explicit Grid(std::string name = "Grid");

    // The columns.
    GridColumns& Columns() noexcept { return columns_; }
    // The sort keys; changing them re-orders the rows.
    GridOrderKeys& SortKeys() noexcept { return sortKeys_; }
    // The grouping levels; changing them re-orders the rows.
    GridOrderKeys& Groups() noexcept { return groups_; }

    // Number of records (rows) of the unbound grid.
    int32_t ItemCount() const noexcept { return itemCount_; }
    void SetItemCount(int32_t count);
    // Number of row positions.
    int32_t RowCount() const noexcept { return itemCount_; }
    // The current row's position, from 0 (RowCount() past the last row).
    int32_t Row() const noexcept { return row_; }
    void SetRow(int32_t position);
    // The current column's number.
    int16_t Col() const noexcept { return col_; }
    void SetCol(int16_t column);
    // The record index (from 1) shown at a row position; 0 for a position without a record.
    int32_t RowIndex(int32_t position);
    // The first row position shown (scrolling).
    int32_t FirstRow() const noexcept { return firstRow_; }
    void SetFirstRow(int32_t position);

    // A column's value in the current row (Empty without a current record).
    Variant Value(int16_t column);
    // Changes a cell of the current row (see the header comment); raises 91 without a
    // current record.
    void SetValue(int16_t column, Variant value);

    // Commits the pending edit of the current row.
    void Update();
    // Drops every cached row; rows are read again when asked for.
    void Refetch();
    // Moves to the first row position.
    void MoveFirst() { SetRow(0); }
    // Moves to the next row position (up to RowCount()).
    void MoveNext() { SetRow(row_ < itemCount_ ? row_ + 1 : itemCount_); }

    // 0 table view, 1 card view.
    int16_t View() const noexcept { return view_; }
    void SetView(int16_t view);
    // The hint shown in the group-by area.
    const std::string& GroupByBoxInfoText() const noexcept { return groupByText_; }
    void SetGroupByBoxInfoText(std::string text);
    // Height of the column header row in twips.
    int32_t ColumnHeaderHeight() const noexcept { return headerHeight_; }
    void SetColumnHeaderHeight(int32_t height);
    // The selection in the cell being edited (characters).
    int32_t SelStart() const noexcept { return selStart_; }
    void SetSelStart(int32_t start);
    int32_t SelLength() const noexcept { return selLength_; }
    void SetSelLength(int32_t length);

    // For views: the value of a cell at a row position, read through the row cache.
    Variant cellValue(int32_t position, int16_t column);
    // For views: the user clicked a column header.
    void clickColumnHeader(int16_t column);
    // Number of rows read through UnboundReadData so far (views and benchmarks check it).
    int64_t rowsRead() const noexcept { return rowsRead_; }

    // Raised to read a row: (RowIndex, Bookmark, Values).
    Event<int32_t, const Variant&, GridRowValues&> UnboundReadData;
    // Raised to commit an edited row: (RowIndex, Bookmark, Values).
    Event<int32_t, const Variant&, GridRowValues&> UnboundUpdate;
    // Raised after a cell value of the current row changed.
    Event<> Change;
    // Raised when the user clicks a column header.
    Event<GridColumn&> ColumnHeaderClick;
    // Raised after the current row or column changed: (last row, last column).
    Event<const Variant&, int16_t> RowColChange;
    // Raised when rows were re-read, counted or re-ordered (for views).
    Event<> RowsChanged;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    struct CachedRow {
        GridRowValues values;
        bool edited = false;
    };

    CachedRow& cachedRow(int32_t rowIndex);
    void commitEdit();
    void dropRows();
    void orderChanged();
    void ensureOrder();
    void raiseRowColChange(int32_t lastRow, int16_t lastCol);

    GridColumns columns_;
    GridOrderKeys sortKeys_;
    GridOrderKeys groups_;
    std::unordered_map<int32_t, CachedRow> cache_;
    std::vector<int32_t> order_; // record index by position, when sorted or grouped
    bool orderValid_ = false;
    int32_t itemCount_ = 0;
    int32_t row_ = 0;
    int16_t col_ = 1;
    int32_t firstRow_ = 0;
    int16_t view_ = jgexTable;
    std::string groupByText_;
    int32_t headerHeight_ = 285;
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
    int64_t rowsRead_ = 0;
};

} // namespace corvane::controls
