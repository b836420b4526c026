// Tool: one tool of the toolbar: a button, a button with a drop-down band, or a combo box.
#pragma once

#include "controls/Event.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

// The kinds of tool.
enum class ToolType { Button, DropDownButton, ComboBox };

// The list of a combo tool; positions count from 0.
class ToolComboList {
public:
    // Removes every entry.
    void Clear();
    // Appends an entry.
    void AddItem(std::string text);
    // The entry at a position from 0; raises 9 when there is none.
    const std::string& Item(int32_t position) const;
    // Number of entries.
    int32_t Count() const noexcept { return static_cast<int32_t>(items_.size()); }

    // Raised after the list changed.
    Event<> Changed;

private:
    std::vector<std::string> items_;
};

class Tool {
public:
    Tool(std::string name, ToolType type);

    // The tool's name, its command identifier ("compile").
    const std::string& Name() const noexcept { return name_; }
    // The kind of tool.
    ToolType Type() const noexcept { return type_; }
    // The caption shown on the tool.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    // The tool tip.
    const std::string& ToolTipText() const noexcept { return toolTip_; }
    void SetToolTipText(std::string text);
    // Whether the tool is shown pressed (checked).
    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool checked);
    // Whether the tool can be used.
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    // The name of the band a drop-down button opens ("" for none).
    const std::string& SubBand() const noexcept { return subBand_; }
    void SetSubBand(std::string band) { subBand_ = std::move(band); }
    // An icon name the views draw (not used by the program).
    const std::string& IconName() const noexcept { return icon_; }
    void SetIconName(std::string icon) { icon_ = std::move(icon); }

    // The key that clicks the tool ("F7"; "" for none), in the views' key notation.
    const std::string& ShortcutKey() const noexcept { return shortcutKey_; }
    void SetShortcutKey(std::string key) { shortcutKey_ = std::move(key); }

    // A combo tool's list.
    ToolComboList& ComboList() noexcept { return comboList_; }
    // The position of a combo tool's selected entry (-1: none). Setting it from code raises
    // nothing; the toolbar raises ComboSelChange when the user picks an entry.
    int32_t ComboListIndex() const noexcept { return comboIndex_; }
    void SetComboListIndex(int32_t position);
    // The selected entry's text ("" when none).
    std::string Text() const;
    // A setting of the combo tool (its style); kept, not used.
    int32_t ComboStyle() const noexcept { return comboStyle_; }
    void SetComboStyle(int32_t style) { comboStyle_ = style; }

    // Raised after any property changed (for views).
    Event<> Changed;

private:
    std::string name_;
    ToolType type_;
    std::string caption_;
    std::string shortcutKey_;
    std::string toolTip_;
    bool checked_ = false;
    bool enabled_ = true;
    std::string subBand_;
    std::string icon_;
    ToolComboList comboList_;
    int32_t comboIndex_ = -1;
    int32_t comboStyle_ = 0;
};

} // namespace corvane::controls
