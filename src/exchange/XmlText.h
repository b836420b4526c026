// XmlText: escaping of texts for XML written by hand, so that every character of a help
// text reads back exactly through any conforming XML reader.
#pragma once

#include <string>
#include <string_view>

namespace corvane::exchange {

// Element text: & < > escaped, CR written as "&#13;" (a reader would turn a literal CR LF
// into LF); a vertical tab as a line break (CR LF); the other control characters, which XML 1.0
// allows not even as references, left out (an import drops them and names them).
std::string escapeXmlText(std::string_view text);
// Attribute value: as element text, and " escaped; tab and LF as character references too.
std::string escapeXmlAttribute(std::string_view text);

} // namespace corvane::exchange
