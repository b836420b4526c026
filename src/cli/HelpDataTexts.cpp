#include "cli/HelpDataTexts.h"

#include "files/AtomicFile.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <optional>

namespace corvane::cli {

namespace {

// The first child named `name` whose attribute `attribute` is `value` (letter case ignored).
std::optional<XMLElement> childWith(const XMLElement& parent, std::string_view name,
                                    const char* attribute, std::string_view value) {
    for (const XMLElement& child : parent.Elements()) {
        if (!child.hasName(name))
            continue;
        XMLAttributes attributes = child.Attributes();
        if (attributes.Contains(attribute) &&
            equalsIgnoreCase(attributes.Item(attribute).Value(), value))
            return child;
    }
    return std::nullopt;
}

// The text of a record in a language, "" when it has none.
std::string textIn(const XMLElement& record, const std::string& language) {
    std::optional<XMLElement> text = childWith(record, "HelpText", "Language", language);
    return text ? text->Text() : std::string();
}

} // namespace

HelpDataTexts::HelpDataTexts(const std::filesystem::path& dataFile, int ansiCodePage) {
    file_.setAnsiCodePage(ansiCodePage);
    file_.read(dataFile, HelpDataFile::ReadFor::Document);
    if (file_.losesText())
        throw VbError(vberr::InvalidCall, file_.problemReport());
    document_ = file_.readDocument();
    indexRecords();
}

// Records are read whatever their element's name, as loading reads them.
void HelpDataTexts::indexRecords() {
    records_.clear();
    for (const XMLElement& component : document_.Root().Elements()) {
        XMLAttributes moduleAttributes = component.Attributes();
        if (!component.hasName("VBComponent") || !moduleAttributes.Contains("ComponentName"))
            continue;
        std::string module = moduleAttributes.Item("ComponentName").Value();
        for (const XMLElement& record : component.Elements()) {
            XMLAttributes attributes = record.Attributes();
            if (attributes.Contains("ControlName"))
                records_.emplace(foldCase(module + "/" + attributes.Item("ControlName").Value()),
                                 record);
        }
    }
}

XMLElement* HelpDataTexts::recordOf(std::string_view module, std::string_view key) {
    auto found = records_.find(foldCase(std::string(module) + "/" + std::string(key)));
    return found == records_.end() ? nullptr : &found->second;
}

bool HelpDataTexts::setText(std::string_view module, std::string_view key,
                            const std::string& language, const std::string& text) {
    XMLElement* record = recordOf(module, key);
    if (!record)
        return false;
    if (record->Elements().Count() == 0 && !record->Text().empty())
        return false; // a record in the old form: its own text, without a language
    sets_.push_back({std::string(module), std::string(key), language, textIn(*record, language), text});
    if (auto existing = childWith(*record, "HelpText", "Language", language)) {
        existing->SetText(text);
        return true;
    }
    record->AddElement("HelpText", text).AddAttribute("Language", language);
    return true;
}

void HelpDataTexts::save() {
    file_.write(document_, {}, [this] { catchUp(); });
}

// Under the save's lock, so that no other save can come between this check and the replace.
void HelpDataTexts::catchUp() {
    if (!file_.changedOnDisk())
        return;
    const std::filesystem::path path = file_.path();
    file_.read(path, HelpDataFile::ReadFor::Document);
    if (file_.losesText())
        throw VbError(vberr::PathFileAccess,
                      "The help data file '" + path.string() +
                          "' was changed by another program while the import ran and cannot be read "
                          "completely now; it is not replaced.\n" + file_.problemReport(),
                      path.string());
    document_ = file_.readDocument();
    indexRecords();
    std::vector<MergeConflict> conflicts;
    std::vector<TextSet> sets = std::move(sets_);
    sets_.clear();
    for (const TextSet& set : sets) {
        XMLElement* record = recordOf(set.module, set.key);
        const std::string now = record ? textIn(*record, set.language) : std::string();
        if (record && now == set.after)
            continue;
        if (!record || now != set.before || !setText(set.module, set.key, set.language, set.after))
            conflicts.push_back({set.module, set.key, set.language});
    }
    if (!conflicts.empty())
        throw HelpDataConflictError(path, std::move(conflicts));
}

} // namespace corvane::cli
