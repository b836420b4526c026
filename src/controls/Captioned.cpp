#include "controls/Captioned.h"

#include <algorithm>

namespace corvane::controls {

Captioned::Captioned(std::string name) : Control("Captioned", std::move(name), Windowed) {}

void Captioned::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

void Captioned::setChild(Control& child) {
    child.SetContainer(this);
    child_ = &child;
    layoutChild();
}

std::optional<Variant> Captioned::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    return Control::readProperty(name);
}

bool Captioned::writeProperty(std::string_view name, const Variant& value) {
    if (!is(name, "Caption"))
        return Control::writeProperty(name, value);
    SetCaption(value.toText());
    return true;
}

void Captioned::geometryChanged(bool resized) {
    if (resized)
        layoutChild();
}

void Captioned::layoutChild() {
    if (child_)
        child_->Move(0, CaptionHeight, Width(), std::max(0, Height() - CaptionHeight));
}

} // namespace corvane::controls
