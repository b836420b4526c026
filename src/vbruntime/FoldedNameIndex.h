// FoldedNameIndex: finds items by name without regard to letter case, among names fixed when
// the index is built (the properties of a control type, looked up for every property line of
// every form read).
//
// The items' positions sit in an open-addressing table of their names' hashes (FoldedSlots):
// a look-up hashes the name once and compares names only where the hashes agree. The items
// are not owned; they must outlive the index and keep their names.
#pragma once

#include "vbruntime/CaseFold.h"
#include "vbruntime/FoldedSlots.h"

#include <string_view>
#include <vector>

namespace corvane {

template <typename T>
class FoldedNameIndex {
public:
    // Adds an item under its `name`; an item of an equal name (letter case ignored) already
    // there keeps its place.
    void add(const T* item) {
        if (find(item->name))
            return;
        items_.push_back(item);
        if (slots_.full() || !slots_.holds(items_.size() - 1)) {
            slots_.reserve(items_.size() * 2, items_.size()); // room to grow: every item is entered again
            for (size_t i = 0; i < items_.size(); ++i)
                slots_.enter(foldedHash(items_[i]->name), i);
        } else {
            slots_.enter(foldedHash(item->name), items_.size() - 1);
        }
    }
    // The item of that name (letter case ignored), or null.
    const T* find(std::string_view name) const {
        if (slots_.empty())
            return nullptr;
        size_t found = slots_.find(name, foldedHash(name),
                                   [this](size_t i) -> std::string_view { return items_[i]->name; });
        return found == FoldedSlots::None ? nullptr : items_[found];
    }

private:
    std::vector<const T*> items_; // in the order added
    FoldedSlots slots_;
};

} // namespace corvane
