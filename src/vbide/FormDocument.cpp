#include "vbide/FormDocument.h"

#include "support/CaseFold.h"
#include "support/TextCodec.h"
#include "support/VbError.h"
#include "vbide/FrxReader.h"
#include "vbide/PropertyValues.h"

#include <algorithm>
#include <deque>

namespace corvane::vbide {

// What the properties of the file share and keep alive: the descriptions of properties (the
// table's, and those of properties the table does not know but the file holds) and the
// file's state.
struct FormDocument::Shared {
    std::shared_ptr<const ControlTypeTable> table;
    std::deque<PropertySpec> extras;
    DesignerState state;
    PropertyStore store;
};

// The designer block's lines decoded to UTF-8: views of the file's own bytes where decoding
// changes nothing, else of the decoded texts kept in `storage`.
struct FormDocument::DecodedLines {
    std::vector<std::string_view> lines;
    std::deque<std::string> storage;
};

namespace {

PropertyKind kindOf(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Boolean:
        return PropertyKind::Boolean;
    case Variant::Kind::Integer:
    case Variant::Kind::Long:
        return PropertyKind::Long;
    case Variant::Kind::Double:
        return PropertyKind::Double;
    case Variant::Kind::Object:
        return PropertyKind::Object;
    default:
        return PropertyKind::String;
    }
}

Variant emptyValue(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Boolean:
        return Variant(false);
    case PropertyKind::Long:
        return Variant(int32_t{0});
    case PropertyKind::Double:
        return Variant(0.0);
    case PropertyKind::Object:
        return Variant::nothing();
    case PropertyKind::String:
        break;
    }
    return Variant("");
}

bool isDefault(const Property& property) {
    return property.Value().kind() == property.defaultValue().kind() &&
           property.Value() == property.defaultValue();
}

std::string leadingBlanks(std::string_view text) {
    return std::string(text.substr(0, text.find_first_not_of(" \t")));
}

// Changes to the lines of a file, keyed by the line they apply to.
struct LineEdit {
    bool remove = false;
    std::optional<std::string> replacement;                   // encoded, without line end
    std::vector<std::pair<std::string, std::string>> inserts; // folded name, encoded line
};

} // namespace

FormDocument::FormDocument(std::string bytes, int codePage, std::string sourceName,
                           FrxLoader loadFrx, std::shared_ptr<const ControlTypeTable> table)
    : sourceName_(std::move(sourceName)), loadFrx_(std::move(loadFrx)), table_(std::move(table)),
      shared_(std::make_shared<Shared>()) {
    shared_->table = table_;
    shared_->state.codePage = codePage;
    shared_->state.fileName = sourceName_;
    readLines(std::move(bytes));
    buildProperties();
    releaseLineValues();
}

DesignerState& FormDocument::state() const noexcept {
    return shared_->state;
}

void FormDocument::readLines(std::string bytes) {
    bytes_ = std::move(bytes);
    lineStarts_ = lineStarts(bytes_);
    DecodedLines decoded;
    decodeLines(decoded);
    layout_ = parseFormLayout(decoded.lines, sourceName_);
    name_ = layout_.attributeName.empty() ? layout_.nodes[0].name : layout_.attributeName;
}

// Windows-1252 and UTF-8 decode line by line alike (a line end is never part of a character)
// and leave ASCII as it is, so most lines need no decoding at all. Other code pages decode the
// block in one piece, as a multi-byte or stateful code page needs.
void FormDocument::decodeLines(DecodedLines& decoded) const {
    size_t count = lineCount();
    decoded.lines.resize(count);
    for (size_t i = 0; i < count; ++i)
        decoded.lines[i] = lineText(i);
    size_t end = std::min(findBlockEnd(decoded.lines) + 1, count);
    int codePage = state().codePage;
    bool lineByLine = codePage == WindowsLatin1 || codePage == Utf8CodePage;
    if (lineByLine) {
        for (size_t i = 0; i < end; ++i) {
            if (isAsciiText(decoded.lines[i]))
                continue;
            try {
                decoded.lines[i] =
                    decoded.storage.emplace_back(decodeCodePage(decoded.lines[i], codePage));
            } catch (const VbError&) {
                throwDesignerError(sourceName_, i + 1,
                                   "bytes that the code page " + std::to_string(codePage) +
                                       " does not define");
            }
        }
    } else {
        decodeWholeBlock(decoded, end);
    }
    // After the block only the Attribute lines matter (the object's name).
    for (size_t i = end; i < count; ++i) {
        std::string_view raw = lineText(i);
        if (lineByLine)
            decoded.lines[i] = {};
        if (!startsWithWord(trimBlanks(raw), "Attribute") || !canDecodeLine(raw))
            continue;
        if (!(lineByLine && isAsciiText(raw)))
            decoded.lines[i] = decoded.storage.emplace_back(decodeCodePage(raw, codePage));
        else
            decoded.lines[i] = raw;
    }
}

void FormDocument::decodeWholeBlock(DecodedLines& decoded, size_t end) const {
    int codePage = state().codePage;
    std::string_view block = std::string_view(bytes_).substr(0, lineStarts_[end]);
    try {
        const std::string& text = decoded.storage.emplace_back(decodeCodePage(block, codePage));
        std::vector<size_t> starts = lineStarts(text);
        size_t decodedCount = starts.size() - 1;
        for (size_t i = 0; i < decoded.lines.size(); ++i)
            decoded.lines[i] = i < decodedCount ? lineTextAt(text, starts, i) : std::string_view();
    } catch (const VbError&) {
        for (size_t i = 0; i < end; ++i)
            if (!canDecodeLine(lineText(i)))
                throwDesignerError(sourceName_, i + 1,
                                   "bytes that the code page " + std::to_string(codePage) +
                                       " does not define");
        throwDesignerError(sourceName_, 0, "the designer block cannot be decoded");
    }
}

bool FormDocument::canDecodeLine(std::string_view text) const {
    try {
        decodeCodePage(text, state().codePage);
        return true;
    } catch (const VbError&) {
        return false;
    }
}

void FormDocument::buildProperties() {
    nodeProperties_.clear();
    nodeProperties_.push_back(&designerProperties_);
    designerProperties_ = propertiesOf(layout_.nodes[0]);
    for (size_t n = 1; n < layout_.nodes.size(); ++n) {
        auto control =
            std::make_shared<VBControl>(layout_.nodes[n].progId, propertiesOf(layout_.nodes[n]));
        nodeProperties_.push_back(&control->Properties());
        controls_.add(std::move(control));
    }
}

// The parsed values of property lines are only needed to build the properties.
void FormDocument::releaseLineValues() {
    layout_.lineValues = std::vector<PropertyLineParts>();
}

Properties FormDocument::propertiesOf(const BlockNode& node) {
    Properties properties(table_->typeFor(node.progId), shared_->store, shared_->state, shared_);
    if (Property* name = properties.find("Name"))
        name->setLoadedValue(Variant(node.name));
    auto readText = [this](const std::string& frx, uint32_t offset) {
        return readFrxText(frxBytes(frx), offset);
    };
    auto checkRecord = [this](const std::string& frx, uint32_t offset) {
        checkFrxRecord(frxBytes(frx), offset);
    };
    for (const auto& entry : node.entries) {
        Property* known = properties.find(entry.name);
        Variant value;
        try {
            value = entry.group ? Variant::object(entry.name)
                                : valueOfLine(layout_.lineValues[entry.valueIndex],
                                              known ? &known->spec() : table_->property(entry.name),
                                              shared_->state.codePage, readText, checkRecord);
        } catch (const VbError& error) {
            if (error.number() == vberr::FormControlsUnreadable)
                throw;
            throwDesignerError(sourceName_, entry.line + 1, error.description());
        }
        if (known)
            known->setLoadedValue(std::move(value));
        else
            properties.addExtra(specFor(entry.name, value), std::move(value));
    }
    return properties;
}

const PropertySpec& FormDocument::specFor(const std::string& name, const Variant& value) {
    if (const PropertySpec* known = table_->property(name))
        return *known;
    for (const auto& extra : shared_->extras)
        if (extra.name == name)
            return extra;
    PropertyKind kind = kindOf(value);
    shared_->extras.push_back({name, kind, emptyValue(kind)});
    return shared_->extras.back();
}

const std::string& FormDocument::frxBytes(const std::string& frxName) {
    auto cached = frxFiles_.find(frxName);
    if (cached != frxFiles_.end())
        return cached->second;
    if (!loadFrx_)
        throw VbError(vberr::FileNotFound, "File not found: '" + frxName + "'");
    return frxFiles_.emplace(frxName, loadFrx_(frxName)).first->second;
}

size_t FormDocument::insertionLine(size_t n, const std::string& name) const {
    const BlockNode& node = layout_.nodes[n];
    size_t limit = node.endLine;
    if (n + 1 < layout_.nodes.size() && layout_.nodes[n + 1].beginLine < node.endLine)
        limit = layout_.nodes[n + 1].beginLine;
    size_t after = node.beginLine;
    for (const auto& entry : node.entries) {
        if (entry.line >= limit)
            break;
        if (nameLessIgnoreCase(name, entry.name))
            return entry.line;
        after = entry.lastLine;
    }
    return after + 1;
}

std::string FormDocument::render() const {
    std::map<size_t, LineEdit> edits;
    int codePage = state().codePage;
    for (size_t n = 0; n < layout_.nodes.size(); ++n) {
        const BlockNode& node = layout_.nodes[n];
        for (const Property* changed : nodeProperties_[n]->materialised()) {
            const Property& property = *changed;
            if (!property.isChanged())
                continue;
            const PropertyEntry* entry = nullptr;
            for (const auto& candidate : node.entries)
                if (!candidate.group && sameNameIgnoreCase(candidate.name, property.Name())) {
                    entry = &candidate;
                    break;
                }
            if (isDefault(property)) {
                if (entry)
                    edits[entry->line].remove = true;
                continue;
            }
            std::string value = formatPropertyValue(property.Value());
            if (entry) {
                edits[entry->line].replacement =
                    leadingBlanks(lineText(entry->line)) +
                    encodeCodePage(formatPropertyLine("", entry->name, value), codePage);
            } else {
                std::string indent(static_cast<size_t>(node.depth + 1) * 3, ' ');
                edits[insertionLine(n, property.Name())].inserts.emplace_back(
                    foldCase(property.Name()),
                    encodeCodePage(formatPropertyLine(indent, property.Name(), value), codePage));
            }
        }
    }
    if (edits.empty())
        return bytes_;
    std::string ending = usualLineEnding(bytes_, lineStarts_);
    std::string result;
    result.reserve(bytes_.size() + edits.size() * 48);
    size_t copied = 0; // the bytes before this offset are in the result
    for (auto& [line, edit] : edits) {
        if (line >= lineCount())
            break;
        result.append(bytes_, copied, lineStarts_[line] - copied);
        copied = lineStarts_[line + 1];
        std::sort(edit.inserts.begin(), edit.inserts.end());
        for (const auto& insert : edit.inserts)
            result.append(insert.second).append(ending);
        if (edit.remove)
            continue;
        if (edit.replacement)
            result.append(*edit.replacement).append(lineEndingAt(bytes_, lineStarts_, line));
        else
            result.append(bytes_, lineStarts_[line], copied - lineStarts_[line]);
    }
    result.append(bytes_, copied);
    return result;
}

void FormDocument::markSaved(std::string bytes) {
    size_t nodes = layout_.nodes.size();
    readLines(std::move(bytes));
    releaseLineValues();
    if (layout_.nodes.size() != nodes)
        throwDesignerError(sourceName_, 0, "the written file no longer matches its controls");
    for (Properties* properties : nodeProperties_)
        for (Property* property : properties->materialised())
            property->markSaved();
    state().dirty = false;
}

} // namespace corvane::vbide
