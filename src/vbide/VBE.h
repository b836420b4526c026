// VBE: the IDE around the project model: open projects and the active one, project
// events, command bars with the "Add-Ins" menu, the version and the clipboard. The host (the
// GUI shell, the command line, tests) drives it through the camelCase operations.
#pragma once

#include "vbide/Clipboard.h"
#include "vbide/CommandBars.h"
#include "vbide/Event.h"
#include "vbide/VBProject.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::vbide {

// The project-collection event source: ItemRemoved(project).
class VBProjectsEvents {
public:
    // Raised when a project leaves the IDE.
    Event<VBProject&>& ItemRemoved() noexcept { return itemRemoved_; }

private:
    Event<VBProject&> itemRemoved_;
};

// The IDE's event sources (VBE.Events).
class VBEvents {
public:
    // The project-collection event source (one per IDE).
    std::shared_ptr<vbide::VBProjectsEvents> VBProjectsEvents() const { return projects_; }
    // A new event source for a menu entry; raises VbError 91 for a null entry.
    std::shared_ptr<vbide::CommandBarEvents> CommandBarEvents(const std::shared_ptr<CommandBarControl>& control) const;

private:
    std::shared_ptr<vbide::VBProjectsEvents> projects_ = std::make_shared<vbide::VBProjectsEvents>();
};

// The open projects (VBE.VBProjects).
class VBProjects {
public:
    // Number of open projects.
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The project at a position counted from 1; raises VbError 9 when there is none.
    std::shared_ptr<VBProject> Item(int position) const;

    std::vector<std::shared_ptr<VBProject>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::shared_ptr<VBProject>>::const_iterator end() const { return items_.end(); }

private:
    friend class VBE;
    std::vector<std::shared_ptr<VBProject>> items_;
};

// One entry of a menu that a VBE starts with.
struct MenuEntry {
    std::string caption;
    bool beginGroup = false;
};

class VBE {
public:
    // The IDE's usual "Add-Ins" menu: "Add-In Manager..." and "&Visual Data Manager...".
    static std::vector<MenuEntry> standardAddInsMenu();

    // An IDE without projects whose "Add-Ins" menu holds the given entries.
    explicit VBE(const std::vector<MenuEntry>& addInsMenu = standardAddInsMenu());

    // The project being edited, or null when none is selected.
    std::shared_ptr<VBProject> ActiveVBProject() const { return active_; }
    // The open projects.
    const vbide::VBProjects& VBProjects() const noexcept { return projects_; }
    // The IDE's event sources.
    const VBEvents& Events() const noexcept { return events_; }
    // The command bar of that name (letter case ignored), or null when there is none.
    std::shared_ptr<CommandBar> CommandBars(std::string_view name) const;
    // The IDE's version text ("6.0" unless the host set another).
    const std::string& Version() const noexcept { return version_; }
    // The clipboard.
    vbide::Clipboard& Clipboard() noexcept { return *clipboard_; }

    // Host: opens a project file in `codePage`, or in the code page its files tell (see
    // VBProject::open); it becomes the active project.
    std::shared_ptr<VBProject> openProject(const std::filesystem::path& path, std::optional<int> codePage = std::nullopt);
    // Host: adds a new project that was never saved; it becomes the active project.
    std::shared_ptr<VBProject> newUnsavedProject(std::string name = "Project1");
    // Host: removes a project and raises ItemRemoved; when it was active, the last remaining
    // project becomes active (or none). Raises VbError 5 for a project that is not open.
    void removeProject(const std::shared_ptr<VBProject>& project);
    // Host: selects the active project (null: none); raises VbError 5 for one not open.
    void setActiveProject(const std::shared_ptr<VBProject>& project);
    // Host: sets the version text.
    void setVersion(std::string version) { version_ = std::move(version); }
    // Host: adds a command bar (or returns the existing one of that name).
    std::shared_ptr<CommandBar> addCommandBar(const std::string& name);

private:
    void addProject(std::shared_ptr<VBProject> project);

    vbide::VBProjects projects_;
    std::shared_ptr<VBProject> active_;
    VBEvents events_;
    std::shared_ptr<vbide::Clipboard> clipboard_ = std::make_shared<vbide::Clipboard>();
    std::vector<std::shared_ptr<CommandBar>> commandBars_;
    std::string version_ = "6.0";
};

} // namespace corvane::vbide
