// VbConvert: the VB run time's conversions that the program's behaviour relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// VB's Val: the number at the start of the text. Spaces, tabs and line feeds are skipped
// anywhere; the number ends at the first character that cannot continue it; "&H" and "&O"
// prefixes read hexadecimal and octal; a text that does not begin with a number gives 0.
double Val(std::string_view text);

// VB's IsNumeric for a text: the whole text (blanks around it allowed) reads as a number.
bool IsNumeric(std::string_view text);

// The number the whole text reads as (as IsNumeric accepts it), or nothing.
std::optional<double> parseNumber(std::string_view text);

// VB's CLng: rounds to the nearest whole number, a half to the even neighbour; raises
// VbError 6 (overflow) outside the 32-bit range.
int32_t CLng(double value);

// VB's CInt: as CLng for the 16-bit range.
int16_t CInt(double value);

} // namespace corvane
