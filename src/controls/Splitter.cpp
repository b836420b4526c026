#include "controls/Splitter.h"

#include "vbruntime/VbError.h"

#include <algorithm>
#include <charconv>

namespace corvane::controls {

void SplitterPane::SetSize(int32_t twips) {
    size_ = std::max(0, twips);
    if (owner_)
        owner_->layoutPanes();
}

Splitter::Splitter(std::string name) : Control("Splitter", std::move(name), Windowed) {
    for (auto& pane : panes_)
        pane.owner_ = this;
}

void Splitter::SetVertical(bool vertical) {
    vertical_ = vertical;
    layoutPanes();
    changed("Vertical");
}

SplitterPane& Splitter::Panes(int32_t position) {
    if (position < 1 || position > PaneCount())
        throw VbError(vberr::SubscriptOutOfRange);
    return panes_[static_cast<size_t>(position - 1)];
}

void Splitter::setPaneChild(int32_t position, Control& child) {
    child.SetContainer(this);
    Panes(position).child_ = &child;
    layoutPanes();
}

std::string Splitter::GetLayout() const {
    return "Splitter;" + std::to_string(vertical_ ? 1 : 0) + ";" + std::to_string(panes_[0].size_);
}

void Splitter::SetLayout(std::string_view layout) {
    constexpr std::string_view prefix = "Splitter;";
    if (layout.substr(0, prefix.size()) != prefix)
        return;
    layout.remove_prefix(prefix.size());
    auto separator = layout.find(';');
    if (separator == std::string_view::npos)
        return;
    int vertical = 0;
    int32_t size = 0;
    auto direction = layout.substr(0, separator);
    auto extent = layout.substr(separator + 1);
    auto r1 = std::from_chars(direction.data(), direction.data() + direction.size(), vertical);
    auto r2 = std::from_chars(extent.data(), extent.data() + extent.size(), size);
    if (r1.ec != std::errc() || r1.ptr != direction.data() + direction.size() ||
        r2.ec != std::errc() || r2.ptr != extent.data() + extent.size() ||
        (vertical != 0 && vertical != 1) || size < 0)
        return;
    vertical_ = vertical == 1;
    panes_[0].SetSize(size);
    changed("Layout");
}

void Splitter::geometryChanged(bool resized) {
    if (resized)
        layoutPanes();
}

int32_t Splitter::extent() const { return vertical_ ? Height() : Width(); }

void Splitter::layoutPanes() {
    int32_t first = std::min(panes_[0].size_, std::max(0, extent() - BarSize));
    int32_t second = std::max(0, extent() - first - BarSize);
    panes_[1].size_ = second;
    if (Control* child = panes_[0].child_) {
        if (vertical_)
            child->Move(0, 0, Width(), first);
        else
            child->Move(0, 0, first, Height());
    }
    if (Control* child = panes_[1].child_) {
        if (vertical_)
            child->Move(0, first + BarSize, Width(), second);
        else
            child->Move(first + BarSize, 0, second, Height());
    }
    changed("Panes");
}

} // namespace corvane::controls
