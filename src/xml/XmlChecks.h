// XmlChecks: the rules that keep every name and text the XML component writes readable
// again by the component itself.
//
// The reader is pugixml, so a name is valid when pugixml reads it as one: it starts with a
// letter, "_", ":" or a non-ASCII character and goes on with those, digits, "-" and ".".
// Texts are UTF-8; a NUL character cannot be stored (pugixml keeps C strings and would cut
// the text there), and bytes that are not UTF-8 would make the saved file read back as
// Windows-1252, so both are cleaned before a text enters a document. XML 1.0 allows no control
// character but tab, CR and LF, not even as a reference ("&#11;" makes a file other readers
// reject): a vertical tab (a word processor's line break) becomes a line break (CR LF), the
// others are removed.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// True when pugixml reads `name` back as one element or attribute name (valid UTF-8 too).
bool isXmlName(std::string_view name);

// Raises VbError 5 naming the name and its use ("element", "attribute") when it is not valid.
void requireXmlName(std::string_view name, std::string_view use);

// True when the text holds only the characters XML counts as white space (space, tab, CR, LF).
bool isXmlWhitespace(std::string_view text);

// True for a control character XML 1.0 does not allow (any below U+0020 but tab, CR and LF).
constexpr bool isForbiddenXmlControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}
// True when the text holds a control character XML 1.0 does not allow (NUL too).
bool holdsForbiddenXmlControl(std::string_view text);

// The text as it can be stored: NUL and the other control characters XML 1.0 does not allow
// removed but a vertical tab, which becomes CR LF; every byte that is not part of a valid UTF-8
// sequence replaced by U+FFFD. Returns the text unchanged when it is clean.
std::string cleanXmlText(std::string_view text);
// True when cleanXmlText would return the text unchanged (no control character XML does not
// allow, valid UTF-8).
bool isCleanXmlText(std::string_view text);

} // namespace corvane
