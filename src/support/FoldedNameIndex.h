// FoldedNameIndex: finds items by name without regard to letter case, among names fixed when
// the index is built (the properties of a control type, looked up for every property line of
// every form read).
//
// Open addressing in a table of a power of two slots, each keeping its name's hash: a look-up
// hashes the name once and compares names only where the hashes agree. The items are not
// owned; they must outlive the index and keep their names.
#pragma once

#include "support/CaseFold.h"

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

template <typename T>
class FoldedNameIndex {
public:
    // Adds an item under its `name`; an item of an equal name (letter case ignored) already
    // there keeps its place.
    void add(const T* item) {
        if ((count_ + 1) * 2 > slots_.size())
            grow();
        insert(item, foldedHash(item->name));
    }
    // The item of that name (letter case ignored), or null.
    const T* find(std::string_view name) const {
        if (slots_.empty())
            return nullptr;
        size_t hash = foldedHash(name);
        for (size_t i = hash & mask();; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (!slot.item)
                return nullptr;
            if (slot.hash == hash && equalsIgnoreCase(slot.item->name, name))
                return slot.item;
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        const T* item = nullptr;
    };

    size_t mask() const { return slots_.size() - 1; }

    void insert(const T* item, size_t hash) {
        for (size_t i = hash & mask();; i = (i + 1) & mask()) {
            Slot& slot = slots_[i];
            if (!slot.item) {
                slot = {hash, item};
                ++count_;
                return;
            }
            if (slot.hash == hash && equalsIgnoreCase(slot.item->name, item->name))
                return;
        }
    }

    // Doubles the table (at least 16 slots), so that at most half the slots are taken.
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::bit_ceil(std::max<size_t>(16, old.size() * 2)), Slot{});
        count_ = 0;
        for (const Slot& slot : old)
            if (slot.item)
                insert(slot.item, slot.hash);
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};

} // namespace corvane
