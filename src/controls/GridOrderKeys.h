// GridOrderKeys: an ordered list of (column, sort order) pairs: the grid's sort keys and its
// grouping levels.
//
// A sort order is 1 (ascending) or -1 (descending). Adding a pair whose column the grid does
// not have, or whose order is neither, raises 5: the grid rejects it.
#pragma once

#include "controls/Event.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace corvane::controls {

// One sort key or grouping level.
struct GridOrderKey {
    int16_t ColIndex = 0;   // the column's number, from 1
    int32_t SortOrder = 1;  // 1 ascending, -1 descending

    bool operator==(const GridOrderKey&) const = default;
};

class GridOrderKeys {
public:
    // Keys whose columns must lie in 1..`columnCount()`.
    explicit GridOrderKeys(std::function<int16_t()> columnCount) : columnCount_(std::move(columnCount)) {}

    // Number of keys.
    int32_t Count() const noexcept { return static_cast<int32_t>(keys_.size()); }
    // The key at a position from 1; raises 9 when there is none.
    const GridOrderKey& Item(int32_t position) const;
    // Appends a key; the third argument of the grid's interface is not used.
    void Add(int16_t colIndex, int32_t sortOrder, int32_t unused = 0);
    // Removes every key.
    void Clear();

    auto begin() const { return keys_.begin(); }
    auto end() const { return keys_.end(); }

    // Raised after the keys changed.
    Event<> Changed;

private:
    std::function<int16_t()> columnCount_;
    std::vector<GridOrderKey> keys_;
};

} // namespace corvane::controls
