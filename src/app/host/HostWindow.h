// HostWindow: the desktop program's stand-in for the IDE. It opens projects (menu, command
// line, recent projects), shows each open project's components in a tree, saves a project's
// changed files, removes a project (the IDE model raises ItemRemoved), shows the "Add-Ins"
// menu that the add-in fills, and asks about unsaved changes on exit.
#pragma once

#include <QMainWindow>

#include <filesystem>
#include <optional>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QTreeWidget;

namespace corvane::vbide {
class VBE;
class VBProject;
} // namespace corvane::vbide

namespace corvane::app {

class HostWindow : public QMainWindow {
public:
    // The value name prefix of the recent projects ("Recent1" ...), under RecentKey.
    static constexpr const char* RecentKey = "Software\\Halvex\\Corvane\\Host";
    static constexpr int RecentCount = 4;

    // A host window over the IDE model `vbe`.
    explicit HostWindow(std::shared_ptr<vbide::VBE> vbe, QWidget* parent = nullptr);
    ~HostWindow() override;

    // Opens a project, its files in `codePage` or in the one detected; false (after a message
    // box) when it cannot be opened.
    bool openProject(const std::filesystem::path& file, std::optional<int> codePage = std::nullopt);
    // Saves the changed files of the active project; false (after a message box) on failure.
    bool saveProject();
    // Removes the active project from the IDE (nothing when none is open).
    void removeProject();
    // Clicks the entry of the "Add-Ins" menu whose caption begins with `captionStart`, as
    // the user would; false when there is none.
    bool clickAddIn(const std::string& captionStart);
    // The recent projects, newest first.
    std::vector<std::string> recentProjects() const;
    // The tree of projects and components (tests look at it).
    QTreeWidget* projectTree() const { return tree_; }
    // The "Add-Ins" menu (rebuilt from the IDE model each time it opens).
    QMenu* addInsMenu() const { return addIns_; }
    // Rebuilds the "Add-Ins" menu and the recent projects menu from their stores.
    void refreshMenus();
    // Asked before the window closes: false keeps it open for now (whoever returns false
    // closes the window again when it may).
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void refreshTree();
    void remember(const std::string& file);
    void chooseProject();
    bool confirmUnsaved();
    int ask(const std::string& prompt, int style);
    bool showIdeTool(const std::string& caption);

    std::shared_ptr<vbide::VBE> vbe_;
    QTreeWidget* tree_;
    QMenu* addIns_ = nullptr;
    QMenu* recent_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* removeAction_ = nullptr;
    std::function<bool()> closeGuard_;
};

} // namespace corvane::app
