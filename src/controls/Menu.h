// Menu: an entry of a window's menu bar or of a submenu (VB's Menu).
//
// A menu has no position, size, handle or tool tip: reading those by name raises 438.
#pragma once

#include "controls/Control.h"

namespace corvane::controls {

class Menu : public Control {
public:
    explicit Menu(std::string name = "mnu1");

    // The entry's text ("&File"; "-" for a separator).
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);

    // Whether a check mark is shown beside the entry.
    bool Checked() const noexcept { return checked_; }
    void SetChecked(bool checked);

    // Raised when the user picks the entry.
    Event<> Click;

protected:
    std::optional<Variant> readProperty(std::string_view name) const override;
    bool writeProperty(std::string_view name, const Variant& value) override;

private:
    std::string caption_;
    bool checked_ = false;
};

} // namespace corvane::controls
