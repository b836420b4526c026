// ListBox: a list of text lines, one current line, optionally several selected (VB's ListBox).
//
// Indexes count from 0; ListIndex -1 means no current line. In a single-selection list the
// selected line is the current line. In a multi-selection list (MultiSelect 1 or 2) the
// current line and the selected lines are independent: setting ListIndex -1 keeps the
// selection.
#pragma once

#include "controls/Control.h"
#include "controls/ListEntries.h"

namespace corvane::controls {

class ListBox : public Control {
public:
    explicit ListBox(std::string name = "List1");

    // Adds a line at `index` (-1: at the end); raises 5 for a missing position. The current
    // line stays on the same entry.
    void AddItem(std::string item, int32_t index = -1);
    // Removes a line; raises 5 for a missing index. Removing the current line leaves no line
    // current (without Click).
    void RemoveItem(int32_t index);
    // Removes every line; no line is current afterwards (without Click).
    void Clear();

    // The text of a line ("" for -1 and past the end); setting a missing index raises 381.
    const std::string& List(int32_t index) const { return entries_.text(index); }
    void SetList(int32_t index, std::string text);
    // Number of lines.
    int32_t ListCount() const noexcept { return entries_.count(); }
    // The index of the last line added.
    int32_t NewIndex() const noexcept { return newIndex_; }

    // The current line (-1: none). Setting another index raises Click (also from code);
    // setting the index it has raises nothing; indexes outside -1..ListCount-1 raise 380.
    int32_t ListIndex() const noexcept { return listIndex_; }
    void SetListIndex(int32_t index);
    // The text of the current line ("" when none).
    const std::string& Text() const { return entries_.text(listIndex_); }

    // 0 one selected line, 1 simple and 2 extended multiple selection; else 380.
    int16_t MultiSelect() const noexcept { return multiSelect_; }
    void SetMultiSelect(int16_t mode);
    // Whether a line is selected. Changing a line's selection raises Click; in a
    // single-selection list selecting a line makes it the current line.
    bool Selected(int32_t index) const;
    void SetSelected(int32_t index, bool selected);
    // Number of selected lines.
    int32_t SelCount() const;

    // A number kept with each line.
    int32_t ItemData(int32_t index) const { return entries_.itemData(index); }
    void SetItemData(int32_t index, int32_t data);

    // Raised when the current line or a line's selection changed.
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    ListEntries entries_;
    int32_t listIndex_ = -1;
    int32_t newIndex_ = -1;
    int16_t multiSelect_ = 0;
};

} // namespace corvane::controls
