#include "controls/ListEntries.h"

#include "controls/ControlErrors.h"

#include <algorithm>
#include <utility>

namespace corvane::controls {

int32_t ListEntries::add(std::string text, int32_t index) {
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        throw VbError(vberr::InvalidCall, {}, "AddItem");
    entries_.insert(entries_.begin() + index, Entry{std::move(text)});
    return index;
}

void ListEntries::remove(int32_t index) {
    if (index < 0 || index >= count())
        throw VbError(vberr::InvalidCall, {}, "RemoveItem");
    entries_.erase(entries_.begin() + index);
}

int32_t ListEntries::add(std::string text, int32_t index, int32_t& current) {
    int32_t added = add(std::move(text), index);
    if (current >= added)
        ++current;
    return added;
}

void ListEntries::remove(int32_t index, int32_t& current) {
    remove(index);
    if (current == index)
        current = -1;
    else if (current > index)
        --current;
}

const std::string& ListEntries::text(int32_t index) const {
    static const std::string none;
    if (index == -1 || index >= count())
        return none;
    return at(index, "List").text;
}

void ListEntries::setText(int32_t index, std::string text) { at(index, "List").text = std::move(text); }

int32_t ListEntries::itemData(int32_t index) const { return at(index, "ItemData").itemData; }

void ListEntries::setItemData(int32_t index, int32_t data) { at(index, "ItemData").itemData = data; }

bool ListEntries::selected(int32_t index) const { return at(index, "Selected").selected; }

void ListEntries::setSelected(int32_t index, bool selected) {
    at(index, "Selected").selected = selected;
}

int32_t ListEntries::selectedCount() const {
    return static_cast<int32_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

int32_t ListEntries::find(std::string_view text) const {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [text](const Entry& e) { return e.text == text; });
    return it == entries_.end() ? -1 : static_cast<int32_t>(it - entries_.begin());
}

const ListEntries::Entry& ListEntries::at(int32_t index, std::string_view property) const {
    if (index < 0 || index >= count())
        throw invalidIndex(property, index);
    return entries_[static_cast<size_t>(index)];
}

ListEntries::Entry& ListEntries::at(int32_t index, std::string_view property) {
    return const_cast<Entry&>(std::as_const(*this).at(index, property));
}

} // namespace corvane::controls
