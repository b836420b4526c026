#include "controls/Grid.h"

#include "vbruntime/CaseFold.h"

#include <algorithm>
#include <numeric>

namespace corvane::controls {

namespace {

// -1, 0 or 1 as a sorts before, with or after b: numbers by value, anything else by its
// text without regard to letter case.
int compareCells(const Variant& a, const Variant& b) {
    auto numeric = [](const Variant& v) {
        return v.kind() != Variant::Kind::String && v.kind() != Variant::Kind::Null && v.isNumeric();
    };
    if (numeric(a) && numeric(b)) {
        double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    int c = foldCase(a.toText()).compare(foldCase(b.toText()));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// A column is grouped once: a level added for a column already grouped is dropped, so that a
// grouping saved and loaded again onto the same grid stays as it was. True when levels were
// dropped (the levels were then rebuilt, each change reported on its own).
bool dropDuplicateLevels(GridOrderKeys& levels) {
    std::vector<GridOrderKey> kept;
    for (const GridOrderKey& level : levels)
        if (std::none_of(kept.begin(), kept.end(), [&](const GridOrderKey& k) { return k.ColIndex == level.ColIndex; }))
            kept.push_back(level);
    if (kept.size() == static_cast<size_t>(levels.Count()))
        return false;
    levels.Clear();
    for (const GridOrderKey& level : kept)
        levels.Add(level.ColIndex, level.SortOrder);
    return true;
}

} // namespace

Grid::Grid(std::string name)
    : Control("GridEX", std::move(name), Windowed),
      sortKeys_([this] { return columns_.Count(); }),
      groups_([this] { return columns_.Count(); }) {
    sortKeys_.Changed.connect([this] { orderChanged(); });
    groups_.Changed.connect([this] {
        if (!dropDuplicateLevels(groups_))
            orderChanged();
    });
}

void Grid::SetItemCount(int32_t count) {
    if (count < 0)
        throw VbError(380, "Invalid property value");
    int32_t lastRow = row_;
    int16_t lastCol = col_;
    itemCount_ = count;
    row_ = 0;
    firstRow_ = 0;
    dropRows();
    changed("ItemCount");
    RowsChanged();
    raiseRowColChange(lastRow, lastCol);
}

void Grid::SetRow(int32_t position) {
    if (position < 0 || position > itemCount_)
        throw VbError(vberr::InvalidCall, "Invalid row position " + std::to_string(position));
    if (position == row_)
        return;
    // The commit may re-order the rows: the row asked for is the record shown there now.
    int32_t target = RowIndex(position);
    commitEdit();
    int32_t lastRow = row_;
    if (target != 0 && RowIndex(position) != target)
        for (int32_t p = 0; p < itemCount_; ++p)
            if (RowIndex(p) == target)
                position = p;
    row_ = position;
    if (row_ < firstRow_)
        firstRow_ = row_;
    changed("Row");
    raiseRowColChange(lastRow, col_);
}

void Grid::SetCol(int16_t column) {
    columns_.Item(column); // raises 9 for a column the grid does not have
    if (column == col_)
        return;
    int16_t lastCol = col_;
    col_ = column;
    changed("Col");
    raiseRowColChange(row_, lastCol);
}

int32_t Grid::RowIndex(int32_t position) {
    if (position < 0 || position >= itemCount_)
        return 0;
    ensureOrder();
    return order_.empty() ? position + 1 : order_[static_cast<size_t>(position)];
}

void Grid::SetFirstRow(int32_t position) {
    firstRow_ = std::clamp(position, 0, std::max(0, itemCount_ - 1));
    changed("FirstRow");
}

Variant Grid::Value(int16_t column) {
    int32_t index = RowIndex(row_);
    if (index == 0)
        return {};
    return cachedRow(index).values.Value(column);
}

void Grid::SetValue(int16_t column, Variant value) {
    int32_t index = RowIndex(row_);
    if (index == 0)
        throw VbError(vberr::ObjectNotSet, "The grid has no current row");
    CachedRow& row = cachedRow(index);
    const Variant& old = row.values.Value(column);
    // Null equals nothing, not even Null: a cleared cell cleared again is no change either.
    if (old.kind() == value.kind() && (old.isNull() || old == value))
        return;
    row.values.SetValue(column, std::move(value));
    row.edited = true;
    changed("Value");
    Change();
}

void Grid::Update() { commitEdit(); }

void Grid::Refetch() {
    dropRows();
    RowsChanged();
    raiseRowColChange(row_, col_);
}

void Grid::SetView(int16_t view) {
    view_ = view;
    changed("View");
}

void Grid::SetGroupByBoxInfoText(std::string text) {
    groupByText_ = std::move(text);
    changed("GroupByBoxInfoText");
}

void Grid::SetColumnHeaderHeight(int32_t height) {
    headerHeight_ = height;
    changed("ColumnHeaderHeight");
}

void Grid::SetSelStart(int32_t start) {
    selStart_ = std::max(0, start);
    changed("SelStart");
}

void Grid::SetSelLength(int32_t length) {
    selLength_ = std::max(0, length);
    changed("SelLength");
}

Variant Grid::cellValue(int32_t position, int16_t column) {
    int32_t index = RowIndex(position);
    if (index == 0)
        return {};
    return cachedRow(index).values.Value(column);
}

void Grid::clickColumnHeader(int16_t column) { ColumnHeaderClick(columns_.Item(column)); }

Grid::CachedRow& Grid::cachedRow(int32_t rowIndex) {
    auto it = cache_.find(rowIndex);
    if (it != cache_.end())
        return it->second;
    CachedRow row{GridRowValues(columns_.Count()), false};
    ++rowsRead_;
    UnboundReadData(rowIndex, Variant(rowIndex), row.values);
    return cache_.insert_or_assign(rowIndex, std::move(row)).first->second;
}

void Grid::commitEdit() {
    int32_t index = RowIndex(row_);
    if (index == 0)
        return;
    auto it = cache_.find(index);
    if (it == cache_.end() || !it->second.edited)
        return;
    it->second.edited = false;
    GridRowValues values = it->second.values;
    UnboundUpdate(index, Variant(index), values);
    if (orderValid_ && !order_.empty())
        orderChanged(); // the edited value may move the row
}

void Grid::dropRows() {
    cache_.clear();
    orderValid_ = false;
    order_.clear();
}

void Grid::orderChanged() {
    int32_t current = RowIndex(row_);
    orderValid_ = false;
    order_.clear();
    if (current != 0) {
        ensureOrder(); // the current record stays current at its new position
        auto it = std::find(order_.begin(), order_.end(), current);
        if (it != order_.end())
            row_ = static_cast<int32_t>(it - order_.begin());
        else
            row_ = current - 1;
    }
    RowsChanged();
}

void Grid::ensureOrder() {
    if (orderValid_)
        return;
    orderValid_ = true;
    order_.clear();
    if (sortKeys_.Count() == 0 && groups_.Count() == 0)
        return;
    std::vector<GridOrderKey> keys(groups_.begin(), groups_.end());
    keys.insert(keys.end(), sortKeys_.begin(), sortKeys_.end());
    std::vector<int32_t> order(static_cast<size_t>(itemCount_));
    std::iota(order.begin(), order.end(), 1);
    for (int32_t index : order)
        cachedRow(index); // sorting needs every row
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const GridRowValues& va = cache_.at(a).values;
        const GridRowValues& vb = cache_.at(b).values;
        for (const GridOrderKey& key : keys) {
            int c = compareCells(va.Value(key.ColIndex), vb.Value(key.ColIndex));
            if (c != 0)
                return key.SortOrder < 0 ? c > 0 : c < 0;
        }
        return false;
    });
    order_ = std::move(order);
}

void Grid::raiseRowColChange(int32_t lastRow, int16_t lastCol) {
    RowColChange(Variant(lastRow), lastCol);
}

std::optional<Variant> Grid::readProperty(std::string_view name) const {
    if (is(name, "ItemCount"))
        return Variant(itemCount_);
    if (is(name, "Row"))
        return Variant(row_);
    if (is(name, "Col"))
        return Variant(col_);
    if (is(name, "View"))
        return Variant(view_);
    if (is(name, "GroupByBoxInfoText"))
        return Variant(groupByText_);
    return Control::readProperty(name);
}

bool Grid::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "ItemCount"))
        SetItemCount(value.toLong());
    else if (is(name, "Row"))
        SetRow(value.toLong());
    else if (is(name, "View"))
        SetView(static_cast<int16_t>(value.toLong()));
    else if (is(name, "GroupByBoxInfoText"))
        SetGroupByBoxInfoText(value.toText());
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
