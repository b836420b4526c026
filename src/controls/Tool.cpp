#include "controls/Tool.h"

#include "vbruntime/VbError.h"

namespace corvane::controls {

void ToolComboList::Clear() {
    items_.clear();
    Changed();
}

void ToolComboList::AddItem(std::string text) {
    items_.push_back(std::move(text));
    Changed();
}

const std::string& ToolComboList::Item(int32_t position) const {
    if (position < 0 || position >= Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position)];
}

Tool::Tool(std::string name, ToolType type) : name_(std::move(name)), type_(type) {
    comboList_.Changed.connect([this] {
        if (comboIndex_ >= comboList_.Count())
            comboIndex_ = -1;
        Changed();
    });
}

void Tool::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Changed();
}

void Tool::SetToolTipText(std::string text) {
    toolTip_ = std::move(text);
    Changed();
}

void Tool::SetChecked(bool checked) {
    checked_ = checked;
    Changed();
}

void Tool::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}

void Tool::SetComboListIndex(int32_t position) {
    if (position < -1 || position >= comboList_.Count())
        throw VbError(380, "Invalid property value");
    comboIndex_ = position;
    Changed();
}

std::string Tool::Text() const {
    return comboIndex_ >= 0 ? comboList_.Item(comboIndex_) : std::string();
}

} // namespace corvane::controls
