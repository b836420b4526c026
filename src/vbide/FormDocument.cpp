#include "vbide/FormDocument.h"

#include "text/TextCodec.h"
#include "vbide/PropertyValues.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <utility>

namespace corvane::vbide {

// What the controls and properties of the file share and keep alive: the descriptions of
// properties (the table's, and those of properties the table does not know but the file
// holds), the file's state, the property sets once they are built, and the controls
// themselves, in one block: a control is handed out as a pointer that keeps all of this alive.
struct FormDocument::Shared : PropertySource {
    std::shared_ptr<const ControlTypeTable> table;
    // The types of the file's blocks: their properties refer to them (the table may let an
    // ActiveX type go).
    std::vector<std::shared_ptr<const ControlType>> types;
    // Properties rarely need one; an empty list, unlike a deque, takes no memory of its own.
    std::list<PropertySpec> extras;
    DesignerState state;
    PropertyStore store;
    std::mutex building;
    FormDocument* document = nullptr; // builds the sets; null once the document is gone
    std::vector<Properties> sets;     // per block: [0] the designer, then the controls
    std::atomic<bool> setsBuilt{false};
    std::vector<VBControl> controls; // made whole once, when the file is read: nothing moves

    Properties& propertiesOf(size_t node) override {
        if (!setsBuilt.load(std::memory_order_acquire)) {
            std::lock_guard lock(building);
            if (!setsBuilt.load(std::memory_order_relaxed)) {
                if (!document)
                    throw VbError(vberr::ObjectNotSet, "The designer '" + state.fileName + "' is closed");
                document->buildPropertySets();
                setsBuilt.store(true, std::memory_order_release);
            }
        }
        return sets.at(node);
    }
    bool built() const override { return setsBuilt.load(std::memory_order_acquire); }

    void changeSummarised(size_t node, std::string_view name, const Variant& before, const Variant& value) override {
        std::lock_guard lock(building);
        if (document)
            document->changeSummarised(node, name, before, value);
    }
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

// A hash of a designer part, to know the part again when it is read anew (never stored). Four
// lanes take eight bytes each a step with the multiply-rotate round of common fast hashes: about
// half the instructions of std::hash, which takes a word a step in one chain.
uint64_t partHashOf(std::string_view bytes) {
    constexpr uint64_t prime1 = 0x9E3779B185EBCA87ull;
    constexpr uint64_t prime2 = 0xC2B2AE3D27D4EB4Full;
    auto round = [](uint64_t lane, uint64_t word) { return std::rotl(lane + word * prime2, 31) * prime1; };
    const char* data = bytes.data();
    const size_t size = bytes.size();
    uint64_t a = prime1 + prime2, b = prime2, c = 0, d = 0 - prime1; // the lanes, kept in registers
    size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        a = round(a, bytescan::loadWord(data + i));
        b = round(b, bytescan::loadWord(data + i + 8));
        c = round(c, bytescan::loadWord(data + i + 16));
        d = round(d, bytescan::loadWord(data + i + 24));
    }
    uint64_t hash = round(round(round(round(size, a), b), c), d);
    for (; i + 8 <= size; i += 8)
        hash = round(hash, bytescan::loadWord(data + i));
    uint64_t last = 0;
    std::memcpy(&last, data + i, size - i);
    hash = round(hash, last);
    hash ^= hash >> 33; // every bit of the last round moves every bit of the answer
    hash *= prime2;
    hash ^= hash >> 29;
    hash *= prime1;
    return hash ^ (hash >> 32);
}

} // namespace

FormDocument::FormDocument(std::string bytes, int codePage, std::string sourceName,
                           FrxLoader loadFrx, std::shared_ptr<const ControlTypeTable> table,
                           std::function<std::string()> rereadPart)
    : sourceName_(std::move(sourceName)), loadFrx_(std::move(loadFrx)), table_(std::move(table)),
      shared_(std::make_shared<Shared>()), rereadPart_(std::move(rereadPart)) {
    shared_->table = table_;
    shared_->state.codePage = codePage;
    shared_->state.fileName = sourceName_;
    shared_->document = this;
    size_t partEnd = rereadPart_ ? bytes.size() : designerPartEnd(bytes, true); // a reader gives the part
    if (partEnd < bytes.size()) { // the code after the designer part is not kept
        bytes.resize(partEnd);
        bytes.shrink_to_fit();
    }
    bytes_ = std::move(bytes);
    Parsed parsed = parse(bytes_);
    progId_ = parsed.layout.nodes[0].progId;
    hasAttributeName_ = !parsed.layout.attributeName.empty();
    name_ = hasAttributeName_ ? parsed.layout.attributeName : parsed.layout.nodes[0].name;
    readControls(parsed.layout);
    if (rereadPart_) { // read again when needed: until then the summaries are enough
        partSize_ = bytes_.size();
        partHash_ = partHashOf(bytes_);
        std::string().swap(bytes_);
    }
}

// The designer part read anew, when it was let go; it must be the part that was summarised.
void FormDocument::takeBackBytes() {
    if (savedElsewhere_)
        throw VbError(vberr::FormControlsUnreadable,
                      "Cannot read the properties of '" + sourceName_ +
                          "': its designer block was changed by another program since it was read; "
                          "open the project again",
                      sourceName_);
    if (!bytes_.empty() || !rereadPart_)
        return;
    std::string bytes = rereadPart_();
    bytes.resize(std::min(designerPartEnd(bytes, true), bytes.size()));
    if (bytes.size() != partSize_ || partHashOf(bytes) != partHash_)
        throw VbError(vberr::FormControlsUnreadable,
                      "Cannot read the properties of '" + sourceName_ +
                          "': its designer block was changed by another program since it was read; "
                          "open the project again",
                      sourceName_);
    bytes_ = std::move(bytes);
}

FormDocument::~FormDocument() {
    std::lock_guard lock(shared_->building);
    shared_->document = nullptr; // controls that outlive the document keep the sets built so far
}

Properties& FormDocument::designerProperties() {
    return shared_->propertiesOf(0);
}

std::optional<Variant> FormDocument::whatsThisHelp() const {
    if (!shared_->built())
        return whatsThisHelp_;
    const Property* flag = shared_->sets.at(0).find("WhatsThisHelp");
    return flag ? std::optional<Variant>(flag->Value()) : std::nullopt;
}

void FormDocument::setWhatsThisHelp(bool value) {
    if (shared_->built()) {
        designerProperties().Item("WhatsThisHelp").SetValue(Variant(value));
        return;
    }
    if (!whatsThisHelp_)
        throw VbError(vberr::InvalidCall, "The object has no property 'WhatsThisHelp'");
    if (*whatsThisHelp_ == Variant(value))
        return;
    changeSummarised(0, "WhatsThisHelp", *whatsThisHelp_, Variant(value));
    whatsThisHelp_ = Variant(value);
}

void FormDocument::changeSummarised(size_t node, std::string_view name, const Variant& before, const Variant& value) {
    state().dirty = true;
    for (SummaryChange& change : summaryChanges_)
        if (change.node == node && change.name == name) {
            change.value = value;
            return;
        }
    summaryChanges_.push_back({node, std::string(name), before, value});
}

bool FormDocument::setsBuilt() const { return shared_->built(); }

void FormDocument::buildSets() const { shared_->propertiesOf(0); }

bool FormDocument::isReadPart(std::string_view part) const {
    if (savedElsewhere_)
        return false;
    if (!bytes_.empty() || !rereadPart_)
        return part == bytes_;
    return part.size() == partSize_ && partHashOf(part) == partHash_;
}

DesignerState& FormDocument::state() const noexcept {
    return shared_->state;
}

// The layout is parsed when the file is read and again when changes are rendered: between
// the two only the bytes are kept, which take far less memory than the parsed lines.
FormDocument::Parsed FormDocument::parse(std::string_view bytes) const {
    Parsed parsed;
    parsed.starts = lineStarts(bytes);
    DecodedLines decoded;
    decodeLines(bytes, parsed.starts, decoded);
    parsed.layout = parseFormLayout(decoded.lines, sourceName_);
    return parsed;
}

// Windows-1252 and UTF-8 decode line by line alike (a line end is never part of a character)
// and leave ASCII as it is, so most lines need no decoding at all. Other code pages decode the
// block in one piece, as a multi-byte or stateful code page needs.
void FormDocument::decodeLines(std::string_view bytes, const std::vector<size_t>& starts,
                               DecodedLines& decoded) const {
    size_t count = starts.size() - 1;
    decoded.lines.resize(count);
    for (size_t i = 0; i < count; ++i)
        decoded.lines[i] = lineTextAt(bytes, starts, i);
    int codePage = state().codePage;
    bool lineByLine = codePage == WindowsLatin1 || codePage == Utf8CodePage;
    if (lineByLine && isAsciiText(bytes))
        return; // every line is its own text; after the block only Attribute lines are read
    size_t end = std::min(findBlockEnd(decoded.lines) + 1, count);
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
        decodeWholeBlock(bytes, starts, decoded, end);
    }
    // After the block only the Attribute lines matter (the object's name).
    for (size_t i = end; i < count; ++i) {
        std::string_view raw = lineTextAt(bytes, starts, i);
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

void FormDocument::decodeWholeBlock(std::string_view bytes, const std::vector<size_t>& starts,
                                    DecodedLines& decoded, size_t end) const {
    int codePage = state().codePage;
    std::string_view block = bytes.substr(0, starts[end]);
    try {
        const std::string& text = decoded.storage.emplace_back(decodeCodePage(block, codePage));
        std::vector<size_t> decodedStarts = lineStarts(text);
        size_t decodedCount = decodedStarts.size() - 1;
        for (size_t i = 0; i < decoded.lines.size(); ++i)
            decoded.lines[i] = i < decodedCount ? lineTextAt(text, decodedStarts, i) : std::string_view();
    } catch (const VbError&) {
        for (size_t i = 0; i < end; ++i)
            if (!canDecodeLine(lineTextAt(bytes, starts, i)))
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

// The controls' summaries and the warnings of every block, without their property sets: a
// value is worked out only for the properties the summary holds and for the lines whose value
// can be warned of (.frx references, needed numbers), as the property sets would work it out.
void FormDocument::readControls(FormLayout& layout) {
    warnOfFaults(layout);
    FrxValues frx(layout, loadFrx_, sourceName_, shared_->state.codePage, warnings_);
    SummarySpecCache specs;
    summaryOf(layout.nodes[0], layout, frx, specs, &whatsThisHelp_);
    // The controls live side by side in the shared block: no block and no count of their own.
    std::vector<VBControl>& controls = shared_->controls;
    controls.reserve(layout.nodes.size() - 1);
    for (size_t n = 1; n < layout.nodes.size(); ++n)
        controls.emplace_back(layout.nodes[n].progId, summaryOf(layout.nodes[n], layout, frx, specs), *shared_, n);
    controls_.assign(shared_, controls.data(), controls.size());
    std::stable_sort(warnings_.begin(), warnings_.end(),
                     [](const LoadWarning& a, const LoadWarning& b) { return a.line < b.line; });
}

// The property sets of every block, from the kept bytes (called under the lock of the
// shared part). What the read warned of is not told again.
void FormDocument::buildPropertySets() {
    takeBackBytes();
    Parsed parsed = parse(bytes_);
    std::vector<LoadWarning> told;
    FrxValues frx(parsed.layout, loadFrx_, sourceName_, shared_->state.codePage, told);
    std::vector<Properties>& sets = shared_->sets;
    sets.reserve(parsed.layout.nodes.size());
    for (const BlockNode& node : parsed.layout.nodes)
        sets.push_back(propertiesOf(node, parsed.layout, frx, shared_->store, told, nullptr));
    // What was changed through the summaries is now changed in the sets, from the same values.
    for (const SummaryChange& change : std::exchange(summaryChanges_, {}))
        sets.at(change.node).Item(change.name).SetValue(change.value);
}

std::vector<Properties*> FormDocument::builtSets() const {
    std::vector<Properties*> sets;
    if (shared_->built())
        for (Properties& properties : shared_->sets)
            sets.push_back(&properties);
    return sets;
}

void FormDocument::warnOfFaults(const FormLayout& layout) {
    for (const LineFault& fault : layout.faults)
        warnings_.push_back({sourceName_, fault.line + 1, layout.nodes[fault.node].name, fault.name, fault.what});
}

Properties FormDocument::propertiesOf(const BlockNode& node, const FormLayout& layout, FrxValues& frx,
                                      PropertyStore& store, std::vector<LoadWarning>& warnings,
                                      std::shared_ptr<const void> owner) {
    Properties properties(typeOf(node.progId), store, shared_->state, std::move(owner));
    properties.reserve(node.entries.size() + 4); // the file's lines, the name, a few looked up
    if (Property* name = properties.find("Name"))
        name->setLoadedValue(Variant(node.name));
    for (const auto& entry : node.entries) {
        Property* known = properties.find(entry.name);
        const PropertySpec* spec = known ? &known->spec() : table_->property(entry.name);
        std::optional<Variant> value =
            entry.group ? Variant::object(entry.name) : valueOf(entry, layout, spec, node.name, frx, warnings);
        if (!value)
            continue; // the property keeps its default; a warning says why
        if (known)
            known->setLoadedValue(std::move(*value));
        else
            properties.addExtra(specFor(entry.name, *value), std::move(*value));
    }
    return properties;
}

// The value of a property line; nothing, with a warning, when a value the program needs
// cannot be read.
std::optional<Variant> FormDocument::valueOf(const PropertyEntry& entry, const FormLayout& layout,
                                             const PropertySpec* spec, const std::string& object, FrxValues& frx,
                                             std::vector<LoadWarning>& warnings) {
    const PropertyLineParts& parts = layout.lineValues[entry.valueIndex];
    if (parts.form == ValueForm::FrxRef && !parts.malformed)
        return frx.valueOf(entry, parts, spec, object);
    bool neededNumber = spec && (spec->name == "Index" || spec->name == "WhatsThisHelpID");
    if (parts.malformed && (neededNumber || FrxValues::isNeededText(spec)))
        return std::nullopt; // the line's fault was warned of
    Variant value = valueOfLine(parts, spec);
    if (neededNumber && value.kind() != Variant::Kind::Long && value.kind() != Variant::Kind::Integer) {
        warnings.push_back({sourceName_, entry.line + size_t{1}, object, entry.name,
                             "the value '" + parts.text + "' is not a whole number; " +
                                 spec->defaultValue.toText() + " is taken"});
        return std::nullopt;
    }
    return value;
}

// The type of a block: the table's, found once per file. Blocks of a type are many, and
// a pointer shared by every thread reading a file is costly to copy (its count is atomic).
const ControlType& FormDocument::typeOf(std::string_view progId) {
    for (const auto& type : shared_->types)
        if (equalsIgnoreCase(type->progId, progId))
            return *type;
    return *shared_->types.emplace_back(table_->typeFor(progId));
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

} // namespace corvane::vbide
