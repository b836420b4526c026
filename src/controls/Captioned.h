// Captioned: a container with a caption bar that sizes its one child to fill the area
// below the bar.
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class Captioned : public Control {
public:
    // Height of the caption bar in twips.
    static constexpr int32_t CaptionHeight = 300;

    explicit Captioned(std::string name = "Captioned");

    // The title shown on the frame.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    // Puts a control of the same window into the container, filling it.
    void setChild(Control& child);
    // The contained control (nullptr: none).
    Control* Child() const noexcept { return child_; }

    bool canContain() const override { return true; }

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;
    void geometryChanged(bool resized) override;

private:
    void layoutChild();

    std::string caption_;
    Control* child_ = nullptr;
};

} // namespace corvane::controls
