// GridRowValues: the value buffer of one row, handed to the grid's row-read and row-update
// events. Columns count from 1.
#pragma once

#include "vbruntime/Variant.h"
#include "vbruntime/VbError.h"

#include <cstdint>
#include <vector>

namespace corvane::controls {

class GridRowValues {
public:
    // A buffer of `columns` Empty values.
    explicit GridRowValues(int16_t columns) : values_(static_cast<size_t>(columns)) {}

    // Number of columns.
    int16_t Count() const noexcept { return static_cast<int16_t>(values_.size()); }
    // The value of a column; raises 9 for a column the grid does not have.
    const Variant& Value(int16_t column) const { return values_[checked(column)]; }
    void SetValue(int16_t column, Variant value) { values_[checked(column)] = std::move(value); }

private:
    size_t checked(int16_t column) const {
        if (column < 1 || column > Count())
            throw VbError(vberr::SubscriptOutOfRange);
        return static_cast<size_t>(column - 1);
    }

    std::vector<Variant> values_;
};

} // namespace corvane::controls
