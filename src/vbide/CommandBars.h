// CommandBar, CommandBarControls, CommandBarControl and CommandBarEvents: the IDE's menus as
// the add-in uses them (the "Add-Ins" menu, its entries, and the click event of an entry).
#pragma once

#include "vbide/Clipboard.h"
#include "vbide/Event.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane::vbide {

class CommandBarControls;
class CommandBarControl;

// The event source of one menu entry: Click(control, handled, cancelDefault).
class CommandBarEvents {
public:
    // Raised when the developer picks the entry.
    Event<CommandBarControl&, bool&, bool&>& Click() noexcept { return click_; }

private:
    Event<CommandBarControl&, bool&, bool&> click_;
};

class CommandBarControl : public std::enable_shared_from_this<CommandBarControl> {
public:
    // An entry of the given type (1: a button) whose icon comes from `clipboard`.
    CommandBarControl(int type, std::weak_ptr<Clipboard> clipboard)
        : type_(type), clipboard_(std::move(clipboard)) {}

    // The entry's type (1: a button).
    int Type() const noexcept { return type_; }
    // True when a separator line comes before the entry.
    bool BeginGroup() const noexcept { return beginGroup_; }
    void SetBeginGroup(bool value) { beginGroup_ = value; }
    // The entry's text.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    // The entry's action text.
    const std::string& OnAction() const noexcept { return onAction_; }
    void SetOnAction(std::string action) { onAction_ = std::move(action); }
    // Takes the icon from the clipboard; raises VbError 5 when it holds no picture.
    void PasteFace();
    // The entry's icon (null until one is pasted), for a host view.
    std::shared_ptr<const Picture> Face() const { return face_; }
    // Removes the entry from its menu; raises VbError 5 when it was already removed.
    void Delete();

    // Host: the developer picks the entry; every CommandBarEvents of it raises Click.
    void click();
    // Host: a new event source for this entry (VBE's Events.CommandBarEvents).
    std::shared_ptr<CommandBarEvents> events();

private:
    friend class CommandBarControls;
    int type_;
    std::weak_ptr<Clipboard> clipboard_;
    bool beginGroup_ = false;
    std::string caption_;
    std::string onAction_;
    std::shared_ptr<const Picture> face_;
    CommandBarControls* parent_ = nullptr;
    std::vector<std::weak_ptr<CommandBarEvents>> sources_;
};

class CommandBarControls {
public:
    explicit CommandBarControls(std::weak_ptr<Clipboard> clipboard) : clipboard_(std::move(clipboard)) {}
    ~CommandBarControls();
    CommandBarControls(const CommandBarControls&) = delete;
    CommandBarControls& operator=(const CommandBarControls&) = delete;

    // Appends an entry: type 1 (a button) or 10 (a submenu); other types raise VbError 5.
    std::shared_ptr<CommandBarControl> Add(int type = 1);
    // Number of entries.
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The entry at a position counted from 1; raises VbError 9 when there is none.
    std::shared_ptr<CommandBarControl> Item(int position) const;

    std::vector<std::shared_ptr<CommandBarControl>>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::shared_ptr<CommandBarControl>>::const_iterator end() const { return items_.end(); }

private:
    friend class CommandBarControl;
    void remove(CommandBarControl& control);

    std::weak_ptr<Clipboard> clipboard_;
    std::vector<std::shared_ptr<CommandBarControl>> items_;
};

class CommandBar {
public:
    CommandBar(std::string name, std::weak_ptr<Clipboard> clipboard)
        : name_(std::move(name)), controls_(std::move(clipboard)) {}

    // The menu's name ("Add-Ins").
    const std::string& Name() const noexcept { return name_; }
    // The menu's entries.
    CommandBarControls& Controls() noexcept { return controls_; }

private:
    std::string name_;
    CommandBarControls controls_;
};

} // namespace corvane::vbide
