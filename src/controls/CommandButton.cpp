#include "controls/CommandButton.h"

namespace corvane::controls {

CommandButton::CommandButton(std::string name)
    : Control("CommandButton", std::move(name), Windowed) {}

void CommandButton::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

void CommandButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    changed("Default");
}

void CommandButton::SetCancel(bool isCancel) {
    cancel_ = isCancel;
    changed("Cancel");
}

void CommandButton::SetValue(bool pressed) {
    if (pressed)
        Click();
}

std::optional<Variant> CommandButton::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    if (is(name, "Default"))
        return Variant(default_);
    if (is(name, "Cancel"))
        return Variant(cancel_);
    if (is(name, "Value"))
        return Variant(false);
    return Control::readProperty(name);
}

bool CommandButton::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Caption"))
        SetCaption(value.toText());
    else if (is(name, "Default"))
        SetDefault(value.toBool());
    else if (is(name, "Cancel"))
        SetCancel(value.toBool());
    else if (is(name, "Value"))
        SetValue(value.toBool());
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
