// CommandButton: a push button (VB's CommandButton).
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class CommandButton : public Control {
public:
    explicit CommandButton(std::string name = "Command1");

    // The text on the button.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    // The button that Enter presses on its window.
    bool Default() const noexcept { return default_; }
    void SetDefault(bool isDefault);
    // The button that Esc presses on its window.
    bool Cancel() const noexcept { return cancel_; }
    void SetCancel(bool isCancel);

    // Always False when read; setting True clicks the button (raises Click), as in VB.
    bool Value() const noexcept { return false; }
    void SetValue(bool pressed);

    // Raised when the button is clicked, by the user or through SetValue(true).
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace corvane::controls
