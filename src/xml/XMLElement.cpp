#include "xml/XMLElement.h"

#include "vbruntime/VbError.h"
#include "xml/XmlChecks.h"

namespace corvane {

namespace {

bool isText(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The node itself when it is an element, else the next element among its siblings.
pugi::xml_node elementFrom(pugi::xml_node node) {
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    return node;
}

// Stores a text as cleanXmlText gives it; a clean text (the usual case) without a copy first.
template <typename Target>
void setCleanValue(Target target, std::string_view text) {
    if (isCleanXmlText(text)) {
        target.set_value(text.data(), text.size());
        return;
    }
    std::string clean = cleanXmlText(text);
    target.set_value(clean.c_str(), clean.size());
}

} // namespace

XMLElements::Iterator::Iterator(XmlDocumentRef document, pugi::xml_node node)
    : document_(std::move(document)), node_(elementFrom(node)) {}

XMLElement XMLElements::Iterator::operator*() const {
    return XMLElement(document_, node_);
}

XMLElements::Iterator& XMLElements::Iterator::operator++() {
    node_ = elementFrom(node_.next_sibling());
    return *this;
}

int32_t XMLElements::Count() const {
    int32_t count = 0;
    for (auto node = elementFrom(parent_.first_child()); node;
         node = elementFrom(node.next_sibling()))
        ++count;
    return count;
}

XMLElement XMLElements::Item(int32_t position) const {
    if (position >= 1) {
        int32_t index = 1;
        for (auto node = elementFrom(parent_.first_child()); node;
             node = elementFrom(node.next_sibling()), ++index)
            if (index == position)
                return XMLElement(document_, node);
    }
    throw VbError(vberr::SubscriptOutOfRange,
                  "The element '" + std::string(parent_.name()) + "' has no child element " +
                      std::to_string(position),
                  "XMLElements");
}

XMLElements::Iterator XMLElements::begin() const {
    return Iterator(document_, parent_.first_child());
}

XMLElements::Iterator XMLElements::end() const {
    return Iterator(document_, pugi::xml_node());
}

std::string XMLElement::Name() const {
    return node_.name();
}

bool XMLElement::hasName(std::string_view name) const {
    return std::string_view(node_.name()) == name;
}

void XMLElement::SetName(std::string_view name) {
    requireElement();
    requireXmlName(name, "element");
    node_.set_name(std::string(name).c_str());
}

std::string xmlElementText(pugi::xml_node element) {
    pugi::xml_node first = element.first_child();
    if (isText(first) && !first.next_sibling()) // the usual case: one piece of text
        return first.value();
    std::string text;
    for (auto child = first; child; child = child.next_sibling())
        if (isText(child))
            text += child.value();
    return text;
}

std::string XMLElement::Text() const {
    return xmlElementText(node_);
}

void XMLElement::SetText(std::string_view text) {
    requireElement();
    for (pugi::xml_node child = node_.first_child(); child;) {
        pugi::xml_node next = child.next_sibling();
        if (isText(child))
            node_.remove_child(child);
        child = next;
    }
    if (!text.empty())
        setCleanValue(node_.prepend_child(pugi::node_pcdata), text);
}

XMLAttributes XMLElement::Attributes() const {
    return XMLAttributes(document_, node_);
}

XMLElements XMLElement::Elements() const {
    return XMLElements(document_, node_);
}

XMLAttribute XMLElement::AddAttribute(std::string_view name, std::string_view value) {
    requireElement();
    requireXmlName(name, "attribute");
    if (Attributes().Contains(name))
        throw VbError(vberr::DuplicateKey,
                      "The element '" + Name() + "' already has an attribute '" +
                          std::string(name) + "'",
                      "XMLElement");
    pugi::xml_attribute attribute = node_.append_attribute(std::string(name).c_str());
    setCleanValue(attribute, value);
    return XMLAttribute(document_, attribute);
}

XMLElement XMLElement::AddElement(std::string_view name, std::string_view text) {
    requireElement();
    requireXmlName(name, "element");
    dropLayoutText();
    pugi::xml_node child = node_.append_child(std::string(name).c_str());
    if (!text.empty()) {
        setCleanValue(child.append_child(pugi::node_pcdata), text);
    }
    return XMLElement(document_, child);
}

void XMLElement::requireElement() const {
    if (!node_)
        throw VbError(vberr::ObjectNotSet, "The XML element is not set", "XMLElement");
}

void XMLElement::dropLayoutText() {
    // Only AddElement gives an element text before it has children, so such a text can only
    // be the first child; loading never keeps white space next to child elements.
    pugi::xml_node first = node_.first_child();
    if (first.type() == pugi::node_pcdata && isXmlWhitespace(first.value()))
        node_.remove_child(first);
}

} // namespace corvane
