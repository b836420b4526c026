// FormDocument: writing the changed properties into a designer part, the one read or the one
// another program saved since.
#include "vbide/FormDocument.h"

#include "text/TextCodec.h"
#include "vbide/PropertyLine.h"
#include "vbide/PropertyValues.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <unordered_map>

namespace corvane::vbide {

namespace {

constexpr size_t NoBlock = static_cast<size_t>(-1);

bool sameValue(const Variant& one, const Variant& other) {
    return one.kind() == other.kind() && one == other;
}

std::string leadingBlanks(std::string_view text) {
    return std::string(text.substr(0, text.find_first_not_of(" \t")));
}

// A control's name, with its index when it is a member of a control array.
std::string controlKey(std::string_view name, int32_t index) {
    std::string key(name);
    if (index >= 0)
        key += "(" + std::to_string(index) + ")";
    return key;
}

const PropertyEntry* entryNamed(const BlockNode& block, std::string_view name) {
    for (const auto& entry : block.entries)
        if (!entry.group && equalsIgnoreCase(entry.name, name))
            return &entry;
    return nullptr;
}

} // namespace

std::string FormDocument::render() const {
    if (!setsBuilt())
        buildSets(); // the bytes are taken back if they were let go
    if (!isDirty())
        return bytes_;
    return renderOnto(bytes_);
}

// The changes to write: those of the summaries while the sets are not built, else those of the
// sets (building them took the summaries' in), each with the value it had before.
std::vector<FormDocument::Change> FormDocument::pendingChanges() const {
    std::vector<Change> changes;
    for (const SummaryChange& change : summaryChanges_)
        changes.push_back(Change{change.node, table_->property(change.name), change.name, change.before, change.value});
    const std::vector<Properties*> sets = builtSets();
    const auto& before = state().valuesBefore;
    for (size_t n = 0; n < sets.size(); ++n)
        for (const Property* property : sets[n]->materialised()) {
            if (!property->isChanged())
                continue;
            auto was = std::find_if(before.begin(), before.end(), [&](const auto& value) { return value.first == property; });
            changes.push_back(Change{n, &property->spec(), property->Name(),
                                     was != before.end() ? was->second : property->Value(), property->Value()});
        }
    return changes;
}

std::string FormDocument::renderOnto(std::string_view part) const {
    const std::vector<Change> changes = pendingChanges();
    if (changes.empty())
        return std::string(part);
    const bool asRead = isReadPart(part);
    Parsed parsed;
    try {
        parsed = parse(part);
    } catch (const VbError& error) {
        throw VbError(vberr::PathFileAccess,
                      "Cannot save '" + sourceName_ + "': another program changed it since it was read, and its " +
                          "designer block cannot be read now (" + error.description() +
                          "); nothing was written to it",
                      sourceName_);
    }
    const std::vector<size_t> blocks = blocksOnto(parsed.layout, changes, asRead);
    std::map<size_t, LineEdit> edits;
    std::string disagreements;
    for (size_t i = 0; i < changes.size(); ++i) {
        const Change& change = changes[i];
        if (blocks[i] == NoBlock)
            continue; // the other program removed the control: nothing of it to write
        const PropertyEntry* entry = entryNamed(parsed.layout.nodes[blocks[i]], change.name);
        if (!asRead) {
            const Variant now = entry ? valueOfLine(parsed.layout.lineValues[entry->valueIndex], change.spec)
                                      : change.spec ? change.spec->defaultValue : Variant();
            if (sameValue(now, change.value))
                continue;
            if (!sameValue(now, change.before)) {
                const std::string object = change.node == 0 ? name_ : keyOfBlock(change.node);
                disagreements += "\n  " + object + "." + change.name + " is " + now.toText() + " there (it was " +
                                 change.before.toText() + "; Corvane sets " + change.value.toText() + ")";
                continue;
            }
        }
        addLineEdit(edits, parsed, part, blocks[i], entry, change);
    }
    if (!disagreements.empty())
        throw VbError(vberr::PathFileAccess,
                      "Cannot save '" + sourceName_ + "': another program changed it since it was read, " +
                          "also where Corvane changes it:" + disagreements + "\nNothing was written to it.",
                      sourceName_);
    if (edits.empty())
        return std::string(part);
    const std::vector<size_t>& starts = parsed.starts;
    const std::string ending = usualLineEnding(part, starts);
    std::string result;
    result.reserve(part.size() + edits.size() * 48);
    size_t copied = 0; // the bytes before this offset are in the result
    for (auto& [line, edit] : edits) {
        if (line + 1 >= starts.size())
            break;
        result.append(part, copied, starts[line] - copied);
        copied = starts[line + 1];
        std::sort(edit.inserts.begin(), edit.inserts.end());
        for (const auto& insert : edit.inserts)
            result.append(insert.second).append(ending);
        if (edit.remove)
            continue;
        if (edit.replacement)
            result.append(*edit.replacement).append(lineEndingAt(part, starts, line));
        else
            result.append(part, starts[line], copied - starts[line]);
    }
    result.append(part, copied);
    return result;
}

// For each change, the block of `layout` it goes into: its own block in the part as read, else
// the block of the same name, index and type (NoBlock when there is none).
std::vector<size_t> FormDocument::blocksOnto(const FormLayout& layout, const std::vector<Change>& changes,
                                             bool asRead) const {
    std::vector<size_t> blocks;
    if (asRead) {
        for (const Change& change : changes)
            blocks.push_back(change.node);
        return blocks;
    }
    std::unordered_map<std::string, size_t> byKey;
    const PropertySpec* indexSpec = table_->property("Index");
    for (size_t n = 1; n < layout.nodes.size(); ++n) {
        const BlockNode& block = layout.nodes[n];
        const PropertyEntry* index = entryNamed(block, "Index");
        const int32_t value = index ? valueOfLine(layout.lineValues[index->valueIndex], indexSpec).toLong() : -1;
        byKey.try_emplace(foldCase(controlKey(block.name, value)), n);
    }
    for (const Change& change : changes) {
        if (change.node == 0) {
            blocks.push_back(equalsIgnoreCase(layout.nodes[0].progId, progId_) ? 0 : NoBlock);
            continue;
        }
        auto found = byKey.find(foldCase(keyOfBlock(change.node)));
        const bool sameType = found != byKey.end() &&
                              equalsIgnoreCase(layout.nodes[found->second].progId, controls_.Item(static_cast<int>(change.node))->ProgId());
        blocks.push_back(sameType ? found->second : NoBlock);
    }
    return blocks;
}

// The name of a control block of the part as read, with its index in a control array.
std::string FormDocument::keyOfBlock(size_t node) const {
    const auto control = controls_.Item(static_cast<int>(node));
    int32_t index = -1;
    try {
        index = control->index();
    } catch (const VbError&) {
        // a type without an index is never in a control array
    }
    return controlKey(control->name(), index);
}

// The line edit that writes one change into block `node` of the parsed part: its line replaced,
// removed for a property back at its default, or a new line where the IDE would put it.
void FormDocument::addLineEdit(std::map<size_t, LineEdit>& edits, const Parsed& parsed, std::string_view bytes,
                               size_t node, const PropertyEntry* entry, const Change& change) const {
    const int codePage = state().codePage;
    if (change.spec && sameValue(change.value, change.spec->defaultValue)) {
        if (entry)
            edits[entry->line].remove = true;
        return;
    }
    const std::string value = formatPropertyValue(change.value);
    if (entry) {
        edits[entry->line].replacement = leadingBlanks(lineTextAt(bytes, parsed.starts, entry->line)) +
                                         encodeCodePage(formatPropertyLine("", entry->name, value), codePage);
        return;
    }
    const std::string indent(static_cast<size_t>(parsed.layout.nodes[node].depth + 1) * 3, ' ');
    edits[insertionLine(parsed.layout, node, change.name)].inserts.emplace_back(
        foldCase(change.name), encodeCodePage(formatPropertyLine(indent, change.name, value), codePage));
}

size_t FormDocument::insertionLine(const FormLayout& layout, size_t n, const std::string& name) {
    const BlockNode& node = layout.nodes[n];
    size_t limit = node.endLine;
    if (n + 1 < layout.nodes.size() && layout.nodes[n + 1].beginLine < node.endLine)
        limit = layout.nodes[n + 1].beginLine;
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

void FormDocument::markSaved(std::string bytes, std::string_view part) {
    if (!isReadPart(part)) {
        savedElsewhere_ = true;
        std::string().swap(bytes_);
        forgetChanges();
        return;
    }
    markSaved(std::move(bytes));
}

void FormDocument::markSaved(std::string bytes) {
    bytes_ = std::move(bytes); // the same blocks: only property lines changed
    forgetChanges();
}

void FormDocument::forgetChanges() {
    summaryChanges_.clear();
    state().valuesBefore.clear();
    for (Properties* properties : builtSets())
        for (Property* property : properties->materialised())
            property->markSaved();
    state().dirty = false;
}

} // namespace corvane::vbide
