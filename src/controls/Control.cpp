#include "controls/Control.h"

#include "controls/ControlErrors.h"
#include "controls/HandleTable.h"
#include "vbruntime/CaseFold.h"

namespace corvane::controls {

namespace {
HandleTable<Control>& handles() {
    static HandleTable<Control> table;
    return table;
}

void requireNotNegative(int32_t value, std::string_view property) {
    if (value < 0)
        throw invalidValue(property);
}
} // namespace

Control::Control(std::string typeName, std::string name, unsigned features)
    : typeName_(std::move(typeName)), name_(std::move(name)), features_(features),
      handle_(handles().add(this)) {}

Control::~Control() { detachHandle(); }

Control* Control::fromHandle(int32_t handle) { return handles().find(handle); }

void Control::detachHandle() { handles().remove(handle_); }

void Control::retire() { detachHandle(); }

void Control::attach(Form* parent, Control* container) {
    parent_ = parent;
    container_ = container;
}

void Control::SetTag(std::string tag) {
    tag_ = std::move(tag);
    changed("Tag");
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    changed("Enabled");
    enabledChanged();
}

void Control::enabledChanged() {}

void Control::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    changed("Visible");
}

void Control::SetToolTipText(std::string text) {
    toolTip_ = std::move(text);
    changed("ToolTipText");
}

void Control::SetLeft(int32_t left) { Move(left, top_, width_, height_); }
void Control::SetTop(int32_t top) { Move(left_, top, width_, height_); }
void Control::SetWidth(int32_t width) { Move(left_, top_, width, height_); }
void Control::SetHeight(int32_t height) { Move(left_, top_, width_, height); }

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    requireNotNegative(width, "Width");
    requireNotNegative(height, "Height");
    setGeometry(left, top, width, height);
}

void Control::setGeometry(int32_t left, int32_t top, int32_t width, int32_t height) {
    const bool moved = left != left_ || top != top_;
    const bool resized = width != width_ || height != height_;
    if (!moved && !resized)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed("Geometry");
    geometryChanged(resized);
}

void Control::geometryChanged(bool) {}

void Control::SetContainer(Control* container) {
    if (container != nullptr) {
        bool valid = container->canContain() && container->parent_ == parent_;
        for (Control* c = container; valid && c != nullptr; c = c->container_)
            valid = c != this; // a control cannot end up inside itself
        if (!valid)
            throw VbError(vberr::InvalidCall, "Invalid container for " + name_, name_);
    }
    container_ = container;
    changed("Container");
}

bool Control::is(std::string_view name, std::string_view property) {
    return equalsIgnoreCase(name, property);
}

Variant Control::GetProperty(std::string_view name) const {
    if (auto value = readProperty(name))
        return *value;
    throw noSuchProperty(typeName_, name);
}

void Control::SetProperty(std::string_view name, const Variant& value) {
    if (!writeProperty(name, value))
        throw noSuchProperty(typeName_, name);
}

bool Control::HasProperty(std::string_view name) const { return readProperty(name).has_value(); }

std::optional<Variant> Control::readProperty(std::string_view name) const {
    if (is(name, "Name"))
        return Variant(name_);
    if (is(name, "Tag"))
        return Variant(tag_);
    if (is(name, "Enabled"))
        return Variant(enabled_);
    if ((features_ & HasVisible) && is(name, "Visible"))
        return Variant(visible_);
    if ((features_ & HasToolTip) && is(name, "ToolTipText"))
        return Variant(toolTip_);
    if ((features_ & HasHandle) && is(name, "hWnd"))
        return Variant(handle_);
    if (features_ & HasPosition) {
        if (is(name, "Left"))
            return Variant(left_);
        if (is(name, "Top"))
            return Variant(top_);
    }
    if (features_ & HasSize) {
        if (is(name, "Width"))
            return Variant(width_);
        if (is(name, "Height"))
            return Variant(height_);
    }
    return std::nullopt;
}

bool Control::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Name") || ((features_ & HasHandle) && is(name, "hWnd")))
        throw readOnly(name);
    if (is(name, "Tag"))
        SetTag(value.toText());
    else if (is(name, "Enabled"))
        SetEnabled(value.toBool());
    else if ((features_ & HasVisible) && is(name, "Visible"))
        SetVisible(value.toBool());
    else if ((features_ & HasToolTip) && is(name, "ToolTipText"))
        SetToolTipText(value.toText());
    else if ((features_ & HasPosition) && is(name, "Left"))
        SetLeft(value.toLong());
    else if ((features_ & HasPosition) && is(name, "Top"))
        SetTop(value.toLong());
    else if ((features_ & HasSize) && is(name, "Width"))
        SetWidth(value.toLong());
    else if ((features_ & HasSize) && is(name, "Height"))
        SetHeight(value.toLong());
    else
        return false;
    return true;
}

} // namespace corvane::controls
