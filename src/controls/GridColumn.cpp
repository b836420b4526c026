#include "controls/GridColumn.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::controls {

GridColumn::GridColumn(int16_t index, std::string key)
    : index_(index), key_(std::move(key)), dataField_(key_), position_(index) {}

void GridColumn::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Changed();
}

void GridColumn::SetWidth(int32_t width) {
    if (width < 0)
        throw VbError(380, "Invalid property value");
    width_ = width;
    Changed();
}

void GridColumn::SetColPosition(int16_t position) {
    position_ = position;
    Changed();
}

GridColumn& GridColumns::Item(int16_t index) const {
    if (index < 1 || index > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return *columns_[static_cast<size_t>(index - 1)];
}

GridColumn& GridColumns::Item(std::string_view key) const {
    for (const auto& column : columns_)
        if (equalsIgnoreCase(column->Key(), key))
            return *column;
    throw VbError(vberr::SubscriptOutOfRange);
}

GridColumn& GridColumns::Add(std::string key) {
    columns_.push_back(std::make_unique<GridColumn>(static_cast<int16_t>(Count() + 1), std::move(key)));
    return *columns_.back();
}

std::vector<GridColumn*> GridColumns::inDisplayOrder() const {
    std::vector<GridColumn*> ordered;
    for (const auto& column : columns_)
        ordered.push_back(column.get());
    std::stable_sort(ordered.begin(), ordered.end(), [](const GridColumn* a, const GridColumn* b) {
        return a->ColPosition() < b->ColPosition();
    });
    return ordered;
}

} // namespace corvane::controls
