#include "controls/CheckBox.h"

#include "controls/ControlErrors.h"
#include "vbruntime/VbConvert.h"

namespace corvane::controls {

CheckBox::CheckBox(std::string name) : Control("CheckBox", std::move(name), Windowed) {}

void CheckBox::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    changed("Caption");
}

void CheckBox::SetValue(int16_t value) {
    if (value < vbUnchecked || value > vbGrayed)
        throw invalidValue("Value");
    if (value == value_)
        return;
    value_ = value;
    changed("Value");
    Click();
}

std::optional<Variant> CheckBox::readProperty(std::string_view name) const {
    if (is(name, "Caption"))
        return Variant(caption_);
    if (is(name, "Value"))
        return Variant(value_);
    return Control::readProperty(name);
}

bool CheckBox::writeProperty(std::string_view name, const Variant& value) {
    if (is(name, "Caption"))
        SetCaption(value.toText());
    else if (is(name, "Value"))
        SetValue(CInt(value.toDouble()));
    else
        return Control::writeProperty(name, value);
    return true;
}

} // namespace corvane::controls
