// Frame: a captioned box that contains other controls (VB's Frame).
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class Frame : public Control {
public:
    explicit Frame(std::string name = "Frame1");

    // The title on the frame.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    bool canContain() const override { return true; }

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string caption_;
};

} // namespace corvane::controls
