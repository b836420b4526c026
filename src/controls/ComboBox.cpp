#include "controls/ComboBox.h"

#include "controls/ControlErrors.h"
#include "vbruntime/VbConvert.h"

namespace corvane::controls {

ComboBox::ComboBox(std::string name) : Control("ComboBox", std::move(name), Windowed) {}

void ComboBox::SetStyle(int16_t style) {
    if (style < vbComboDropdown || style > vbComboDropdownList)
        throw invalidValue("Style");
    style_ = style;
    changed("Style");
}

void ComboBox::AddItem(std::string item, int32_t index) {
    newIndex_ = entries_.add(std::move(item), index, listIndex_);
    changed("List");
}

void ComboBox::RemoveItem(int32_t index) {
    entries_.remove(index, listIndex_);
    newIndex_ = -1;
    changed("List");
}

void ComboBox::Clear() {
    entries_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
    text_.clear();
    changed("List");
}

void ComboBox::SetList(int32_t index, std::string text) {
    entries_.setText(index, std::move(text));
    changed("List");
}

void ComboBox::SetItemData(int32_t index, int32_t data) { entries_.setItemData(index, data); }

void ComboBox::SetListIndex(int32_t index) {
    if (index < -1 || index >= ListCount())
        throw invalidValue("ListIndex");
    if (index == listIndex_)
        return;
    listIndex_ = index;
    if (index >= 0)
        text_ = entries_.text(index);
    changed("ListIndex");
    Click();
}

std::string ComboBox::Text() const {
    return style_ == vbComboDropdownList ? entries_.text(listIndex_) : text_;
}

void ComboBox::SetText(std::string text) {
    const int32_t line = entries_.find(text);
    if (style_ == vbComboDropdownList) {
        if (line < 0)
            throw readOnly("Text");
        SetListIndex(line);
        return;
    }
    if (text == text_)
        return;
    text_ = std::move(text);
    listIndex_ = line;
    changed("Text");
    Change();
}

std::optional<Variant> ComboBox::readProperty(std::string_view name) const {
    if (is(name, "Style"))
        return Variant(style_);
    if (is(name, "ListIndex"))
        return Variant(listIndex_);
    if (is(name, "ListCount"))
        return Variant(ListCount());
    if (is(name, "NewIndex"))
        return Variant(newIndex_);
    if (is(name, "Text"))
        return Variant(Text());
    return Control::readProperty(name);
}

bool ComboBox::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Style"))
        SetStyle(CInt(value.toDouble()));
    else if (is(name, "ListIndex"))
        SetListIndex(value.toLong());
    else if (is(name, "Text"))
        SetText(value.toText());
    else if (is(name, "ListCount") || is(name, "NewIndex"))
        throw readOnly(name);
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
