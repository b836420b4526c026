#include "controls/Image.h"

namespace corvane::controls {

Image::Image(std::string name)
    : Control("Image", std::move(name), HasVisible | HasPosition | HasSize | HasToolTip) {}

void Image::SetPicture(int32_t resourceId) {
    picture_ = resourceId;
    changed("Picture");
}

void Image::SetStretch(bool stretch) {
    stretch_ = stretch;
    changed("Stretch");
}

std::optional<Variant> Image::readProperty(std::string_view name) const {
    if (is(name, "Picture"))
        return Variant(picture_);
    if (is(name, "Stretch"))
        return Variant(stretch_);
    return Control::readProperty(name);
}

bool Image::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Picture"))
        SetPicture(value.toLong());
    else if (is(name, "Stretch"))
        SetStretch(value.toBool());
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
