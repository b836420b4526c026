#include "exchange/XliffReader.h"

#include "exchange/XliffWriter.h"
#include "support/AtomicFile.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>
#include <pugixml.hpp>
#include <sstream>

namespace corvane::exchange {

namespace {

// The element's name without its namespace prefix.
std::string_view localName(pugi::xml_node node) {
    std::string_view name = node.name();
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(pugi::xml_node parent, std::string_view name) {
    for (pugi::xml_node node : parent.children())
        if (node.type() == pugi::node_element && localName(node) == name)
            return node;
    return {};
}

// 1-based line of a byte offset.
int lineOf(const std::string& text, ptrdiff_t offset) {
    auto end = text.begin() + std::min<ptrdiff_t>(offset, static_cast<ptrdiff_t>(text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

// Visits the nodes below `root` in document order without recursion (a file may nest without
// limit); `visit` returns true to go into the node's children.
template <typename Visit>
void walkBelow(pugi::xml_node root, Visit visit) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (visit(node) && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling())
            node = node.parent();
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
}

// The text of a source or target: character data, also inside segment markers (mrk).
// Any other inline element is markup the help text cannot hold: `markup` is set.
std::string textOf(pugi::xml_node element, bool& markup) {
    std::string text;
    walkBelow(element, [&](pugi::xml_node node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            text += node.value();
        else if (node.type() == pugi::node_element && localName(node) == "mrk")
            return true;
        else if (node.type() == pugi::node_element)
            markup = true;
        return false;
    });
    return text;
}

// The prefix bound to the corvane namespace on the root or the file element ("corvane").
std::string corvanePrefix(pugi::xml_node root, pugi::xml_node file) {
    for (pugi::xml_node node : {root, file})
        for (pugi::xml_attribute attr : node.attributes())
            if (std::strncmp(attr.name(), "xmlns:", 6) == 0 &&
                std::strcmp(attr.value(), CorvaneXliffNamespace) == 0)
                return attr.name() + 6;
    return "corvane";
}

ExchangeUnit readUnit(pugi::xml_node unit) {
    ExchangeUnit result;
    result.id = unit.attribute("id").value();
    size_t slash = result.id.find('/');
    if (slash != std::string::npos) {
        result.module = result.id.substr(0, slash);
        result.controlKey = result.id.substr(slash + 1);
    }
    bool markup = false;
    result.source = textOf(child(unit, "source"), markup);
    pugi::xml_node target = child(unit, "target");
    result.target = textOf(target, markup);
    result.needsReview =
        std::string_view(target.attribute("state").value()).starts_with("needs-review");
    if (markup)
        result.problem = "its text holds inline markup, which help text cannot hold";
    return result;
}

// Units anywhere under the body, also inside groups, in document order.
void collectUnits(pugi::xml_node parent, std::vector<ExchangeUnit>& units) {
    walkBelow(parent, [&](pugi::xml_node node) {
        if (node.type() != pugi::node_element)
            return false;
        if (localName(node) == "trans-unit")
            units.push_back(readUnit(node));
        return localName(node) == "group";
    });
}

} // namespace

ExchangeDocument readXliff(std::istream& in, const std::string& sourceName) {
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    pugi::xml_document xml;
    // XML's own line-end rule applies (literal CR LF reads as LF); "&#13;" stays a CR.
    pugi::xml_parse_result parsed = xml.load_buffer(
        text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed)
        throw ExchangeFormatError(sourceName + ": line " +
                                  std::to_string(lineOf(text, parsed.offset)) +
                                  ": not well-formed XML (" + parsed.description() + ")");
    pugi::xml_node root = xml.document_element();
    if (localName(root) != "xliff")
        throw ExchangeFormatError(sourceName + ": not an XLIFF file (its root element is '" +
                                  root.name() + "')");
    std::vector<pugi::xml_node> files;
    for (pugi::xml_node node : root.children())
        if (node.type() == pugi::node_element && localName(node) == "file")
            files.push_back(node);
    if (files.size() != 1)
        throw ExchangeFormatError(sourceName + ": holds " + std::to_string(files.size()) +
                                  " <file> elements; corvane export writes exactly one");
    pugi::xml_node file = files.front();
    std::string prefix = corvanePrefix(root, file);
    ExchangeDocument document;
    document.project = file.attribute("original").value();
    document.sourceTag = file.attribute("source-language").value();
    document.targetTag = file.attribute("target-language").value();
    document.sourceLanguage = file.attribute((prefix + ":source-language").c_str()).value();
    document.targetLanguage = file.attribute((prefix + ":target-language").c_str()).value();
    if (document.targetLanguage.empty())
        throw ExchangeFormatError(
            sourceName +
            ": the <file> element does not name the project's language "
            "(attribute corvane:target-language); it was not written by corvane export");
    collectUnits(child(file, "body"), document.units);
    return document;
}

ExchangeDocument readXliffFile(const std::filesystem::path& path) {
    std::istringstream in(readFileBytes(path));
    return readXliff(in, path.string());
}

} // namespace corvane::exchange
