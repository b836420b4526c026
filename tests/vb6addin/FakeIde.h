// FakeIde: a stand-in for the VB6 IDE, made of objects that answer by member name: the root
// object with its Add-Ins menu, the menu's command bar events, a main window (a real one, so
// that disabling it can be seen) and an active project with components and their files.
#pragma once

#include "vb6addin/FakeDispatch.h"
#include "vb6addin/FakeEventSource.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace corvane::vbaddin::testing {

// One entry of the Add-Ins menu.
struct FakeMenuEntry {
    std::unique_ptr<FakeDispatch> object;
    std::unique_ptr<FakeEventSource> events;
    VARIANT caption{}, beginGroup{}, onAction{};
    bool deleted = false;
    // The size of the bitmap the clipboard held when PasteFace was called (0 by 0 if none).
    SIZE pastedFace{0, 0};
};

// One component of the project: its file and the IDE's copy of it in memory.
struct FakeComponent {
    std::unique_ptr<FakeDispatch> object;
    std::wstring name;
    long type = 5;
    std::filesystem::path file;
    std::string memory;
    bool dirty = false;
};

// The IDE with its objects; every call the add-in makes is in `log`.
class FakeIde {
public:
    // An IDE whose main window is `window`, whose Add-Ins menu holds entries starting a group
    // where `groups` says so, and with no project.
    FakeIde(HWND window, const std::vector<bool>& groups);
    ~FakeIde();

    // Opens the project `vbp` (never saved when empty) with the components as given, their
    // IDE copies read from their files.
    void openProject(const std::filesystem::path& vbp, std::vector<FakeComponent> components);
    // The root object (VBE) handed to OnConnection.
    IDispatch* vbe() { return vbe_.get(); }
    // The menu's entries, the add-in's and the others, deleted ones included.
    std::vector<std::unique_ptr<FakeMenuEntry>>& entries() { return entries_; }
    // The project's components and its settings.
    std::vector<std::unique_ptr<FakeComponent>>& components() { return components_; }
    // The project's help file setting as the IDE holds it.
    std::wstring helpFile() const;
    // Marks the project itself changed in the IDE (its .vbp is written on SaveAs).
    void setProjectDirty(std::string vbpText);
    // Whether every object got back every reference the add-in took, and none twice.
    bool referencesBalanced(std::wstring& unbalanced) const;

    CallLog log;

private:
    FakeMenuEntry& addEntry(bool group);
    FakeDispatch* entryAt(long position) const;
    void makeProjectObjects();
    void wireComponent(FakeComponent& component);
    std::vector<const FakeDispatch*> objects() const;

    std::unique_ptr<FakeDispatch> vbe_, bars_, menu_, controls_, events_, window_;
    std::unique_ptr<FakeDispatch> project_, componentList_;
    std::vector<std::unique_ptr<FakeMenuEntry>> entries_;
    std::vector<std::unique_ptr<FakeComponent>> components_;
    std::filesystem::path vbp_;
    bool projectOpen_ = false, projectDirty_ = false;
    std::string projectMemory_;
    VARIANT helpFile_{};
    HWND windowHandle_;
};

} // namespace corvane::vbaddin::testing
