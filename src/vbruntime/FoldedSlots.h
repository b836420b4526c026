// FoldedSlots: the table of an open-addressing index of names compared without regard to
// letter case, shared by KeyedCollection and FoldedNameIndex.
//
// Each slot holds a name's folded hash and a number its owner gives (a position in the
// owner's own list); the owner keeps the names and tells a look-up the name of a number.
// Linear probing in a power of two slots; the owner keeps at most half of them taken (full()).
// A slot keeps the low 32 bits of each: a data file's million records take two to four slots
// each, and the owners' lists hold fewer than 2^31 items (VB's positions are Longs).
#pragma once

#include "vbruntime/CaseFold.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

class FoldedSlots {
public:
    // What find answers for a name the table does not hold.
    static constexpr size_t None = static_cast<size_t>(-1);

    // True while the table has no slots at all.
    bool empty() const noexcept { return slots_.empty(); }
    // True when one more name would take more than half of the slots.
    bool full() const noexcept { return (count_ + 1) * 2 > slots_.size(); }

    // Makes the table empty, with room for `names` names (at least 16 slots). Raises
    // std::bad_alloc and leaves the table as it was when there is no memory for it.
    void reserve(size_t names) {
        slots_.assign(std::bit_ceil(std::max<size_t>(16, names * 2)), Slot{});
        count_ = 0;
    }
    // Empties the slots there are.
    void clear() noexcept {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        count_ = 0;
    }
    // Enters `number` under `hash`; there must be room (see full()).
    void enter(size_t hash, size_t number) noexcept {
        size_t s = hash & mask();
        while (slots_[s].number != 0)
            s = (s + 1) & mask();
        slots_[s] = {static_cast<uint32_t>(hash), static_cast<uint32_t>(number + 1)};
        ++count_;
    }
    // The number entered for `name` (letter case ignored), whose folded hash is `hash`, or
    // None; `nameOf(number)` gives the owner's name of a number whose hash agrees.
    template <typename NameOf>
    size_t find(std::string_view name, size_t hash, NameOf&& nameOf) const {
        for (size_t s = hash & mask();; s = (s + 1) & mask()) {
            const Slot& slot = slots_[s];
            if (slot.number == 0)
                return None;
            if (slot.hash == static_cast<uint32_t>(hash) && equalsIgnoreCase(nameOf(slot.number - 1), name))
                return slot.number - 1;
        }
    }

private:
    // A name's hash and its number counted from 1 (0: a free slot).
    struct Slot {
        uint32_t hash = 0;
        uint32_t number = 0;
    };

    size_t mask() const noexcept { return slots_.size() - 1; }

    std::vector<Slot> slots_;
    size_t count_ = 0; // slots taken
};

} // namespace corvane
