// PropertyLine: reading and writing one "Name = value" line of a designer block, in the
// layout the IDE writes (name padded to 16 columns, "=", three blanks, the value).
#pragma once

#include "vbruntime/Variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::vbide {

// How a property's value is written on its line.
enum class ValueForm {
    Plain,  // a number, a Boolean or an enumeration, maybe followed by a 'comment
    Quoted, // "text" with doubled inner quotes
    FrxRef, // "file.frx":offset (or $"file.frx":offset): the value lives in the .frx file
};

// One parsed property line (text already decoded to UTF-8).
struct PropertyLineParts {
    std::string name; // as written ("Caption", "Tab(0).Control(3)")
    ValueForm form = ValueForm::Plain;
    std::string text;        // Plain: the value without comment; Quoted: the unquoted text;
                             // FrxRef: the .frx file name as written
    uint32_t frxOffset = 0;  // FrxRef: the hexadecimal offset into the .frx file
    bool dollar = false;     // FrxRef: written with the "$" prefix the IDE gives texts
    bool hasComment = false; // Plain: a 'comment followed the value
    bool malformed = false;  // the value could not be parsed: `text` holds it as written
    std::string comment;     // Plain: the comment text after the apostrophe
};

// Parses a property line; nothing when the line has no "=" or no name. Raises VbError 5
// with `what` describing the fault for a quoted value without its closing quote or a bad
// .frx offset.
std::optional<PropertyLineParts> parsePropertyLine(std::string_view line);
// The same into `parts`, which must be fresh (value-initialised); false when the line has no
// "=" or no name.
bool parsePropertyLine(std::string_view line, PropertyLineParts& parts);

// The value as the IDE writes it: Booleans "-1  'True" / "0   'False", numbers in decimal,
// texts quoted with doubled inner quotes.
std::string formatPropertyValue(const Variant& value);

// A whole property line: indent, name padded to 16 columns, "=", three blanks, value.
std::string formatPropertyLine(std::string_view indent, std::string_view name,
                               std::string_view valueText);

// A text in quotes with inner quotes doubled.
std::string quoteText(std::string_view text);

} // namespace corvane::vbide
