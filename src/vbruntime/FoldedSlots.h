// FoldedSlots: the table of an open-addressing index of names compared without regard to
// letter case, shared by KeyedCollection and FoldedNameIndex.
//
// Each slot holds bits of a name's folded hash and a number its owner gives (a position in
// the owner's own list); the owner keeps the names and tells a look-up the name of a number.
// Linear probing in a power of two slots; the owner keeps at most half of them taken (full()).
// A data file's million records sit in tables of a few dozen names each, so a table whose
// numbers stay below 65,535 keeps a slot in 4 bytes: 16 bits of the hash (above the bits that
// chose the slot) and the number. A table made for larger numbers keeps 32 bits of each; the
// owners' lists hold fewer than 2^31 items (VB's positions are Longs).
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
    bool full() const noexcept { return (count_ + 1) * 2 > capacity(); }
    // True when the table, as it was made, can hold `number` (see reserve).
    bool holds(size_t number) const noexcept { return wide_ || number < NarrowLimit; }

    // Makes the table empty, with room for `names` names (at least 16 slots) numbered up to
    // `largestNumber`. Raises std::bad_alloc and leaves the table as it was when there is no
    // memory for it.
    void reserve(size_t names, size_t largestNumber) {
        const size_t slotCount = std::bit_ceil(std::max<size_t>(16, names * 2));
        const bool wide = largestNumber >= NarrowLimit;
        slots_.assign(wide ? slotCount * 2 : slotCount, 0);
        wide_ = wide;
        count_ = 0;
    }
    // Empties the slots there are.
    void clear() noexcept {
        std::fill(slots_.begin(), slots_.end(), 0);
        count_ = 0;
    }
    // Enters `number` under `hash`; there must be room (see full()) and the table must hold the
    // number (see holds()).
    void enter(size_t hash, size_t number) noexcept {
        size_t s = hash & mask();
        while (numberAt(s) != 0)
            s = (s + 1) & mask();
        if (wide_) {
            slots_[2 * s] = static_cast<uint32_t>(hash);
            slots_[2 * s + 1] = static_cast<uint32_t>(number + 1);
        } else {
            slots_[s] = narrowHash(hash) << 16 | static_cast<uint32_t>(number + 1);
        }
        ++count_;
    }
    // The number entered for `name` (letter case ignored), whose folded hash is `hash`, or
    // None; `nameOf(number)` gives the owner's name of a number whose hash agrees.
    template <typename NameOf>
    size_t find(std::string_view name, size_t hash, NameOf&& nameOf) const {
        const uint32_t bits = wide_ ? static_cast<uint32_t>(hash) : narrowHash(hash);
        for (size_t s = hash & mask();; s = (s + 1) & mask()) {
            const size_t number = numberAt(s);
            if (number == 0)
                return None;
            if (hashAt(s) == bits && equalsIgnoreCase(nameOf(number - 1), name))
                return number - 1;
        }
    }

private:
    // Numbers below this fit a 4-byte slot, with 0 for a free slot.
    static constexpr size_t NarrowLimit = 0xFFFF;

    // The 16 bits of a hash a 4-byte slot keeps: not those that chose the slot in a table of
    // up to 65,536 slots.
    static uint32_t narrowHash(size_t hash) noexcept { return static_cast<uint32_t>(hash >> 16) & 0xFFFF; }
    size_t capacity() const noexcept { return wide_ ? slots_.size() / 2 : slots_.size(); }
    size_t mask() const noexcept { return capacity() - 1; }
    // The slot's number counted from 1 (0: a free slot) and its bits of the hash.
    size_t numberAt(size_t s) const noexcept { return wide_ ? slots_[2 * s + 1] : slots_[s] & 0xFFFF; }
    uint32_t hashAt(size_t s) const noexcept { return wide_ ? slots_[2 * s] : slots_[s] >> 16; }

    std::vector<uint32_t> slots_; // one per slot, or two (hash, number) in a wide table
    size_t count_ = 0;            // slots taken
    bool wide_ = false;
};

} // namespace corvane
