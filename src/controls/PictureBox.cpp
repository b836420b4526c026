#include "controls/PictureBox.h"

#include "controls/ControlErrors.h"
#include "controls/WindowSystem.h"
#include "vbruntime/VbConvert.h"

#include <algorithm>

namespace corvane::controls {

namespace {
constexpr int32_t BorderPixels = 2; // a sunken single border on each side
} // namespace

PictureBox::PictureBox(std::string name) : Control("PictureBox", std::move(name), Windowed) {}

void PictureBox::SetBorderStyle(int16_t style) {
    if (style != 0 && style != 1)
        throw invalidValue("BorderStyle");
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    changed("BorderStyle");
    Resize(); // the inner size changed
}

int32_t PictureBox::ScaleWidth() const {
    const int32_t border = borderStyle_ ? 2 * BorderPixels * twipsPerPixelX() : 0;
    return std::max(0, Width() - border);
}

int32_t PictureBox::ScaleHeight() const {
    const int32_t border = borderStyle_ ? 2 * BorderPixels * twipsPerPixelY() : 0;
    return std::max(0, Height() - border);
}

void PictureBox::geometryChanged(bool resized) {
    if (resized)
        Resize();
}

std::optional<Variant> PictureBox::readProperty(std::string_view name) const {
    if (is(name, "BorderStyle"))
        return Variant(borderStyle_);
    if (is(name, "ScaleWidth"))
        return Variant(ScaleWidth());
    if (is(name, "ScaleHeight"))
        return Variant(ScaleHeight());
    return Control::readProperty(name);
}

bool PictureBox::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "BorderStyle"))
        SetBorderStyle(CInt(value.toDouble()));
    else if (is(name, "ScaleWidth") || is(name, "ScaleHeight"))
        throw readOnly(name);
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
