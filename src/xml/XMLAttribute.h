// XMLAttribute, XMLAttributes: the attributes of one element of an XMLDocument.
//
// Both are cheap handles: they share ownership of the parsed document, so they stay valid
// after the XMLDocument variable (or a later LoadText) has let go of it. A default-made
// handle stands for no attribute and reads as empty.
#pragma once

#include "xml/XmlDocumentRef.h"

#include <cstdint>
#include <iterator>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace corvane {

class XMLElement;

// One attribute: a name and a plain string value (escaping is the document's concern).
class XMLAttribute {
public:
    // A handle to no attribute: its name and value are empty.
    XMLAttribute() = default;

    // The attribute's name.
    std::string Name() const;
    // The attribute's value, exactly as it was added or as the file held it once unescaped.
    std::string Value() const;

private:
    friend class XMLAttributes;
    friend class XMLElement;
    XMLAttribute(XmlDocumentRef document, pugi::xml_attribute attribute)
        : document_(std::move(document)), attribute_(attribute) {}

    XmlDocumentRef document_;
    pugi::xml_attribute attribute_;
};

// The attributes of one element, in document order; names are compared exactly.
class XMLAttributes {
public:
    // Walks the attributes in document order.
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = XMLAttribute;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = XMLAttribute;

        Iterator() = default;
        // The attribute at the iterator's place.
        XMLAttribute operator*() const { return XMLAttribute(document_, attribute_); }
        // Moves to the next attribute.
        Iterator& operator++() {
            attribute_ = attribute_.next_attribute();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& other) const { return attribute_ == other.attribute_; }

    private:
        friend class XMLAttributes;
        Iterator(XmlDocumentRef document, pugi::xml_attribute attribute)
            : document_(std::move(document)), attribute_(attribute) {}
        XmlDocumentRef document_;
        pugi::xml_attribute attribute_;
    };

    // An empty collection (the attributes of no element).
    XMLAttributes() = default;

    // The number of attributes.
    int32_t Count() const;
    // The attribute of exactly that name; raises VbError 5 naming the element and the name when
    // the element has none.
    XMLAttribute Item(std::string_view name) const;
    // True when the element has an attribute of exactly that name.
    bool Contains(std::string_view name) const;

    // The first attribute in document order.
    Iterator begin() const { return Iterator(document_, element_.first_attribute()); }
    // Past the last attribute.
    Iterator end() const { return Iterator(document_, pugi::xml_attribute()); }

private:
    friend class XMLElement;
    XMLAttributes(XmlDocumentRef document, pugi::xml_node element)
        : document_(std::move(document)), element_(element) {}

    pugi::xml_attribute find(std::string_view name) const;

    XmlDocumentRef document_;
    pugi::xml_node element_;
    mutable pugi::xml_attribute found_; // the attribute the last search found, if any
};

} // namespace corvane
