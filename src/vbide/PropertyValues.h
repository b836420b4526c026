// PropertyValues: turning the value text of a property line into the Variant the IDE hands
// out (texts as String, numbers as Long or Double, Booleans as Boolean), guided by the kind
// the control type table gives the property.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/PropertyLine.h"

#include <optional>
#include <string>

namespace corvane::vbide {

// A number as written in a form file: decimal, or "&H...&" / "&O..." (VB's Long notation);
// nothing when the text is not such a number.
std::optional<int32_t> parseLongText(std::string_view text);

// The value of a parsed property line written in the form file itself. `spec` may be null (a
// property the table does not know: its kind is guessed from the text). A value that could not
// be parsed is its text as written; a value kept in a .frx file is an Object (see FrxValues).
Variant valueOfLine(const PropertyLineParts& parts, const PropertySpec* spec);

} // namespace corvane::vbide
