#include "vbide/FormDocument.h"

#include "support/CaseFold.h"
#include "support/TextCodec.h"
#include "support/VbError.h"
#include "vbide/FrxReader.h"
#include "vbide/PropertyValues.h"

#include <algorithm>
#include <deque>

namespace corvane::vbide {

// The descriptions of properties: the table's, and those of properties the table does not
// know but the file holds.
struct FormDocument::SpecStore {
    std::shared_ptr<const ControlTypeTable> table;
    std::deque<PropertySpec> extras;
};

namespace {

PropertyKind kindOf(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Boolean: return PropertyKind::Boolean;
    case Variant::Kind::Integer:
    case Variant::Kind::Long: return PropertyKind::Long;
    case Variant::Kind::Double: return PropertyKind::Double;
    case Variant::Kind::Object: return PropertyKind::Object;
    default: return PropertyKind::String;
    }
}

Variant emptyValue(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Boolean: return Variant(false);
    case PropertyKind::Long: return Variant(int32_t{0});
    case PropertyKind::Double: return Variant(0.0);
    case PropertyKind::Object: return Variant::nothing();
    case PropertyKind::String: break;
    }
    return Variant("");
}

bool isDefault(const Property& property) {
    return property.Value().kind() == property.defaultValue().kind() &&
           property.Value() == property.defaultValue();
}

std::string leadingBlanks(const std::string& text) {
    return text.substr(0, text.find_first_not_of(" \t"));
}

// Changes to the lines of a file, keyed by the line they apply to.
struct LineEdit {
    bool remove = false;
    std::optional<std::string> replacement;                   // encoded, without line end
    std::vector<std::pair<std::string, std::string>> inserts; // folded name, encoded line
};

} // namespace

FormDocument::FormDocument(std::string_view bytes, int codePage, std::string sourceName,
                           FrxLoader loadFrx, std::shared_ptr<const ControlTypeTable> table)
    : sourceName_(std::move(sourceName)), loadFrx_(std::move(loadFrx)), table_(std::move(table)),
      specs_(std::make_shared<SpecStore>()), state_(std::make_shared<DesignerState>()) {
    specs_->table = table_;
    state_->codePage = codePage;
    state_->fileName = sourceName_;
    readLines(bytes);
    buildProperties();
}

void FormDocument::readLines(std::string_view bytes) {
    lines_ = splitLines(bytes);
    layout_ = parseFormLayout(decodeLines(), sourceName_);
    name_ = layout_.attributeName.empty() ? layout_.nodes[0].name : layout_.attributeName;
}

std::vector<std::string> FormDocument::decodeLines() const {
    size_t end = std::min(findBlockEnd(lines_) + 1, lines_.size());
    std::string block;
    for (size_t i = 0; i < end; ++i)
        block += lines_[i].text + lines_[i].ending;
    std::vector<std::string> decoded;
    try {
        for (auto& line : splitLines(decodeCodePage(block, state_->codePage)))
            decoded.push_back(std::move(line.text));
    } catch (const VbError&) {
        for (size_t i = 0; i < end; ++i)
            if (!canDecodeLine(lines_[i].text))
                throwDesignerError(sourceName_, i + 1, "bytes that the code page " +
                                                           std::to_string(state_->codePage) +
                                                           " does not define");
        throwDesignerError(sourceName_, 0, "the designer block cannot be decoded");
    }
    decoded.resize(lines_.size());
    for (size_t i = end; i < lines_.size(); ++i)
        if (startsWithWord(trimBlanks(lines_[i].text), "Attribute") && canDecodeLine(lines_[i].text))
            decoded[i] = decodeCodePage(lines_[i].text, state_->codePage);
    return decoded;
}

bool FormDocument::canDecodeLine(const std::string& text) const {
    try {
        decodeCodePage(text, state_->codePage);
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
        auto control = std::make_shared<VBControl>(layout_.nodes[n].progId, propertiesOf(layout_.nodes[n]));
        nodeProperties_.push_back(&control->Properties());
        controls_.add(std::move(control));
    }
}

Properties FormDocument::propertiesOf(const BlockNode& node) {
    Properties properties;
    properties.keepAlive(specs_);
    for (const PropertySpec* spec : table_->typeFor(node.progId)->properties) {
        bool isName = spec->name == "Name";
        properties.add(Property(*spec, isName ? Variant(node.name) : spec->defaultValue, state_,
                                isName || spec->kind == PropertyKind::Object));
    }
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
                                : valueOfLine(entry.parts, known ? &known->spec() : table_->property(entry.name),
                                              state_->codePage, readText, checkRecord);
        } catch (const VbError& error) {
            if (error.number() == vberr::FormControlsUnreadable)
                throw;
            throwDesignerError(sourceName_, entry.line + 1, error.description());
        }
        if (known) {
            known->setLoadedValue(std::move(value));
            continue;
        }
        const PropertySpec& spec = specFor(entry.name, value);
        properties.add(Property(spec, std::move(value), state_, spec.kind == PropertyKind::Object));
    }
    return properties;
}

const PropertySpec& FormDocument::specFor(const std::string& name, const Variant& value) {
    if (const PropertySpec* known = table_->property(name))
        return *known;
    for (const auto& extra : specs_->extras)
        if (extra.name == name)
            return extra;
    PropertyKind kind = kindOf(value);
    specs_->extras.push_back({name, kind, emptyValue(kind)});
    return specs_->extras.back();
}

std::string FormDocument::frxBytes(const std::string& frxName) {
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
    for (size_t n = 0; n < layout_.nodes.size(); ++n) {
        const BlockNode& node = layout_.nodes[n];
        for (const Property& property : *nodeProperties_[n]) {
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
                    leadingBlanks(lines_[entry->line].text) +
                    encodeCodePage(formatPropertyLine("", entry->name, value), state_->codePage);
            } else {
                std::string indent(static_cast<size_t>(node.depth + 1) * 3, ' ');
                edits[insertionLine(n, property.Name())].inserts.emplace_back(
                    foldCase(property.Name()),
                    encodeCodePage(formatPropertyLine(indent, property.Name(), value), state_->codePage));
            }
        }
    }
    if (edits.empty())
        return joinLines(lines_);
    std::string ending = usualLineEnding(lines_);
    std::vector<TextLine> result;
    result.reserve(lines_.size() + edits.size());
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto edit = edits.find(i);
        if (edit == edits.end()) {
            result.push_back(lines_[i]);
            continue;
        }
        auto& inserts = edit->second.inserts;
        std::sort(inserts.begin(), inserts.end());
        for (const auto& insert : inserts)
            result.push_back({insert.second, ending});
        if (edit->second.remove)
            continue;
        result.push_back({edit->second.replacement.value_or(lines_[i].text), lines_[i].ending});
    }
    return joinLines(result);
}

void FormDocument::markSaved(const std::string& bytes) {
    size_t nodes = layout_.nodes.size();
    readLines(bytes);
    if (layout_.nodes.size() != nodes)
        throwDesignerError(sourceName_, 0, "the written file no longer matches its controls");
    for (Properties* properties : nodeProperties_)
        for (Property& property : *properties)
            property.markSaved();
    state_->dirty = false;
}

} // namespace corvane::vbide
