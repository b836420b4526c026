#include "controls/Menu.h"

namespace corvane::controls {

Menu::Menu(std::string name) : Control("Menu", std::move(name), HasVisible) {}

void Menu::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

void Menu::SetChecked(bool checked) {
    checked_ = checked;
    changed("Checked");
}

std::optional<Variant> Menu::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    if (is(name, "Checked"))
        return Variant(checked_);
    return Control::readProperty(name);
}

bool Menu::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Caption"))
        SetCaption(value.toText());
    else if (is(name, "Checked"))
        SetChecked(value.toBool());
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
