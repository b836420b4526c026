// HelpTextList: the help texts of one control, one per language, in the order they were added:
// those of a help record, and the copy of them that export, import and coverage work on.
//
// A large data file holds a million records of two or three texts each. Kept as a keyed list of
// strings, every record paid for two vectors, a key string per text and a block per text: about
// 400 bytes beyond the letters. Here a record's texts live in one block: a small header, the
// texts' languages, their lengths, and the texts' bytes one after the other, 12 bytes per text
// beyond its letters. The languages point at the names of the program's NamePool.
//
// Positions count from 1 and languages compare without regard to letter case, as in the keyed
// lists of the rest of the program; failures are VB's: an added language already present raises
// 457, a missing language 5, a position out of range 9. The texts a list hands out stay valid
// until the list is changed.
#pragma once

#include "vbruntime/Variant.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

class HelpTextList {
public:
    // The most texts a list holds: room for more raises 6.
    static constexpr size_t MaxCount = 65535;

    HelpTextList() = default;
    // The texts of (language, text) pairs, in order; raises 457 for a language given twice.
    HelpTextList(std::initializer_list<std::pair<std::string_view, std::string_view>> texts);
    HelpTextList(const HelpTextList& other);
    // A failed copy leaves the list as it was.
    HelpTextList& operator=(const HelpTextList& other);
    HelpTextList(HelpTextList&&) noexcept = default;
    HelpTextList& operator=(HelpTextList&&) noexcept = default;
    ~HelpTextList() = default;

    // Number of texts.
    int32_t Count() const noexcept;
    // True when the list holds no text.
    bool empty() const noexcept { return Count() == 0; }

    // The text at `position` (from 1); raises 9 when there is none.
    std::string_view Item(int32_t position) const;
    // The text in `language` (letter case ignored); raises 5 when there is none.
    std::string_view Item(std::string_view language) const;
    // The language of the text at `position` (from 1), spelt as it was added; raises 9.
    const std::string& KeyAt(int32_t position) const;
    // True when the list holds a text in `language` (letter case ignored).
    bool Contains(std::string_view language) const { return PositionOf(language) != 0; }
    // The position (from 1) of the text in `language` (letter case ignored), 0 when there is none.
    int32_t PositionOf(std::string_view language) const;

    // Appends `text` in `language`; raises 457 when the list holds a text in it already.
    void Add(std::string_view text, std::string_view language);
    // Removes the text at `position` (from 1); raises 9 when there is none.
    void Remove(int32_t position);
    // Removes the text in `language` (letter case ignored); raises 5 when there is none.
    void Remove(std::string_view language);
    // Removes every text.
    void Clear() noexcept { block_.reset(); }
    // Makes room for `texts` texts of `bytes` bytes in all, so that adding them allocates once.
    void reserve(size_t texts, size_t bytes);

    // Walks the texts in order.
    class TextIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        // An iterator that stands nowhere.
        TextIterator() = default;
        // The text the iterator stands at.
        std::string_view operator*() const { return list_->Item(position_); }
        // Steps to the next text.
        TextIterator& operator++() {
            ++position_;
            return *this;
        }
        // Steps to the next text, giving the iterator as it stood.
        TextIterator operator++(int) {
            TextIterator before = *this;
            ++position_;
            return before;
        }
        // True when both stand at the same position (of the same list).
        bool operator==(const TextIterator& other) const { return position_ == other.position_; }

    private:
        friend class HelpTextList;
        TextIterator(const HelpTextList* list, int32_t position) : list_(list), position_(position) {}
        const HelpTextList* list_ = nullptr;
        int32_t position_ = 1;
    };
    // The name standard algorithms look for.
    using const_iterator = TextIterator;
    // The first text.
    const_iterator begin() const { return {this, 1}; }
    // Beyond the last text.
    const_iterator end() const { return {this, Count() + 1}; }

    // Where the list's bytes begin, for a reader that fetches ahead (null when it holds none).
    const void* storage() const noexcept { return block_.get(); }

private:
    struct Header;
    // The header, the table of entries and the texts' bytes, in one allocation.
    struct BlockDeleter {
        void operator()(Header* header) const noexcept;
    };
    using Block = std::unique_ptr<Header, BlockDeleter>;

    static Block allocate(size_t entries, size_t bytes);
    // The block's parts: the languages, the lengths and the bytes of its texts.
    const std::string** languages() const noexcept;
    uint32_t* lengths() const noexcept;
    char* bytes() const noexcept;
    // Where the text at `index` (from 0) begins in the bytes; at Count(), the bytes in use.
    size_t offsetOf(size_t index) const noexcept;
    size_t checkedIndex(int32_t position) const;
    size_t indexOf(std::string_view language) const;
    // Copies the texts into a block with room for `entries` texts and `bytes` bytes.
    Block copied(size_t entries, size_t bytes) const;

    Block block_;
};

// The texts as an error report renders them: a Collection of the texts, in order.
Variant toVariant(const HelpTextList& texts);

} // namespace corvane
