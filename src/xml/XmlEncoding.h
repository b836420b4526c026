// XmlEncoding: turns the bytes of an XML file into the UTF-8 text the document parses.
//
// The program writes its XML files in UTF-8; older and hand-edited files come in other
// encodings, and a file must still load whatever its editor did to it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Turns the bytes of an XML file into UTF-8 text, choosing the encoding in this order:
// - a UTF-8 byte order mark: UTF-8 (the mark is dropped);
// - a UTF-16 byte order mark, or no mark but two ASCII characters in UTF-16 at the start ("<?",
//   "<R", " <"): UTF-16 LE or BE (unpaired surrogates become U+FFFD, an odd last byte is dropped);
// - an XML declaration naming windows-1252, cp1252, iso-8859-1 or latin1: Windows-1252;
// - an XML declaration naming another Windows ANSI code page (Shift_JIS, GBK, Big5, EUC-KR,
//   windows-1251 ...) in which the bytes read: that code page;
// - valid UTF-8: UTF-8;
// - anything else: Windows-1252 (a UTF-8 file has been saved by an editor in the ANSI code page).
// Never fails: every byte sequence gives some text.
std::string decodeXmlBytes(std::string_view bytes);
// The same for bytes the caller gives up: text that is already UTF-8 is moved, not copied.
// `checkedUtf8`, when given, tells whether the text was found valid UTF-8 on the way (true
// only for moved text; other text may still be valid UTF-8).
std::string decodeOwnedXmlBytes(std::string&& bytes, bool* checkedUtf8 = nullptr);

// The text of a data file's bytes, with the places where bytes that are not UTF-8 stood.
struct CheckedXmlText {
    std::string text;
    // Where in `text` each byte that is not UTF-8 was read on its own, in order.
    std::vector<size_t> replaced;
};
// Like decodeXmlBytes, except that a file in UTF-8 (no UTF-16 start, no declared Windows-1252)
// stays UTF-8 however many of its bytes are not: each byte that is not part of a UTF-8 sequence
// is read on its own as the Windows-1252 character it stands for (U+FFFD for the five that code
// page leaves undefined) and listed, so that one stray byte never turns every other character of
// the file into something else.
CheckedXmlText decodeXmlBytesChecked(std::string_view bytes);

// The text of a file that declares no encoding and is not UTF-8, read in `codePage` (a project's
// ANSI code page other than Windows-1252); none when the bytes have a byte order mark, a UTF-16
// start or a declared encoding, are valid UTF-8, or do not read in that code page (the file is
// then read as decodeXmlBytesChecked reads it).
std::optional<std::string> decodeUndeclaredXmlBytes(std::string_view bytes, int codePage);

// True when the bytes are the UTF-8 text itself: no byte order mark, no UTF-16 start, no
// declared Windows-1252, no other declared code page but for ASCII alone, valid UTF-8
// (decodeXmlBytes would return them unchanged).
bool isPlainUtf8Xml(std::string_view bytes);

// The encoding name given by the XML declaration at the start of the bytes ("" when there is
// no declaration or it names no encoding).
std::string declaredXmlEncoding(std::string_view bytes);

} // namespace corvane
