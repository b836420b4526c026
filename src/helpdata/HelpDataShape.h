// HelpDataShape: a help data file that is not in the form the program writes, read leniently,
// with each departure named, so that loading reads what can be read, reports the rest, and
// keeps the file's bytes before the first save (which writes the program's form).
//
// Departures found in the document: a root element not named "Root"; "VBComponent" and
// "SelectedLanguage" elements named in another letter case, or wrapped in an element the
// program does not know (they are found and read all the same); other elements (not read).
// Departures found in the text before it is parsed: comments (a save does not keep them) and
// references to the NUL character (dropped, so that the text after one is still read).
// A text that is not well-formed from some point on (cut short, damaged) is read up to the end
// of the last complete element before that point, its open elements closed.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Something of the file that is not in the program's form: where, and what became of it.
struct ShapeDeparture {
    std::ptrdiff_t offset = -1; // where in the parsed text (bytes from its start)
    std::string what;
    // False where nothing written in the file is left out: a save writes all of it again.
    bool losesText = true;
};

// True when an element holds nothing anyone wrote: no attribute and no text, at any depth
// (white space aside). Leaving such an element out loses nothing.
bool isEmptyElement(pugi::xml_node element);

// Where a document keeps its languages and modules.
struct HelpDataShape {
    std::vector<pugi::xml_node> languages; // "SelectedLanguage" elements, in document order
    std::vector<pugi::xml_node> modules;   // "VBComponent" elements, in document order
    std::vector<ShapeDeparture> departures;

    // The elements below `root` (the document's root element) and what departs from the form.
    static HelpDataShape of(pugi::xml_node root);
};

// True when the bytes hold a comment, a document type declaration or a reference to the NUL
// character (the document reading drops them without a word).
bool holdsTextDepartures(std::string_view bytes);
// The comments, document type declarations and references to the NUL character in `text`, in
// text order.
std::vector<ShapeDeparture> findTextDepartures(std::string_view text);
// Removes the references to the NUL character from `text`.
void dropNulReferences(std::string& text);

// The start of `text` up to the end of the last complete element that ends before `damagedAt`
// at the depth of a record or above, followed by the end tags of the elements still open
// there; nothing when no such element ends before it.
std::optional<std::string> salvagedStart(std::string_view text, size_t damagedAt);

} // namespace corvane
