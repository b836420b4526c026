// Label: a caption on a window (VB's Label); it has no window handle.
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class Label : public Control {
public:
    explicit Label(std::string name = "Label1");

    // The text shown.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    // Raised when the user clicks the label.
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string caption_;
};

} // namespace corvane::controls
