// PoString: the quoted strings of gettext PO files: escaping a text into one or more quoted
// pieces, and reading a quoted piece back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::exchange {

// The text as quoted PO pieces, split after each line feed as gettext writes long texts
// ("" first when there is more than one piece). CR, tab, quote, backslash and other control
// characters are written as escapes, so every byte reads back.
std::vector<std::string> quotedPoPieces(std::string_view text);

// The text of one quoted piece such as "a\tb" (the quotes included, white space around it
// allowed); nothing when it is not a well-formed quoted string.
std::optional<std::string> unquotePo(std::string_view piece);

// The text with line breaks, tabs and control characters written as PO escapes, for a
// one-line comment.
std::string escapedPoText(std::string_view text);

} // namespace corvane::exchange
