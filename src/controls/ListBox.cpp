#include "controls/ListBox.h"

#include "controls/ControlErrors.h"
#include "vbruntime/VbConvert.h"

namespace corvane::controls {

ListBox::ListBox(std::string name) : Control("ListBox", std::move(name), Windowed) {}

void ListBox::AddItem(std::string item, int32_t index) {
    newIndex_ = entries_.add(std::move(item), index, listIndex_);
    changed("List");
}

void ListBox::RemoveItem(int32_t index) {
    entries_.remove(index, listIndex_);
    newIndex_ = -1;
    changed("List");
}

void ListBox::Clear() {
    entries_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
    changed("List");
}

void ListBox::SetList(int32_t index, std::string text) {
    entries_.setText(index, std::move(text));
    changed("List");
}

void ListBox::SetListIndex(int32_t index) {
    if (index < -1 || index >= ListCount())
        throw invalidValue("ListIndex");
    if (index == listIndex_)
        return;
    listIndex_ = index;
    changed("ListIndex");
    Click();
}

void ListBox::SetMultiSelect(int16_t mode) {
    if (mode < 0 || mode > 2)
        throw invalidValue("MultiSelect");
    multiSelect_ = mode;
    changed("MultiSelect");
}

bool ListBox::Selected(int32_t index) const {
    const bool selected = entries_.selected(index); // checks the index
    return multiSelect_ == 0 ? index == listIndex_ : selected;
}

void ListBox::SetSelected(int32_t index, bool selected) {
    if (multiSelect_ == 0) {
        (void)entries_.selected(index); // checks the index
        if (selected)
            SetListIndex(index);
        else if (index == listIndex_)
            SetListIndex(-1);
        return;
    }
    if (entries_.selected(index) == selected)
        return;
    entries_.setSelected(index, selected);
    changed("Selected");
    Click();
}

int32_t ListBox::SelCount() const {
    if (multiSelect_ == 0)
        return listIndex_ >= 0 ? 1 : 0;
    return entries_.selectedCount();
}

void ListBox::SetItemData(int32_t index, int32_t data) { entries_.setItemData(index, data); }

std::optional<Variant> ListBox::readProperty(std::string_view name) const {
    if (is(name, "ListIndex"))
        return Variant(listIndex_);
    if (is(name, "ListCount"))
        return Variant(ListCount());
    if (is(name, "Text"))
        return Variant(Text());
    if (is(name, "MultiSelect"))
        return Variant(multiSelect_);
    if (is(name, "SelCount"))
        return Variant(SelCount());
    if (is(name, "NewIndex"))
        return Variant(newIndex_);
    return Control::readProperty(name);
}

bool ListBox::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "ListIndex"))
        SetListIndex(value.toLong());
    else if (is(name, "MultiSelect"))
        SetMultiSelect(CInt(value.toDouble()));
    else if (is(name, "ListCount") || is(name, "Text") || is(name, "SelCount") ||
             is(name, "NewIndex"))
        throw readOnly(name);
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
