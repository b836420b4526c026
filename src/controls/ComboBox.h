// ComboBox: a drop-down list, optionally with an edit field (VB's ComboBox).
//
// Style 2 (drop-down list) shows only lines of the list: its Text is the current line's text.
// Styles 0 and 1 have an edit field whose text may be anything.
#pragma once

#include "controls/Control.h"
#include "controls/ListEntries.h"

namespace corvane::controls {

// The styles of a combo box.
constexpr int16_t vbComboDropdown = 0;
constexpr int16_t vbComboSimple = 1;
constexpr int16_t vbComboDropdownList = 2;

class ComboBox : public Control {
public:
    explicit ComboBox(std::string name = "Combo1");

    // 0 drop-down combo, 1 simple combo, 2 drop-down list; other values raise 380.
    int16_t Style() const noexcept { return style_; }
    void SetStyle(int16_t style);

    // Adds a line at `index` (-1: at the end); raises 5 for a missing position.
    void AddItem(std::string item, int32_t index = -1);
    // Removes a line; raises 5 for a missing index. Removing the current line leaves none.
    void RemoveItem(int32_t index);
    // Removes every line; no line is current afterwards and the text is empty.
    void Clear();

    // The text of a line ("" for -1 and past the end); setting a missing index raises 381.
    const std::string& List(int32_t index) const { return entries_.text(index); }
    void SetList(int32_t index, std::string text);
    // Number of lines.
    int32_t ListCount() const noexcept { return entries_.count(); }
    // The index of the last line added.
    int32_t NewIndex() const noexcept { return newIndex_; }
    // A number kept with each line.
    int32_t ItemData(int32_t index) const { return entries_.itemData(index); }
    void SetItemData(int32_t index, int32_t data);

    // The current line (-1: none). Setting another index raises Click (also from code) and
    // shows the line's text; setting the index it has raises nothing; else 380.
    int32_t ListIndex() const noexcept { return listIndex_; }
    void SetListIndex(int32_t index);

    // The shown text. Style 2: the current line's text; setting it selects the line with
    // exactly that text, and raises 383 when there is none. Other styles: setting another
    // text raises Change and leaves no line current unless one has exactly that text.
    std::string Text() const;
    void SetText(std::string text);

    // Raised when the current line changed.
    Event<> Click;
    // Raised when the text of the edit field changed (styles 0 and 1).
    Event<> Change;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    ListEntries entries_;
    int16_t style_ = vbComboDropdown;
    int32_t listIndex_ = -1;
    int32_t newIndex_ = -1;
    std::string text_; // the edit field (styles 0 and 1)
};

} // namespace corvane::controls
