// CheckBox: a box with a caption that is unchecked, checked or greyed (VB's CheckBox).
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

// The values of a check box.
constexpr int16_t vbUnchecked = 0;
constexpr int16_t vbChecked = 1;
constexpr int16_t vbGrayed = 2;

class CheckBox : public Control {
public:
    explicit CheckBox(std::string name = "Check1");

    // The text beside the box.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    // 0 unchecked, 1 checked, 2 greyed. Setting a different value raises Click (also from
    // code); setting the value it has raises nothing; other values raise 380.
    int16_t Value() const noexcept { return value_; }
    void SetValue(int16_t value);

    // Raised when the value changed.
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string caption_;
    int16_t value_ = vbUnchecked;
};

} // namespace corvane::controls
