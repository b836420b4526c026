// Splitter: two panes side by side (or stacked when Vertical), each holding one control that
// the splitter sizes to fill the pane. The first pane's Size is its extent along the split
// direction in twips; the second pane takes the rest less the bar.
//
// GetLayout gives a text that SetLayout restores ("Splitter;1;2400": the direction and the
// first pane's size). SetLayout ignores a text it does not recognise and keeps its layout, so
// a damaged stored setting never stops a window from opening.
#pragma once

#include "controls/Control.h"

#include <array>
#include <string>

namespace corvane::controls {

class Splitter;

// One pane of a splitter.
class SplitterPane {
public:
    // The pane's extent along the split direction in twips; setting it lays the panes out.
    int32_t Size() const noexcept { return size_; }
    void SetSize(int32_t twips);
    // The control shown in the pane (nullptr: none).
    Control* Child() const noexcept { return child_; }

private:
    friend class Splitter;
    Splitter* owner_ = nullptr;
    int32_t size_ = 0;
    Control* child_ = nullptr;
};

class Splitter : public Control {
public:
    // The width of the bar between the panes in twips.
    static constexpr int32_t BarSize = 60;

    explicit Splitter(std::string name = "Splitter");

    // True when the panes are stacked (the first on top).
    bool Vertical() const noexcept { return vertical_; }
    void SetVertical(bool vertical);

    // The pane at a position from 1; raises 9 for another position.
    SplitterPane& Panes(int32_t position);
    // Number of panes (2).
    int32_t PaneCount() const noexcept { return 2; }
    // Puts a control of the same window into a pane (it becomes the control's container).
    void setPaneChild(int32_t position, Control& child);

    // The layout as a text for SetLayout.
    std::string GetLayout() const;
    // Restores a layout that GetLayout gave; an unknown text is ignored.
    void SetLayout(std::string_view layout);

    bool canContain() const override { return true; }

    // The user drags the bar: the first pane takes the new size.
    void dragBar(int32_t firstPaneSize) { Panes(1).SetSize(firstPaneSize); }

protected:
    void geometryChanged(bool resized) override;

private:
    friend class SplitterPane;
    int32_t extent() const;
    void layoutPanes();

    bool vertical_ = false;
    std::array<SplitterPane, 2> panes_;
};

} // namespace corvane::controls
