#include "xml/XMLDocument.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "text/TextCodec.h"
#include "vbruntime/VbError.h"
#include "xml/XmlChecks.h"
#include "xml/XmlEncoding.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <iterator>
#include <ostream>

namespace corvane {

namespace {

// Keeps CR LF, lone CR and white-space-only texts of leaf elements exactly as written.
constexpr unsigned ParseOptions =
    (pugi::parse_default | pugi::parse_ws_pcdata_single) & ~pugi::parse_eol;
constexpr unsigned FormatOptions = pugi::format_indent | pugi::format_no_declaration;
constexpr const char* Indent = "  ";
constexpr int MaxIndentedDepth = 100;
constexpr std::string_view Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Passes pugixml's output on to a sink, piece by piece.
class SinkWriter : public pugi::xml_writer {
public:
    explicit SinkWriter(const std::function<void(std::string_view)>& sink) : sink_(sink) {}
    // A CR can only stand in a text (attribute values have it as a reference, a CDATA section
    // holding one became a text when it was read): it is written as a reference, since a reader
    // makes a raw one a LF and the text would change between two reads.
    void write(const void* data, size_t size) override {
        std::string_view bytes(static_cast<const char*>(data), size);
        for (size_t cr = bytes.find('\r'); cr != std::string_view::npos; cr = bytes.find('\r')) {
            sink_(bytes.substr(0, cr));
            sink_("&#13;");
            bytes.remove_prefix(cr + 1);
        }
        sink_(bytes);
    }

private:
    const std::function<void(std::string_view)>& sink_;
};

XmlDocumentRef documentWithRoot(const char* name) {
    auto document = XmlDocumentRef::make();
    document->append_child(pugi::node_element).set_name(name);
    return document;
}

// The line and column of a byte offset of UTF-8 text.
XmlParseError errorAt(std::string_view text, size_t offset, std::string reason) {
    offset = std::min(offset, text.size());
    XmlParseError error{1, 1, std::move(reason), offset};
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++error.line;
            lineStart = i + 1;
        }
    }
    if (lineStart == 0 && text.substr(0, 3) == "\xEF\xBB\xBF")
        lineStart = 3;                          // a byte order mark is no column of the text
    for (size_t i = lineStart; i < offset; ++i) // count characters, not continuation bytes
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ++error.column;
    return error;
}

// The node after `node` in document order below `root`, or a null node at the end.
pugi::xml_node nextInDocumentOrder(pugi::xml_node node, pugi::xml_node root) {
    if (node.first_child())
        return node.first_child();
    while (node != root && !node.next_sibling())
        node = node.parent();
    return node == root ? pugi::xml_node() : node.next_sibling();
}

// True when nodes nest deeper than `limit` levels below `root`.
bool nestsDeeperThan(pugi::xml_node root, int limit) {
    pugi::xml_node node = root.first_child();
    int depth = 1;
    while (node) { // no recursion: documents may nest deeply
        if (pugi::xml_node child = node.first_child()) {
            if (++depth > limit)
                return true;
            node = child;
            continue;
        }
        pugi::xml_node next = node.next_sibling();
        while (!next) {
            node = node.parent();
            if (node == root)
                return false;
            --depth;
            next = node.next_sibling();
        }
        node = next;
    }
    return false;
}

// True when `needle` occurs in `text`, looked for at the places of its byte at `rare`. A data
// file holds thousands of "&amp;", which would stop a search for the "&" of "&#" at each of
// them; "#" is rare in help text.
bool contains(std::string_view text, std::string_view needle, size_t rare) {
    for (size_t pos = text.find(needle[rare], rare); pos != std::string_view::npos;
         pos = text.find(needle[rare], pos + 1))
        if (text.substr(pos - rare).starts_with(needle))
            return true;
    return false;
}

// True for a text that the writer would write but a reload would not give back: an empty one,
// or white space beside other nodes (the parser takes that for indentation).
bool isLostOnReload(pugi::xml_node node) {
    if (node.type() == pugi::node_cdata)
        return !*node.value();
    if (node.type() != pugi::node_pcdata)
        return false;
    bool alone = !node.previous_sibling() && !node.next_sibling();
    return !*node.value() || (!alone && isXmlWhitespace(node.value()));
}

// Replaces a CDATA section with a text of the same characters.
void becomeText(pugi::xml_node cdata) {
    cdata.parent().insert_child_before(pugi::node_pcdata, cdata).set_value(cdata.value());
    cdata.parent().remove_child(cdata);
}

// Character references can name code points that are not characters: pugixml writes a
// surrogate or a number past U+10FFFF as bytes that are not UTF-8, a control character XML does
// not allow ("&#11;", which earlier versions wrote) as itself, and "&#0;" as a text that ends at
// once (perhaps leaving only white space); an empty CDATA section gives an empty text.
// Replaces such bytes with U+FFFD and removes the texts a reload would lose, so that the
// document writes a file that reads back the same; a CDATA section holding a CR becomes a text,
// whose CRs the writer writes as references.
void cleanTexts(pugi::xml_node root) {
    auto clean = [](auto item) {
        if (!isCleanXmlText(item.value()))
            item.set_value(cleanXmlText(item.value()).c_str());
    };
    pugi::xml_node node = root;
    while (node) { // no recursion: documents may nest deeply
        pugi::xml_node next = nextInDocumentOrder(node, root);
        clean(node);
        for (pugi::xml_attribute attribute : node.attributes())
            clean(attribute);
        if (isLostOnReload(node))
            node.parent().remove_child(node);
        else if (node.type() == pugi::node_cdata && std::strchr(node.value(), '\r'))
            becomeText(node); // written with its CRs as references
        node = next;
    }
}

} // namespace

struct XMLDocument::State {
    XmlDocumentRef document = documentWithRoot("Root");
    std::optional<XmlParseError> lastError;
};

XMLDocument::XMLDocument() : state_(std::make_shared<State>()) {}

XMLElement XMLDocument::Root() const {
    return XMLElement(state_->document, state_->document->document_element());
}

bool XMLDocument::LoadText(std::string_view text) {
    return loadUtf8(text, false);
}

bool XMLDocument::loadUtf8(std::string_view text, bool checkedUtf8) {
    std::string cleaned;
    std::string_view source = text;
    bool clean = checkedUtf8 ? !holdsForbiddenXmlControl(text) : isCleanXmlText(text);
    if (!clean) {
        cleaned = cleanXmlText(text);
        source = cleaned;
    }
    auto document = XmlDocumentRef::make();
    pugi::xml_parse_result result =
        document->load_buffer(source.data(), source.size(), ParseOptions, pugi::encoding_utf8);
    if (!result) {
        state_->lastError =
            errorAt(source, static_cast<size_t>(std::max<ptrdiff_t>(result.offset, 0)),
                    result.description());
        state_->document = documentWithRoot("");
        return false;
    }
    if (contains(source, "&#", 1) || contains(source, "<![CDATA[", 2))
        cleanTexts(*document);
    state_->lastError.reset();
    state_->document = std::move(document);
    return true;
}

bool XMLDocument::LoadInPlace(char* buffer, size_t size) {
    std::string_view text(buffer, size);
    if (size == 0 || !isPlainUtf8Xml(text) || holdsForbiddenXmlControl(text)) {
        pugi::get_memory_deallocation_function()(buffer);
        return false;
    }
    // Character references and CDATA sections are found before the parse changes the bytes.
    bool needsCleaning = contains(text, "&#", 1) || contains(text, "<![CDATA[", 2);
    auto document = XmlDocumentRef::make(); // owns the buffer from here, even when parsing fails
    if (!document->load_buffer_inplace_own(buffer, size, ParseOptions, pugi::encoding_utf8))
        return false;
    if (needsCleaning)
        cleanTexts(*document);
    state_->lastError.reset();
    state_->document = std::move(document);
    return true;
}

std::string XMLDocument::XMLText() const {
    std::string text;
    WriteText([&](std::string_view piece) { text += piece; });
    return text;
}

void XMLDocument::WriteText(const std::function<void(std::string_view)>& sink) const {
    const pugi::xml_node root = state_->document->document_element();
    if (!*root.name())
        throw VbError(vberr::InvalidCall, "The XML document's root element has no name",
                      "XMLDocument");
    sink(Declaration);
    SinkWriter writer(sink);
    // Indentation grows with depth: a document nested thousands of levels deep (never one the
    // program writes) would render to gigabytes. Such a document is written without layout.
    const bool deep = nestsDeeperThan(*state_->document, MaxIndentedDepth);
    state_->document->save(writer, Indent,
                           deep ? pugi::format_raw | pugi::format_no_declaration : FormatOptions,
                           pugi::encoding_utf8);
}

const std::optional<XmlParseError>& XMLDocument::LastError() const {
    return state_->lastError;
}

bool XMLDocument::Load(std::istream& in) {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw VbError(vberr::PathFileAccess, "The XML text could not be read", "XMLDocument");
    return LoadText(decodeXmlBytes(bytes));
}

bool XMLDocument::LoadFile(const std::filesystem::path& path) {
    bool checkedUtf8 = false;
    std::string text = decodeOwnedXmlBytes(readFileBytes(path), &checkedUtf8);
    return loadUtf8(text, checkedUtf8); // a large file is not checked for UTF-8 twice
}

void XMLDocument::Save(std::ostream& out) const {
    std::string text = XMLText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out)
        throw VbError(vberr::PathFileAccess, "The XML text could not be written", "XMLDocument");
}

void XMLDocument::SaveFile(const std::filesystem::path& path) const {
    AtomicFile file(path);
    WriteText([&](std::string_view piece) { file.write(piece); });
    file.commit();
}

} // namespace corvane
