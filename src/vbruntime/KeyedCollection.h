// KeyedCollection: VB's Collection, the ordered keyed list used for every keyed list.
//
// Items keep insertion order; positions count from 1; keys are optional and compare without
// regard to letter case. Failures are VB's: a duplicate key raises 457, a missing key 5, a
// position out of range 9.
//
// A large data file holds a keyed list of texts for each of a million records: a collection
// holds its items, its keys and one pointer. What only some collections need (the index of a
// large one, which items have no key) lives in a block of its own, made when first needed.
// The keys are kept as `Key`: a std::string, or a ShortText where a million collections' keys
// are short (a module's help records).
#pragma once

#include "vbruntime/CaseFold.h"
#include "vbruntime/FoldedSlots.h"
#include "vbruntime/VbError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

template <typename T, typename Key = std::string> class KeyedCollection {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    KeyedCollection() = default;
    KeyedCollection(const KeyedCollection& other)
        : items_(other.items_), keys_(other.keys_),
          extras_(other.extras_ ? std::make_unique<Extras>(*other.extras_) : nullptr) {}
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
        std::vector<bool>& keyless = extras().keyless;
        const size_t index = items_.size();
        try {
            keyless.resize(index + 1, false);
            keyless[index] = true;
            items_.push_back(std::move(item));
            keys_.emplace_back();
        } catch (...) { // out of memory: the collection stays as it was
            if (keys_.size() > index)
                keys_.pop_back();
            if (items_.size() > index)
                items_.pop_back();
            if (keyless.size() > index)
                keyless.resize(index);
            throw;
        }
    }

    // Appends an item under a key; raises 457 when the key is already present.
    void Add(T item, std::string_view key) {
        size_t hash = 0;
        if (find(key, hash) != NotFound)
            throw VbError(vberr::DuplicateKey);
        makeRoom();
        items_.push_back(std::move(item));
        try {
            keys_.emplace_back(key);
            if (indexed())
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

    // Gives back the room made beyond the items, for a collection that is complete (a module's
    // records read from a file): a large file has thousands of them, each up to half empty.
    void shrinkToFit() {
        items_.shrink_to_fit();
        keys_.shrink_to_fit();
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
    const Key& KeyAt(int32_t position) const { return keys_[checkedIndex(position)]; }

    // Gives the item at a position another key and keeps its place; raises 9 when there is no
    // such position, 457 when another item has the key.
    void rekey(int32_t position, std::string_view key) {
        size_t index = checkedIndex(position);
        if (size_t holder = find(key); holder != NotFound && holder != index)
            throw VbError(vberr::DuplicateKey);
        Key newKey(key);
        // An item that had no key takes a slot more, and its position may be past what a narrow
        // index holds: the index is made anew first, so that a failure changes nothing.
        if (indexed() && ((!hasKey(index) && extras_->keyIndex.full()) || !extras_->keyIndex.holds(index)))
            extras_->keyIndex.reserve(keys_.size() * 2, keys_.size());
        keys_[index] = std::move(newKey);
        if (extras_ && index < extras_->keyless.size())
            extras_->keyless[index] = false;
        if (indexed())
            reindex();
    }

    // Removes the item at a position; raises 9 when there is none.
    void Remove(int32_t position) { removeAt(checkedIndex(position)); }

    // Removes every item for which `remove(item, key)` is true, the others keeping their order,
    // and answers how many went. The index is made anew once, however many go, where a Remove
    // for each would make it anew each time. `remove` is asked about every item before any goes:
    // when it throws, the collection is as it was.
    template <class Predicate>
    size_t removeWhere(Predicate remove) {
        std::vector<char> goes(items_.size(), 0);
        for (size_t i = 0; i < items_.size(); ++i)
            goes[i] = remove(std::as_const(items_[i]), std::string_view(keys_[i])) ? 1 : 0;
        size_t kept = 0;
        for (size_t i = 0; i < items_.size(); ++i) {
            if (goes[i])
                continue;
            if (kept != i) {
                items_[kept] = std::move(items_[i]);
                keys_[kept] = std::move(keys_[i]);
                if (extras_ && kept < extras_->keyless.size())
                    extras_->keyless[kept] = i < extras_->keyless.size() && extras_->keyless[i];
            }
            ++kept;
        }
        const size_t removed = items_.size() - kept;
        if (removed == 0)
            return 0;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(kept), items_.end());
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(kept), keys_.end());
        if (extras_ && extras_->keyless.size() > kept)
            extras_->keyless.resize(kept);
        if (indexed())
            reindex();
        return removed;
    }
    // Removes the item stored under a key; raises 5 when there is none.
    void Remove(std::string_view key) { removeAt(indexOf(key)); }

    // Removes every item.
    void Clear() {
        items_.clear();
        keys_.clear();
        extras_.reset();
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

    // Which items have no key (positions past its end have one), and the index of the keys.
    struct Extras {
        std::vector<bool> keyless;
        FoldedSlots keyIndex;
    };

    Extras& extras() {
        if (!extras_)
            extras_ = std::make_unique<Extras>();
        return *extras_;
    }

    // True when keys are found through the index.
    bool indexed() const noexcept { return extras_ && !extras_->keyIndex.empty(); }

    bool hasKey(size_t index) const noexcept {
        return !extras_ || index >= extras_->keyless.size() || !extras_->keyless[index];
    }

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
        if (!indexed()) {
            for (size_t i = 0; i < keys_.size(); ++i)
                if (equalsIgnoreCase(keys_[i], key) && hasKey(i))
                    return i;
            return NotFound;
        }
        hash = foldedHash(key);
        return extras_->keyIndex.find(key, hash, [this](size_t position) -> std::string_view { return keys_[position]; });
    }

    size_t indexOf(std::string_view key) const {
        size_t index = find(key);
        if (index == NotFound)
            throw VbError(vberr::InvalidCall);
        return index;
    }

    // Enters the key at `position`; the index grows to keep at most half its slots taken, and is
    // made wide for a position its narrow slots cannot hold.
    void indexKey(size_t hash, size_t position) {
        if (extras_->keyIndex.full() || !extras_->keyIndex.holds(position))
            buildIndex(); // holds every key, this one too
        else
            extras_->keyIndex.enter(hash, position);
    }

    // Indexes every key in a new, larger index: when the collection grows past the linear
    // limit and when the index fills up.
    void buildIndex() {
        extras().keyIndex.reserve(keys_.size() * 2, keys_.size());
        reindex();
    }

    void removeAt(size_t index) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index));
        if (extras_ && index < extras_->keyless.size())
            extras_->keyless.erase(extras_->keyless.begin() + static_cast<std::ptrdiff_t>(index));
        if (indexed())
            reindex();
    }

    // Indexes the keys anew in the slots there are, which hold them all after a removal: no
    // allocation, so a removal cannot fail halfway.
    void reindex() noexcept {
        FoldedSlots& table = extras_->keyIndex;
        table.clear();
        for (size_t i = 0; i < keys_.size(); ++i)
            if (hasKey(i))
                table.enter(foldedHash(keys_[i]), i);
    }

    std::vector<T> items_;
    std::vector<Key> keys_; // at the same index as the item ("" for an item without key)
    // Made when an item without key comes or the collection grows past the linear limit.
    std::unique_ptr<Extras> extras_;
};

// A list of names, each stored under itself as key (SelectedLanguages, Languages, FormNames).
using NameList = KeyedCollection<std::string>;

} // namespace corvane
