// KeyedCollection: VB's Collection, the ordered keyed list used for every keyed list.
//
// Items keep insertion order; positions count from 1; keys are optional and compare without
// regard to letter case. Failures are VB's: a duplicate key raises 457, a missing key 5, a
// position out of range 9.
#pragma once

#include "support/CaseFold.h"
#include "support/VbError.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

template <typename T>
class KeyedCollection {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    // Number of items.
    int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }
    // True when the collection holds no item.
    bool empty() const noexcept { return items_.empty(); }

    // Appends an item without a key.
    void Add(T item) {
        items_.push_back(std::move(item));
        keys_.emplace_back();
    }

    // Appends an item under a key; raises 457 when the key is already present.
    void Add(T item, std::string_view key) {
        std::string folded = foldCase(key);
        if (index_.count(folded) != 0)
            throw VbError(vberr::DuplicateKey);
        index_.emplace(std::move(folded), items_.size());
        items_.push_back(std::move(item));
        keys_.emplace_back(key);
    }

    // The item at a position counted from 1; raises 9 when there is none.
    T& Item(int32_t position) { return items_[checkedIndex(position)]; }
    const T& Item(int32_t position) const { return items_[checkedIndex(position)]; }

    // The item stored under a key; raises 5 when there is none.
    T& Item(std::string_view key) { return items_[indexOf(key)]; }
    const T& Item(std::string_view key) const { return items_[indexOf(key)]; }

    // True when an item is stored under the key (letter case ignored).
    bool Contains(std::string_view key) const { return index_.count(foldCase(key)) != 0; }

    // The position (from 1) of the item stored under the key, or 0 when there is none.
    int32_t PositionOf(std::string_view key) const {
        auto it = index_.find(foldCase(key));
        return it == index_.end() ? 0 : static_cast<int32_t>(it->second + 1);
    }

    // The key of the item at a position, as it was given ("" for an item without key).
    const std::string& KeyAt(int32_t position) const { return keys_[checkedIndex(position)]; }

    // Removes the item at a position; raises 9 when there is none.
    void Remove(int32_t position) { removeAt(checkedIndex(position)); }
    // Removes the item stored under a key; raises 5 when there is none.
    void Remove(std::string_view key) { removeAt(indexOf(key)); }

    // Removes every item.
    void Clear() {
        items_.clear();
        keys_.clear();
        index_.clear();
    }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    size_t checkedIndex(int32_t position) const {
        if (position < 1 || position > Count())
            throw VbError(vberr::SubscriptOutOfRange);
        return static_cast<size_t>(position - 1);
    }

    size_t indexOf(std::string_view key) const {
        auto it = index_.find(foldCase(key));
        if (it == index_.end())
            throw VbError(vberr::InvalidCall);
        return it->second;
    }

    void removeAt(size_t index) {
        auto it = index_.find(foldCase(keys_[index]));
        if (it != index_.end() && it->second == index)
            index_.erase(it);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
        for (auto& entry : index_)
            if (entry.second > index)
                --entry.second;
    }

    std::vector<T> items_;
    std::vector<std::string> keys_;                   // as given; "" for an item without key
    std::unordered_map<std::string, size_t> index_;   // folded key -> index into items_
};

// A list of names, each stored under itself as key (SelectedLanguages, Languages, FormNames).
using NameList = KeyedCollection<std::string>;

} // namespace corvane
