// Control: the state and events common to every control of a window.
//
// A control is a plain object holding what VB's control holds. VB's property P is read with
// P() and written with SetP(value); every property can also be reached by its name through
// GetProperty/SetProperty, which raise error 438 for a property the control's type does not
// have (a Timer has no Caption, a TextBox no Caption, a Menu no ToolTipText), as VB does.
// Positions and sizes are in twips, relative to the container.
#pragma once

#include "controls/Event.h"
#include "vbruntime/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::controls {

class Form;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    // The control's name ("txtHelpText").
    const std::string& Name() const noexcept { return name_; }
    // VB's type name of the control ("TextBox", "ListBox", "Menu" ...).
    const std::string& TypeName() const noexcept { return typeName_; }

    // Free text for the program's use; windows keep string table numbers in it.
    const std::string& Tag() const noexcept { return tag_; }
    void SetTag(std::string tag);

    // Whether the control takes user input.
    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);

    // Whether the control is shown.
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);

    // The tool tip text ("" for none).
    const std::string& ToolTipText() const noexcept { return toolTip_; }
    void SetToolTipText(std::string text);

    // Position and size in twips; a negative width or height raises 380.
    int32_t Left() const noexcept { return left_; }
    int32_t Top() const noexcept { return top_; }
    int32_t Width() const noexcept { return width_; }
    int32_t Height() const noexcept { return height_; }
    void SetLeft(int32_t left);
    void SetTop(int32_t top);
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    // Moves and sizes in one step (one Resize at most for controls that raise it).
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);

    // The control's window handle: non-zero, unique in the process.
    int32_t hWnd() const noexcept { return handle_; }
    // The live control with that handle, or nullptr (also after its window unloaded).
    static Control* fromHandle(int32_t handle);

    // The window the control belongs to (nullptr for a control made on its own).
    Form* Parent() const noexcept { return parent_; }
    // The control that contains this one (a Frame or PictureBox), nullptr for the window.
    Control* Container() const noexcept { return container_; }
    // Moves the control into another container of the same window (nullptr: the window);
    // raises 5 for a control that cannot contain others or belongs to another window.
    void SetContainer(Control* container);
    // True for controls that can contain others (Frame, PictureBox).
    virtual bool canContain() const { return false; }

    // A property by its name, letter case ignored; raises 438 when the type has none.
    Variant GetProperty(std::string_view name) const;
    // Sets a property by its name; raises 438 when the type has none, 383 when it is read-only,
    // 13 when the value does not convert.
    void SetProperty(std::string_view name, const Variant& value);
    // True when the type has a property of that name.
    bool HasProperty(std::string_view name) const;

    // Raised with the property's name after any property changed (for views over the model).
    Event<std::string_view> PropertyChanged;

protected:
    // Which common properties a type has; Name, Tag and Enabled are always there.
    enum Feature : unsigned {
        HasVisible = 1,  // Visible
        HasPosition = 2, // Left, Top
        HasSize = 4,     // Width, Height
        HasToolTip = 8,  // ToolTipText
        HasHandle = 16,  // hWnd
        Windowed = HasVisible | HasPosition | HasSize | HasToolTip | HasHandle,
    };

    Control(std::string typeName, std::string name, unsigned features);

    // Reads a property of the type; nullopt when the type has none of that name. Derived
    // types handle their own names and pass the rest on.
    virtual std::optional<Variant> readProperty(std::string_view name) const;
    // Writes a property of the type; false when the type has none of that name.
    virtual bool writeProperty(std::string_view name, const Variant& value);
    // Called after the position or size changed; `resized` when the size did.
    virtual void geometryChanged(bool resized);
    // Called after Enabled changed.
    virtual void enabledChanged();
    // Called when the window unloads: the control stops working (timers stop).
    virtual void retire();

    // Raises PropertyChanged.
    void changed(std::string_view property) { PropertyChanged(property); }
    // True when `name` equals `property` without regard to letter case.
    static bool is(std::string_view name, std::string_view property);

private:
    friend class ControlList;
    void attach(Form* parent, Control* container);
    void detachHandle();
    void setGeometry(int32_t left, int32_t top, int32_t width, int32_t height);

    std::string typeName_;
    std::string name_;
    unsigned features_;
    std::string tag_;
    std::string toolTip_;
    bool enabled_ = true;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int32_t handle_ = 0;
    Form* parent_ = nullptr;
    Control* container_ = nullptr;
};

} // namespace corvane::controls
