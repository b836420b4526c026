// ActiveBar: the toolbar: bands of tools, found by position (from 0) or by name.
//
// The program builds its bands and tools when its window loads. The user's actions come in
// through clickTool and pickComboEntry, which raise Click and ComboSelChange as the toolbar
// does. The window's client area lies below the first band, whose height is in pixels.
#pragma once

#include "controls/Control.h"
#include "controls/Tool.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane::controls {

// A band's tools, in display order.
class BandTools {
public:
    // The tool of that name (exact); raises 5 when there is none.
    Tool& Item(std::string_view name) const;
    // The tool of that name, or nullptr.
    Tool* Find(std::string_view name) const;
    // Number of tools.
    int32_t Count() const noexcept { return static_cast<int32_t>(tools_.size()); }
    // Appends a tool.
    Tool& Add(std::string name, ToolType type);

    // The tools in display order.
    class Iterator {
    public:
        using Inner = std::vector<std::unique_ptr<Tool>>::const_iterator;
        explicit Iterator(Inner it) : it_(it) {}
        Tool& operator*() const { return **it_; }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const Iterator& other) const = default;

    private:
        Inner it_;
    };
    Iterator begin() const { return Iterator(tools_.begin()); }
    Iterator end() const { return Iterator(tools_.end()); }

private:
    std::vector<std::unique_ptr<Tool>> tools_;
};

class Band {
public:
    explicit Band(std::string name) : name_(std::move(name)) {}
    // The band's name ("Main Band").
    const std::string& Name() const noexcept { return name_; }
    // Its tools.
    BandTools& Tools() noexcept { return tools_; }
    // Height in pixels (a drop-down band shows as a menu and takes no room).
    int32_t Height() const noexcept { return height_; }
    void SetHeight(int32_t pixels) { height_ = pixels; }

private:
    std::string name_;
    BandTools tools_;
    int32_t height_ = 26;
};

class ActiveBar : public Control {
public:
    explicit ActiveBar(std::string name = "ActiveBar");

    // Number of bands.
    int32_t BandCount() const noexcept { return static_cast<int32_t>(bands_.size()); }
    // The band at a position from 0; raises 9 when there is none.
    Band& Bands(int32_t position) const;
    // The band of that name (exact); raises 9 when there is none.
    Band& Bands(std::string_view name) const;
    // Appends a band.
    Band& AddBand(std::string name);

    // A boolean setting of the toolbar that the window switches off (kept, not used).
    bool AutoSizeChildren() const noexcept { return autoSizeChildren_; }
    void SetAutoSizeChildren(bool on) { autoSizeChildren_ = on; }

    // The user clicks a tool: raises Click (a disabled tool does nothing).
    void clickTool(Tool& tool);
    // The user picks an entry of a combo tool: selects it and raises ComboSelChange.
    void pickComboEntry(Tool& tool, int32_t position);

    // Raised when the user clicks a button or drop-down tool.
    Event<Tool&> Click;
    // Raised when the user picks an entry of a combo tool.
    Event<Tool&> ComboSelChange;

private:
    std::vector<std::unique_ptr<Band>> bands_;
    bool autoSizeChildren_ = true;
};

} // namespace corvane::controls
