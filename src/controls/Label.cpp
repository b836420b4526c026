#include "controls/Label.h"

namespace corvane::controls {

Label::Label(std::string name)
    : Control("Label", std::move(name), HasVisible | HasPosition | HasSize | HasToolTip) {}

void Label::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

std::optional<Variant> Label::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    return Control::readProperty(name);
}

bool Label::writeProperty(std::string_view name, const Variant& value) {
    if (!is(name, "Caption"))
        return Control::writeProperty(name, value);
    SetCaption(value.toText());
    return true;
}

} // namespace corvane::controls
