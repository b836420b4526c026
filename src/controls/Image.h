// Image: a picture on a window (VB's Image); it has no window handle and no caption.
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class Image : public Control {
public:
    explicit Image(std::string name = "Image1");

    // The picture shown: a resource id of the program's own pictures (0 for none).
    int32_t Picture() const noexcept { return picture_; }
    void SetPicture(int32_t resourceId);

    // Whether the picture is stretched to the control's size.
    bool Stretch() const noexcept { return stretch_; }
    void SetStretch(bool stretch);

    // Raised when the user clicks the picture.
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    int32_t picture_ = 0;
    bool stretch_ = false;
};

} // namespace corvane::controls
