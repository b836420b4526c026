// ListEntries: the lines of a list box or combo box, with their item data and selection.
//
// Indexes count from 0. The checks raise VB's errors: 5 for AddItem/RemoveItem at a position
// that does not exist, 381 for a list property read or written at a missing index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

class ListEntries {
public:
    // Number of lines.
    int32_t count() const noexcept { return static_cast<int32_t>(entries_.size()); }

    // Inserts a line at `index` (-1: at the end); returns the index it got.
    int32_t add(std::string text, int32_t index);
    // Removes the line at `index`.
    void remove(int32_t index);
    // As add, keeping `current` (a line index or -1) on the line it named.
    int32_t add(std::string text, int32_t index, int32_t& current);
    // As remove, keeping `current` on the line it named (-1 when that line goes).
    void remove(int32_t index, int32_t& current);
    // Removes every line.
    void clear() noexcept { entries_.clear(); }

    // The text of a line; "" for -1 and for indexes at or beyond the end, as VB's List does.
    const std::string& text(int32_t index) const;
    void setText(int32_t index, std::string text);

    // The number kept with a line.
    int32_t itemData(int32_t index) const;
    void setItemData(int32_t index, int32_t data);

    // Whether a line is selected.
    bool selected(int32_t index) const;
    void setSelected(int32_t index, bool selected);
    // Number of selected lines.
    int32_t selectedCount() const;

    // The first line whose text equals `text` exactly, or -1.
    int32_t find(std::string_view text) const;

private:
    struct Entry {
        std::string text;
        int32_t itemData = 0;
        bool selected = false;
    };
    const Entry& at(int32_t index, std::string_view property) const;
    Entry& at(int32_t index, std::string_view property);

    std::vector<Entry> entries_;
};

} // namespace corvane::controls
