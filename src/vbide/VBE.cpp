#include "vbide/VBE.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::vbide {

std::shared_ptr<vbide::CommandBarEvents> VBEvents::CommandBarEvents(
    const std::shared_ptr<CommandBarControl>& control) const {
    if (!control)
        throw VbError(vberr::ObjectNotSet);
    return control->events();
}

std::shared_ptr<VBProject> VBProjects::Item(int position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position - 1)];
}

std::vector<MenuEntry> VBE::standardAddInsMenu() {
    return {{"Add-In Manager...", false}, {"&Visual Data Manager...", true}};
}

VBE::VBE(const std::vector<MenuEntry>& addInsMenu) {
    auto menu = addCommandBar("Add-Ins");
    for (const auto& entry : addInsMenu) {
        auto control = menu->Controls().Add(1);
        control->SetCaption(entry.caption);
        control->SetBeginGroup(entry.beginGroup);
    }
}

std::shared_ptr<CommandBar> VBE::CommandBars(std::string_view name) const {
    for (const auto& bar : commandBars_)
        if (equalsIgnoreCase(bar->Name(), name))
            return bar;
    return nullptr;
}

std::shared_ptr<CommandBar> VBE::addCommandBar(const std::string& name) {
    if (auto existing = CommandBars(name))
        return existing;
    commandBars_.push_back(std::make_shared<CommandBar>(name, clipboard_));
    return commandBars_.back();
}

void VBE::addProject(std::shared_ptr<VBProject> project) {
    projects_.items_.push_back(project);
    active_ = std::move(project);
}

std::shared_ptr<VBProject> VBE::openProject(const std::filesystem::path& path, std::optional<int> codePage) {
    auto project = VBProject::open(path, codePage);
    addProject(project);
    return project;
}

std::shared_ptr<VBProject> VBE::newUnsavedProject(std::string name) {
    auto project = VBProject::newUnsaved(std::move(name));
    addProject(project);
    return project;
}

void VBE::removeProject(const std::shared_ptr<VBProject>& project) {
    auto& items = projects_.items_;
    auto it = std::find(items.begin(), items.end(), project);
    if (!project || it == items.end())
        throw VbError(vberr::InvalidCall, "The project is not open in the IDE");
    auto removed = *it; // keeps the project alive while the event runs
    items.erase(it);
    if (active_ == removed)
        active_ = items.empty() ? nullptr : items.back();
    events_.VBProjectsEvents()->ItemRemoved().raise(*removed);
}

void VBE::setActiveProject(const std::shared_ptr<VBProject>& project) {
    if (project && std::find(projects_.begin(), projects_.end(), project) == projects_.end())
        throw VbError(vberr::InvalidCall, "The project is not open in the IDE");
    active_ = project;
}

} // namespace corvane::vbide
