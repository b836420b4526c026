#include "controls/ActiveBar.h"

#include "vbruntime/VbError.h"

namespace corvane::controls {

Tool& BandTools::Item(std::string_view name) const {
    if (Tool* tool = Find(name))
        return *tool;
    throw VbError(vberr::InvalidCall, "The toolbar has no tool '" + std::string(name) + "'");
}

Tool* BandTools::Find(std::string_view name) const {
    for (const auto& tool : tools_)
        if (tool->Name() == name)
            return tool.get();
    return nullptr;
}

Tool& BandTools::Add(std::string name, ToolType type) {
    tools_.push_back(std::make_unique<Tool>(std::move(name), type));
    return *tools_.back();
}

ActiveBar::ActiveBar(std::string name) : Control("ActiveBar", std::move(name), Windowed) {}

Band& ActiveBar::Bands(int32_t position) const {
    if (position < 0 || position >= BandCount())
        throw VbError(vberr::SubscriptOutOfRange);
    return *bands_[static_cast<size_t>(position)];
}

Band& ActiveBar::Bands(std::string_view name) const {
    for (const auto& band : bands_)
        if (band->Name() == name)
            return *band;
    throw VbError(vberr::SubscriptOutOfRange, "The toolbar has no band '" + std::string(name) + "'");
}

Band& ActiveBar::AddBand(std::string name) {
    bands_.push_back(std::make_unique<Band>(std::move(name)));
    return *bands_.back();
}

void ActiveBar::clickTool(Tool& tool) {
    if (tool.Enabled() && Enabled())
        Click(tool);
}

void ActiveBar::pickComboEntry(Tool& tool, int32_t position) {
    if (!tool.Enabled() || !Enabled())
        return;
    tool.SetComboListIndex(position);
    ComboSelChange(tool);
}

} // namespace corvane::controls
