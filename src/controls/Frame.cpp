#include "controls/Frame.h"

namespace corvane::controls {

Frame::Frame(std::string name) : Control("Frame", std::move(name), Windowed) {}

void Frame::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

std::optional<Variant> Frame::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    return Control::readProperty(name);
}

bool Frame::writeProperty(std::string_view name, const Variant& value) {
    if (!is(name, "Caption"))
        return Control::writeProperty(name, value);
    SetCaption(value.toText());
    return true;
}

} // namespace corvane::controls
