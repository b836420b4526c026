// XmlEncoding: turns the bytes of an XML file into the UTF-8 text the document parses.
//
// The program writes its XML files in UTF-8; older and hand-edited files come in other
// encodings, and a file must still load whatever its editor did to it.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// Turns the bytes of an XML file into UTF-8 text, choosing the encoding in this order:
// - a UTF-8 byte order mark: UTF-8 (the mark is dropped);
// - a UTF-16 byte order mark, or no mark but two ASCII characters in UTF-16 at the start ("<?",
//   "<R", " <"): UTF-16 LE or BE (unpaired surrogates become U+FFFD, an odd last byte is dropped);
// - an XML declaration naming windows-1252, cp1252, iso-8859-1 or latin1: Windows-1252;
// - valid UTF-8: UTF-8;
// - anything else: Windows-1252 (a UTF-8 file has been saved by an editor in the ANSI code page).
// Never fails: every byte sequence gives some text.
std::string decodeXmlBytes(std::string_view bytes);
// The same for bytes the caller gives up: text that is already UTF-8 is moved, not copied.
// `checkedUtf8`, when given, tells whether the text was found valid UTF-8 on the way (true
// only for moved text; other text may still be valid UTF-8).
std::string decodeOwnedXmlBytes(std::string&& bytes, bool* checkedUtf8 = nullptr);

// The encoding name given by the XML declaration at the start of the bytes ("" when there is
// no declaration or it names no encoding).
std::string declaredXmlEncoding(std::string_view bytes);

} // namespace corvane
