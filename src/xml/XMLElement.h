// XMLElement, XMLElements: one element of an XMLDocument and the child elements of one.
//
// Both are cheap handles: they share ownership of the parsed document, so they stay valid
// after the XMLDocument variable (or a later LoadText) has let go of it. A default-made
// handle stands for no element: it reads as empty, and adding to it raises VbError 91.
//
// Texts and names:
// - Names must be names the document can read back (see XmlChecks.h); anything else raises
//   VbError 5 naming the name, so no call can make a file that does not load again.
// - Texts and values are stored exactly, with the exceptions that keep the file XML: the
//   control characters XML 1.0 does not allow (NUL, U+0001 ...) are dropped, but a vertical
//   tab (a word processor's line break), which becomes CR LF; bytes that are not UTF-8 become
//   U+FFFD (XmlChecks.h).
// - An element's text is its own character data; the text of child elements is not part of
//   it. A text made only of white space is kept when the element has no child elements.
//   Once an element gets a child element, a white-space-only text of its own is removed:
//   the file's indentation takes its place, and the text would not survive a reload.
#pragma once

#include "xml/XMLAttribute.h"
#include "xml/XmlDocumentRef.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace corvane {

class XMLElement;

// The child elements of one element, in document order (character data is skipped).
class XMLElements {
public:
    // Walks the child elements in document order.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = XMLElement;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = XMLElement;

        Iterator() = default;
        // The element at the iterator's place.
        XMLElement operator*() const;
        // Moves to the next child element.
        Iterator& operator++();
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return node_ == other.node_; }

    private:
        friend class XMLElements;
        Iterator(XmlDocumentRef document, pugi::xml_node node);
        XmlDocumentRef document_;
        pugi::xml_node node_;
    };

    // An empty collection (the children of no element).
    XMLElements() = default;

    // The number of child elements (counted on each call: keep it in a variable in loops).
    int32_t Count() const;
    // The child element at a position counted from 1; raises VbError 9 when there is none.
    XMLElement Item(int32_t position) const;

    // The first child element.
    Iterator begin() const;
    // Past the last child element.
    Iterator end() const;

private:
    friend class XMLElement;
    XMLElements(XmlDocumentRef document, pugi::xml_node parent)
        : document_(std::move(document)), parent_(parent) {}

    XmlDocumentRef document_;
    pugi::xml_node parent_;
};

// The own text of a parsed element (its character data, not that of its child elements).
std::string xmlElementText(pugi::xml_node element);

// One element: a name, attributes in order, its own text and child elements in order.
class XMLElement {
public:
    // A handle to no element.
    XMLElement() = default;

    // The element's name ("" for no element and for the root of a document that failed to load).
    std::string Name() const;
    // True when the element's name is exactly `name` (compared in place, without a copy).
    bool hasName(std::string_view name) const;
    // Renames the element; raises VbError 5 when the name cannot be written (see above).
    void SetName(std::string_view name);

    // The element's own text, exactly as given to AddElement or as the file held it.
    std::string Text() const;
    // Replaces the element's own text (its child elements stay), stored as AddElement stores it.
    void SetText(std::string_view text);

    // The element's attributes.
    XMLAttributes Attributes() const;
    // The element's child elements.
    XMLElements Elements() const;
    // Where the element's name starts in the parsed text (bytes from its start); -1 for an
    // element that was not parsed from text.
    std::ptrdiff_t sourceOffset() const { return node_ ? node_.offset_debug() : -1; }
    // The parsed node behind the handle, valid while the document lives: for a reader that walks
    // a large document once and would otherwise make a handle for every element and attribute.
    pugi::xml_node node() const noexcept { return node_; }

    // Appends an attribute; raises VbError 5 for a name that cannot be written and 457 when the
    // element already has an attribute of that name (the file would not be well-formed).
    XMLAttribute AddAttribute(std::string_view name, std::string_view value);
    // Appends a child element holding `text` ("" for a container) and returns it.
    XMLElement AddElement(std::string_view name, std::string_view text);

private:
    friend class XMLElements;
    friend class XMLDocument;
    XMLElement(XmlDocumentRef document, pugi::xml_node node)
        : document_(std::move(document)), node_(node) {}

    // Raises VbError 91 when the handle stands for no element.
    void requireElement() const;
    // Removes a white-space-only text that would be lost once the element has children.
    void dropLayoutText();

    XmlDocumentRef document_;
    pugi::xml_node node_;
};

} // namespace corvane
