// DesignerValues: lenient reading of the design-time properties the sketch needs. A property
// that is missing, or holds a value of another kind, reads as the fallback given: a value the
// sketch needs but cannot read makes the control odd, never the designer unreadable.
#pragma once

#include "vbide/Property.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane::vbide {
class VBControl;
}

namespace corvane::preview {

// The property's number, or nothing when it is missing or not a finite number.
std::optional<double> numberOf(const vbide::Properties& properties, std::string_view name);
// The property's number, or `fallback`.
double numberOr(const vbide::Properties& properties, std::string_view name, double fallback);
// The property's whole number, or `fallback` when it is missing, not a number or beyond the
// range of int.
int integerOr(const vbide::Properties& properties, std::string_view name, int fallback);
// The property's text, or "" when it is missing.
std::string textOf(const vbide::Properties& properties, std::string_view name);
// The property's truth, or `fallback` when it is missing or not a truth value.
bool flagOr(const vbide::Properties& properties, std::string_view name, bool fallback);
// The control key: the name, with "(index)" for a member of a control array.
std::string controlKeyOf(const vbide::Properties& properties);

} // namespace corvane::preview
