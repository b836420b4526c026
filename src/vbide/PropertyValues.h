// PropertyValues: turning the value text of a property line into the Variant the IDE hands
// out (texts as String, numbers as Long or Double, Booleans as Boolean), guided by the kind
// the control type table gives the property.
#pragma once

#include "vbide/ControlTypeTable.h"
#include "vbide/PropertyLine.h"

#include <functional>
#include <optional>
#include <string>

namespace corvane::vbide {

// Reads the text record at an offset of a named .frx file (bytes, not decoded).
using FrxTextReader = std::function<std::string(const std::string& frxName, uint32_t offset)>;
// Checks a binary record at an offset of a named .frx file.
using FrxRecordChecker = std::function<void(const std::string& frxName, uint32_t offset)>;

// A number as written in a form file: decimal, or "&H...&" / "&O..." (VB's Long notation);
// nothing when the text is not such a number.
std::optional<int32_t> parseLongText(std::string_view text);

// The value of a parsed property line. `spec` may be null (a property the table does not
// know: its kind is guessed from the text). Texts in the .frx are read through `readText`
// and decoded from `codePage`; binary records are checked through `checkRecord`.
Variant valueOfLine(const PropertyLineParts& parts, const PropertySpec* spec, int codePage,
                    const FrxTextReader& readText, const FrxRecordChecker& checkRecord);

} // namespace corvane::vbide
