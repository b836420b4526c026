// XMLDocument: an XML document in memory, read from and written to text, built on pugixml.
//
// The program keeps its help data in one XML file, so the document promises exact round
// trips: XMLText() loads again through LoadText() with the same element names, attribute
// order, attribute values and element texts, byte for byte (CR LF stays CR LF, lone CR and LF,
// tabs, leading and trailing spaces, a text of only spaces, < & " ', non-ASCII text).
//
// Rendering (XMLText):
//   <?xml version="1.0" encoding="UTF-8"?>        the declaration, then one element per line,
//   <Root A="1">                                  indented by two spaces per level so that the
//     <Item Language="Neutral">text</Item>        file diffs well in version control; an
//   </Root>                                       element with text is written inline, since
//                                                 indentation inside it would change the text.
// Every line ends in LF, the last one too. A document nested more than 100 levels deep is
// written on one line after the declaration (indentation would grow with the square of the
// depth); it loads back the same. Attribute values escape & < > " and write tab, CR
// and LF as character references, so they read back exactly. What happens to unusual texts
// (NUL, control characters, white space beside child elements) is described in XMLElement.h.
//
// Handles (XMLElement, XMLAttributes ...) share ownership of the parsed document: they stay
// valid after the XMLDocument is gone. LoadText replaces the document with a new one, so
// handles taken before it keep showing the old content. Copies of an XMLDocument are the
// same object, as VB object references are. A document and its handles are used by one
// thread at a time (see XmlDocumentRef.h).
#pragma once

#include "xml/XMLElement.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Where and why a text was not well-formed XML.
struct XmlParseError {
    int line = 0;       // 1-based line (LF, CR LF and a lone CR each end a line)
    int column = 0;     // 1-based column, counted in characters (a tab counts one)
    std::string reason; // pugixml's description, such as "Start-end tags mismatch"
    size_t offset = 0;  // where in the text (bytes from its start)
};

class XMLDocument {
public:
    // A new document: its root is an element named "Root" without attributes or children.
    XMLDocument();
    // Another reference to the same document (copies share it; there is no empty moved-from one).
    XMLDocument(const XMLDocument&) = default;
    XMLDocument& operator=(const XMLDocument&) = default;

    // The root element. After a failed load: an element without name, attributes or children.
    XMLElement Root() const;

    // Parses UTF-8 text and replaces the content; false (with LastError set) when the text is
    // not well-formed. An encoding named by the text's XML declaration is ignored, the text
    // is UTF-8 already; bytes that are not UTF-8 are read as U+FFFD. Comments, processing
    // instructions and the document type are not kept.
    bool LoadText(std::string_view text);
    // Parses a file's bytes where they lie, without a copy, and replaces the content: `buffer`
    // (`size` bytes from pugi::get_memory_allocation_function()) belongs to the document from
    // then on. Only plain UTF-8 text without NUL characters (isPlainUtf8Xml) that is
    // well-formed is taken; otherwise the buffer is freed, the document stays as it was and the
    // result is false: the caller loads the bytes the usual way (LoadText names the fault).
    bool LoadInPlace(char* buffer, size_t size);
    // The whole document as UTF-8 text (see the header comment); raises VbError 5 when the
    // root has no name (after a failed load: name it before writing the document).
    std::string XMLText() const;
    // Hands the same text to `sink` piece by piece, in order, without ever holding all of it
    // (a large document goes straight into the file being written); raises VbError 5 as XMLText.
    void WriteText(const std::function<void(std::string_view)>& sink) const;
    // Where the last LoadText failed; empty after a successful load and for a new document.
    const std::optional<XmlParseError>& LastError() const;

    // Reads all bytes of the stream in any encoding decodeXmlBytes knows and loads them;
    // raises VbError 75 when the stream cannot be read.
    bool Load(std::istream& in);
    // Loads a file like Load; raises VbError 53 when it does not exist, 75 when it cannot be read.
    bool LoadFile(const std::filesystem::path& path);
    // Writes the UTF-8 bytes of XMLText(); raises VbError 75 when the stream fails.
    void Save(std::ostream& out) const;
    // Replaces the file with the UTF-8 bytes of XMLText() through AtomicFile (VbError 75).
    void SaveFile(const std::filesystem::path& path) const;

private:
    // LoadText for text already checked for UTF-8 when `checkedUtf8`.
    bool loadUtf8(std::string_view text, bool checkedUtf8);

    struct State;
    std::shared_ptr<State> state_;
};

} // namespace corvane
