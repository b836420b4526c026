#include "controls/GridOrderKeys.h"

#include "vbruntime/VbError.h"

namespace corvane::controls {

const GridOrderKey& GridOrderKeys::Item(int32_t position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return keys_[static_cast<size_t>(position - 1)];
}

void GridOrderKeys::Add(int16_t colIndex, int32_t sortOrder, int32_t) {
    if (colIndex < 1 || colIndex > columnCount_())
        throw VbError(vberr::InvalidCall, "The grid has no column " + std::to_string(colIndex));
    if (sortOrder != 1 && sortOrder != -1)
        throw VbError(vberr::InvalidCall, "Invalid sort order " + std::to_string(sortOrder));
    keys_.push_back({colIndex, sortOrder});
    Changed();
}

void GridOrderKeys::Clear() {
    if (keys_.empty())
        return;
    keys_.clear();
    Changed();
}

} // namespace corvane::controls
