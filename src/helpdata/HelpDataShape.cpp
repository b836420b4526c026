#include "helpdata/HelpDataShape.h"

#include "vbruntime/CaseFold.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

constexpr std::string_view ModuleName = "VBComponent";
constexpr std::string_view LanguageName = "SelectedLanguage";

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

class ShapeWalk {
public:
    explicit ShapeWalk(HelpDataShape& shape) : shape_(shape) {}

    // The root's children, and the children of elements the program does not know, at any depth.
    void walk(pugi::xml_node parent, bool wrapped) {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            std::string_view name = child.name();
            if (take(child, name, ModuleName, shape_.modules, wrapped) ||
                take(child, name, LanguageName, shape_.languages, wrapped))
                continue;
            if (holdsKnownElements(child)) {
                depart(child, "the element " + quoted(name) +
                                  " is not one Corvane writes: the modules and languages inside it are read");
                walk(child, true);
            } else {
                depart(child, "the element " + quoted(name) + " is not one Corvane writes: it is not read",
                       !isEmptyElement(child));
            }
        }
    }

private:
    bool take(pugi::xml_node element, std::string_view name, std::string_view known,
              std::vector<pugi::xml_node>& into, bool wrapped) {
        if (!equalsIgnoreCase(name, known))
            return false;
        if (name != known)
            depart(element, "the element " + quoted(name) + " is read as " + quoted(known) +
                                " (Corvane writes it in that letter case)", false);
        else if (wrapped)
            depart(element, "the element " + quoted(name) + " stands inside another element; it is read", false);
        into.push_back(element);
        return true;
    }
    static bool holdsKnownElements(pugi::xml_node element) {
        for (pugi::xml_node node = element.first_child(); node; node = node.next_sibling())
            if (node.type() == pugi::node_element &&
                (equalsIgnoreCase(node.name(), ModuleName) || equalsIgnoreCase(node.name(), LanguageName) ||
                 holdsKnownElements(node)))
                return true;
        return false;
    }
    void depart(pugi::xml_node node, std::string what, bool losesText = true) {
        shape_.departures.push_back({node.offset_debug(), std::move(what), losesText});
    }

    HelpDataShape& shape_;
};

// The end of a construct that starts at `at` with `open` and ends with `close`; npos when open.
size_t endOf(std::string_view text, size_t at, std::string_view open, std::string_view close) {
    size_t end = text.find(close, at + open.size());
    return end == std::string_view::npos ? end : end + close.size();
}

// The end of a tag that starts at `at` (after its '>'), quoted values skipped; npos when open.
size_t tagEnd(std::string_view text, size_t at) {
    char quote = 0;
    for (size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i + 1;
    }
    return std::string_view::npos;
}

std::string nameAt(std::string_view text, size_t at) {
    size_t end = at;
    while (end < text.size() && !std::strchr(" \t\r\n/>", text[end]))
        ++end;
    return std::string(text.substr(at, end - at));
}

} // namespace

bool isEmptyElement(pugi::xml_node element) {
    if (element.first_attribute())
        return false;
    for (pugi::xml_node node = element.first_child(); node; node = node.next_sibling()) {
        const bool text = node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
        if ((text && std::string_view(node.value()).find_first_not_of(" \t\r\n") != std::string_view::npos) ||
            (node.type() == pugi::node_element && !isEmptyElement(node)) || node.type() == pugi::node_comment ||
            node.type() == pugi::node_pi)
            return false;
    }
    return true;
}

HelpDataShape HelpDataShape::of(pugi::xml_node root) {
    HelpDataShape shape;
    if (root && std::string_view(root.name()) != "Root")
        shape.departures.push_back({root.offset_debug(), "the root element is " + quoted(root.name()) +
                                                             ", not \"Root\"; its content is read"});
    ShapeWalk(shape).walk(root, false);
    return shape;
}

namespace {

// The start of a document type declaration, which may declare entities of its own.
constexpr std::string_view DocumentType = "<!DOCTYPE";

// The length of a reference to the NUL character ("&#0;", "&#x00;" ...) at `at`; 0 when none.
size_t nulReferenceAt(std::string_view text, size_t at) {
    size_t digits = at + 2;
    if (digits < text.size() && (text[digits] == 'x' || text[digits] == 'X'))
        ++digits;
    size_t end = digits;
    while (end < text.size() && text[end] == '0')
        ++end;
    return end > digits && end < text.size() && text[end] == ';' ? end + 1 - at : 0;
}

} // namespace

bool holdsTextDepartures(std::string_view bytes) {
    if (bytes.find("<!--") != std::string_view::npos ||
        bytes.find(DocumentType) != std::string_view::npos)
        return true;
    for (size_t at = bytes.find("&#"); at != std::string_view::npos; at = bytes.find("&#", at + 2))
        if (nulReferenceAt(bytes, at) > 0)
            return true;
    return false;
}

std::vector<ShapeDeparture> findTextDepartures(std::string_view text) {
    std::vector<ShapeDeparture> departures;
    for (size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
        if (text.substr(at, 4) == "<!--")
            departures.push_back({static_cast<std::ptrdiff_t>(at), "a comment, which a save does not keep"});
        else if (text.substr(at, DocumentType.size()) == DocumentType)
            departures.push_back({static_cast<std::ptrdiff_t>(at),
                                  "a document type declaration, which a save does not keep: the "
                                  "entities it declares are not replaced in the texts"});
    for (size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", at + 2))
        if (nulReferenceAt(text, at) > 0)
            departures.push_back({static_cast<std::ptrdiff_t>(at),
                                  "a reference to the NUL character, which cannot be stored: it is left out "
                                  "and the text after it is read"});
    std::stable_sort(departures.begin(), departures.end(),
                     [](const ShapeDeparture& a, const ShapeDeparture& b) { return a.offset < b.offset; });
    return departures;
}

void dropNulReferences(std::string& text) {
    std::string kept;
    size_t copied = 0;
    for (size_t at = text.find("&#"); at != std::string::npos; at = text.find("&#", at + 2)) {
        const size_t length = nulReferenceAt(text, at);
        if (length == 0)
            continue;
        kept.append(text, copied, at - copied);
        copied = at + length;
    }
    if (copied > 0) {
        kept.append(text, copied);
        text = std::move(kept);
    }
}

std::optional<std::string> salvagedStart(std::string_view text, size_t damagedAt) {
    std::vector<std::string> open;
    std::optional<size_t> cut;
    std::vector<std::string> openAtCut;
    for (size_t at = text.find('<'); at != std::string_view::npos && at < damagedAt; at = text.find('<', at + 1)) {
        size_t end = std::string_view::npos;
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("<?"))
            end = endOf(text, at, "<?", "?>");
        else if (rest.starts_with("<!--"))
            end = endOf(text, at, "<!--", "-->");
        else if (rest.starts_with("<![CDATA["))
            end = endOf(text, at, "<![CDATA[", "]]>");
        else
            end = tagEnd(text, at);
        if (end == std::string_view::npos || end > damagedAt)
            break;
        if (rest.starts_with("</")) {
            if (!open.empty())
                open.pop_back();
        } else if (!rest.starts_with("<?") && !rest.starts_with("<!")) {
            if (text[end - 2] != '/')
                open.push_back(nameAt(text, at + 1));
        } else {
            at = end - 1;
            continue;
        }
        // A complete record, module or language ends here: the root and a module may be open.
        if (open.size() <= 2 && (rest.starts_with("</") || text[end - 2] == '/')) {
            cut = end;
            openAtCut = open;
        }
        at = end - 1;
    }
    if (!cut)
        return std::nullopt;
    std::string salvaged(text.substr(0, *cut));
    for (auto name = openAtCut.rbegin(); name != openAtCut.rend(); ++name)
        salvaged += "</" + *name + ">";
    return salvaged;
}

} // namespace corvane
