// ControlList: the controls of one window in their order (VB's Form.Controls).
//
// The list owns its controls. Positions count from 0, names compare without regard to case.
// When the window unloads, its controls are retired: they stop working and leave the list,
// but stay alive until the window unloads again or is destroyed, so that code still running
// in one of their events does not touch freed memory.
#pragma once

#include "controls/Control.h"
#include "controls/ControlErrors.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

class ControlList {
public:
    explicit ControlList(Form& form) : form_(form) {}
    ControlList(const ControlList&) = delete;
    ControlList& operator=(const ControlList&) = delete;

    // Number of controls.
    int32_t Count() const noexcept { return static_cast<int32_t>(controls_.size()); }
    // The control at a position from 0; raises 9 when there is none.
    Control& Item(int32_t index) const;
    // The control of that name; raises 730 when there is none.
    Control& Item(std::string_view name) const;
    // The control of that name, or nullptr.
    Control* Find(std::string_view name) const;

    // Creates a control of type T at the end of the list, inside `container` (nullptr: the
    // window). Raises 727 for a name already used and 5 for a container of another window
    // or one that cannot contain controls.
    template <typename T>
    T& Add(std::string name, Control* container = nullptr) {
        checkNewControl(name, container);
        auto control = std::make_unique<T>(std::move(name));
        T& added = *control;
        added.attach(&form_, container);
        controls_.push_back(std::move(control));
        return added;
    }

    // Retires every control (the window unloads).
    void retireAll();

    // Iteration over the controls in order.
    class Iterator {
    public:
        using Inner = std::vector<std::unique_ptr<Control>>::const_iterator;
        explicit Iterator(Inner it) : it_(it) {}
        Control& operator*() const { return **it_; }
        Control* operator->() const { return it_->get(); }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const Iterator& other) const = default;

    private:
        Inner it_;
    };
    Iterator begin() const { return Iterator(controls_.begin()); }
    Iterator end() const { return Iterator(controls_.end()); }

private:
    void checkNewControl(std::string_view name, Control* container) const;

    Form& form_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Control>> retired_;
};

} // namespace corvane::controls
