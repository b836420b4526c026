// KeyedCollection: VB's Collection, the ordered keyed list used for every keyed list.
//
// Items keep insertion order; positions count from 1; keys are optional and compare without
// regard to letter case. Failures are VB's: a duplicate key raises 457, a missing key 5, a
// position out of range 9.
#pragma once

#include "support/CaseFold.h"
#include "support/FoldedSlots.h"
#include "support/VbError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

template <typename T> class KeyedCollection {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    KeyedCollection() = default;
    KeyedCollection(const KeyedCollection&) = default;
    // A failed copy leaves the collection as it was.
    KeyedCollection& operator=(const KeyedCollection& other) {
        if (this != &other)
            *this = KeyedCollection(other);
        return *this;
    }
    KeyedCollection(KeyedCollection&&) noexcept = default;
    KeyedCollection& operator=(KeyedCollection&&) noexcept = default;
    ~KeyedCollection() = default;

    // Number of items.
    int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
    // True when the collection holds no item.
    bool empty() const noexcept { return items_.empty(); }

    // Appends an item without a key.
    void Add(T item) {
        makeRoom();
        items_.push_back(std::move(item));
        keys_.emplace_back();
    }

    // Appends an item under a key; raises 457 when the key is already present.
    void Add(T item, std::string_view key) {
        size_t hash = 0;
        if (find(key, hash) != NotFound)
            throw VbError(vberr::DuplicateKey);
        makeRoom();
        items_.push_back(std::move(item));
        try {
            keys_.push_back({std::string(key), true});
            if (!slots_.empty())
                indexKey(hash, items_.size() - 1);
            else if (items_.size() > LinearLimit)
                buildIndex();
        } catch (...) { // out of memory: the collection stays as it was
            if (keys_.size() == items_.size())
                keys_.pop_back();
            items_.pop_back();
            throw;
        }
    }

    // Makes room for `count` items in all, so that a collection whose size is known grows once.
    void reserve(size_t count) {
        items_.reserve(count);
        keys_.reserve(count);
    }

    // The item at a position counted from 1; raises 9 when there is none.
    T& Item(int32_t position) { return items_[checkedIndex(position)]; }
    const T& Item(int32_t position) const { return items_[checkedIndex(position)]; }

    // The item stored under a key; raises 5 when there is none.
    T& Item(std::string_view key) { return items_[indexOf(key)]; }
    const T& Item(std::string_view key) const { return items_[indexOf(key)]; }

    // True when an item is stored under the key (letter case ignored).
    bool Contains(std::string_view key) const { return find(key) != NotFound; }

    // The position (from 1) of the item stored under the key, or 0 when there is none.
    int32_t PositionOf(std::string_view key) const {
        size_t index = find(key);
        return index == NotFound ? 0 : static_cast<int32_t>(index + 1);
    }

    // The key of the item at a position, as it was given ("" for an item without key).
    const std::string& KeyAt(int32_t position) const { return keys_[checkedIndex(position)].text; }

    // Gives the item at a position another key and keeps its place; raises 9 when there is no
    // such position, 457 when another item has the key.
    void rekey(int32_t position, std::string_view key) {
        size_t index = checkedIndex(position);
        if (size_t holder = find(key); holder != NotFound && holder != index)
            throw VbError(vberr::DuplicateKey);
        keys_[index] = Key{std::string(key), true};
        if (!slots_.empty())
            reindex();
    }

    // Removes the item at a position; raises 9 when there is none.
    void Remove(int32_t position) { removeAt(checkedIndex(position)); }
    // Removes the item stored under a key; raises 5 when there is none.
    void Remove(std::string_view key) { removeAt(indexOf(key)); }

    // Removes every item.
    void Clear() {
        items_.clear();
        keys_.clear();
        slots_ = FoldedSlots();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    static constexpr size_t NotFound = FoldedSlots::None; // also what the index answers
    // Up to this many items, keys are found by comparing them in turn: most collections are
    // small (a record's texts in a few languages), and a hash index would cost more than it saves.
    static constexpr size_t LinearLimit = 16;
    // Room made at the first item: small collections then grow without moving.
    static constexpr size_t FirstCapacity = 4;

    // A key as given ("" for an item without key) and whether the item has one.
    struct Key {
        std::string text;
        bool present = false;
    };

    void makeRoom() {
        if (items_.capacity() == 0) {
            items_.reserve(FirstCapacity);
            keys_.reserve(FirstCapacity);
        }
    }

    size_t checkedIndex(int32_t position) const {
        if (position < 1 || position > Count())
            throw VbError(vberr::SubscriptOutOfRange);
        return static_cast<size_t>(position - 1);
    }

    size_t find(std::string_view key) const {
        size_t hash = 0;
        return find(key, hash);
    }

    // Also gives the key's hash when the collection is indexed (for adding the key).
    size_t find(std::string_view key, size_t& hash) const {
        if (slots_.empty()) {
            for (size_t i = 0; i < keys_.size(); ++i)
                if (keys_[i].present && equalsIgnoreCase(keys_[i].text, key))
                    return i;
            return NotFound;
        }
        hash = foldedHash(key);
        return slots_.find(key, hash, [this](size_t position) -> std::string_view { return keys_[position].text; });
    }

    size_t indexOf(std::string_view key) const {
        size_t index = find(key);
        if (index == NotFound)
            throw VbError(vberr::InvalidCall);
        return index;
    }

    // Enters the key at `position`; the index grows to keep at most half its slots taken.
    void indexKey(size_t hash, size_t position) {
        if (slots_.full())
            buildIndex(); // holds every key, this one too
        else
            slots_.enter(hash, position);
    }

    // Indexes every key in a new, larger index: when the collection grows past the linear
    // limit and when the index fills up.
    void buildIndex() {
        slots_.reserve(keys_.size() * 2);
        reindex();
    }

    void removeAt(size_t index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
        if (!slots_.empty())
            reindex();
    }

    // Indexes the keys anew in the slots there are, which hold them all after a removal: no
    // allocation, so a removal cannot fail halfway.
    void reindex() noexcept {
        slots_.clear();
        for (size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i].present)
                slots_.enter(foldedHash(keys_[i].text), i);
    }

    std::vector<T> items_;
    std::vector<Key> keys_; // at the same index as the item
    // The keys' positions by hash (letter case ignored); no slots while the collection is small.
    FoldedSlots slots_;
};

// A list of names, each stored under itself as key (SelectedLanguages, Languages, FormNames).
using NameList = KeyedCollection<std::string>;

} // namespace corvane
