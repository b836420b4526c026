#include "scan/ProjectScan.h"

#include "platform/Utf8Path.h"
#include "process/ParallelFor.h"
#include "vbide/VBComponent.h"
#include "vbide/VBControl.h"
#include "vbide/VBProject.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string_view>
#include <unordered_set>

namespace corvane {

namespace {

// The control key: the name, with "(index)" for a member of a control array.
std::string controlKey(const vbide::VBControl& ctl, const std::string& name) {
    int32_t index = ctl.index();
    return index == -1 ? name : name + "(" + std::to_string(index) + ")";
}

// What the user is told about a module whose controls cannot be read.
std::string unreadablePrompt(const std::string& formName) {
    return "Corvane encountered an error getting details from one or more controls on the form or user "
           "control named '" + formName +
           "'.  Loading will continue but controls on that form / user control will not be available "
           "to enter Help text against this session.";
}

// Below this many modules per thread, another thread costs more than it saves.
constexpr size_t ModulesPerThread = 8;

// A record of a control that is gone and without text in any language: nothing to keep.
bool goneWithoutText(const std::shared_ptr<HelpItem>& record, std::string_view /*key*/) {
    return record->gone && !ProjectScan::holdsAnyText(*record);
}

} // namespace

void ScanResult::dropModules(const std::vector<std::string>& names) {
    const std::unordered_set<std::string_view> dropped(names.begin(), names.end());
    std::erase_if(modules, [&](const std::string& module) { return dropped.contains(module); });
}

const std::string* ScanResult::detailOf(const std::string& prompt) const {
    for (auto message = messages.rbegin(); message != messages.rend(); ++message)
        if (message->prompt == prompt)
            return &message->detail;
    return nullptr;
}

ProjectScan::ProjectScan(ScanRecords records, const SelectedLanguageList& selectedLanguages, KeyRecoding recoding)
    : records_(records), selectedLanguages_(selectedLanguages), recoding_(recoding),
      merged_(records.result.modules.begin(), records.result.modules.end()) {}

// The stored module of the name's earlier spelling becomes the module of this name.
void ProjectScan::takeEarlierModule(const std::string& formName) {
    std::optional<std::string> earlier = recoding_.earlierSpelling(formName);
    if (!earlier)
        return;
    int32_t at = records_.forms.PositionOf(*earlier);
    int32_t nameAt = records_.formNames.PositionOf(*earlier);
    if (at == 0 || nameAt == 0)
        return;
    records_.forms.rekey(at, formName);
    records_.formNames.rekey(nameAt, formName);
    records_.formNames.Item(nameAt) = formName;
    for (const auto& record : *records_.forms.Item(at))
        record->ComponentName = formName;
}

// The position of the record stored under the key's earlier spelling, renamed to the key, when
// no control of this scan took it yet; 0 when there is none.
int32_t ProjectScan::takeEarlierRecord(HelpItems& records, const std::string& key) const {
    std::optional<std::string> earlier = recoding_.earlierSpelling(key);
    if (!earlier)
        return 0;
    int32_t at = records.PositionOf(*earlier);
    if (at == 0 || records.Item(at)->Tag)
        return 0;
    records.rekey(at, key);
    records.Item(at)->ControlName = key;
    return at;
}

bool ProjectScan::holdsAnyText(const HelpItem& record) {
    for (std::string_view text : record.HelpTexts)
        if (text.find_first_not_of(' ') != std::string_view::npos)
            return true;
    return false;
}

// The module a component's controls merge into, found or made, unless an earlier designer of
// the project named that module (its controls are then left out).
ProjectScan::ModuleMerge ProjectScan::prepareMerge(const vbide::VBComponent& component) {
    ModuleMerge merge;
    merge.component = &component;
    const std::string& formName = component.Name();
    merge.position.formName = formName;
    if (merged_.contains(formName))
        return merge;
    if (!Utilities::ItemExists(records_.forms, formName))
        takeEarlierModule(formName);
    if (!Utilities::ItemExists(records_.forms, formName)) {
        records_.forms.Add(std::make_shared<HelpItems>(), formName);
        records_.formNames.Add(formName, formName);
    }
    merge.records = records_.forms.Item(formName).get();
    merged_.insert(formName);
    return merge;
}

// Matches the component's controls with the module's records; touches nothing else, so that
// several modules merge at once. A failure is kept for finishMerge.
void ProjectScan::runMerge(ModuleMerge& merge) const {
    if (!merge.records)
        return;
    try {
        mergeControls(*merge.component, *merge.records, merge.position, merge.highestId);
    } catch (...) {
        merge.failure = std::current_exception();
    }
}

// What follows the match, in the project's order: the lists of the scan, and the records of
// controls that are gone.
ComponentScan ProjectScan::finishMerge(const ModuleMerge& merge) {
    const vbide::VBComponent& component = *merge.component;
    const std::string& formName = merge.position.formName;
    ComponentScan result;
    // A second designer of a module merged already: its controls are not the module's, and
    // nothing of it or of the module is changed.
    if (!merge.records) {
        const std::string file = platform::utf8Of(platform::pathFromUtf8(component.FileNames(1)).filename());
        records_.result.repeatedModules.push_back(formName + " (" + file + ")");
        result.notes.push_back(formName + ": the designer in " + file +
                               " names a module that an earlier designer of the project has; it is left out");
        result.repeated = true;
        return result;
    }
    records_.highestId = std::max(records_.highestId, merge.highestId);
    HelpItems& records = *merge.records;
    try {
        if (merge.failure)
            std::rethrow_exception(merge.failure);
    } catch (const VbError& error) {
        if (error.number() != vberr::FormControlsUnreadable)
            throw;
        result.message = ScanMessage{unreadablePrompt(formName), error.description(), formName};
        records_.result.modules.push_back(formName);
        records_.result.messages.push_back(*result.message);
        result.notes.push_back(formName + ": " + error.description());
        // The stored records stay as they are (without a live control) and are saved again.
        if (!records_.unreadable.Contains(formName))
            records_.unreadable.Add(formName, formName);
        for (const auto& record : records)
            if (record->Tag)
                record->SetControl(nullptr); // no record points at a control that failed to be read
        return result;
    }
    for (const auto& warning : component.warnings())
        result.notes.push_back(warning.describe());
    // The records of controls that are gone: kept for their text, the others dropped.
    for (const auto& record : records) {
        record->gone = !record->Tag || !record->Control();
        if (record->gone && holdsAnyText(*record))
            records_.result.keptRecords.push_back(formName + "/" + record->ControlName.str());
    }
    records.removeWhere(goneWithoutText);
    records_.result.modules.push_back(formName);
    return result;
}

ComponentScan ProjectScan::mergeComponent(const vbide::VBComponent& component, ScanPosition& position) {
    ModuleMerge merge = prepareMerge(component);
    runMerge(merge);
    position = merge.position;
    return finishMerge(merge);
}

void ProjectScan::mergeComponents(const std::vector<std::shared_ptr<vbide::VBComponent>>& components,
                                  ScanPosition& position, const MergedComponent& merged) {
    std::vector<ModuleMerge> merges;
    merges.reserve(components.size());
    // Two components whose names name one module (a name and its spelling in the earlier code
    // page) would change its records at once: such a project merges one module after the other.
    std::unordered_set<const HelpItems*> modules;
    bool moduleShared = false;
    for (const auto& component : components) {
        merges.push_back(prepareMerge(*component));
        moduleShared = moduleShared || (merges.back().records && !modules.insert(merges.back().records).second);
    }
    const size_t threads = moduleShared ? 1 : std::min(parallelThreads(), merges.size() / ModulesPerThread + 1);
    forEachInParallel(merges.size(), [&](size_t i) { runMerge(merges[i]); }, threads);
    for (const ModuleMerge& merge : merges) {
        position = merge.position;
        merged(*merge.component, finishMerge(merge));
    }
}

// Steps 1 to 4: each control with a "WhatsThisHelpID" finds or gets its record, which takes
// the control's caption, type and number and is marked as matched.
void ProjectScan::mergeControls(const vbide::VBComponent& component, HelpItems& records, ScanPosition& position,
                                int32_t& highestId) const {
    auto designer = component.Designer();
    if (!designer)
        throw VbError(vberr::ObjectNotSet, "The component '" + position.formName + "' has no designer");
    vbide::VBControls& controlsOfDesigner = designer->VBControls();
    int32_t n = controlsOfDesigner.Count();
    for (int32_t i = 1; i <= n; ++i) {
        position.controlIndex = i;
        auto ctl = controlsOfDesigner.Item(i);
        // What the control's summary holds: its full property set is not needed here.
        position.controlName = ctl->name();
        std::optional<int32_t> helpId = ctl->whatsThisHelpID();
        if (!helpId)
            continue;
        std::string key = controlKey(*ctl, position.controlName);
        std::shared_ptr<HelpItem> record;
        int32_t at = records.PositionOf(key);
        if (at == 0)
            at = takeEarlierRecord(records, key);
        if (at == 0) {
            record = std::make_shared<HelpItem>(selectedLanguages_);
            records.Add(record, key);
            record->ComponentName = position.formName;
            record->ControlName = key;
        } else {
            record = records.Item(at);
        }
        record->SetControl(ctl);
        std::optional<std::string> caption = ctl->captionText();
        record->Caption = caption ? ShortText(*caption) : ShortText();
        record->ControlType = ctl->TypeName();
        // The control's number wins over the stored one, but for a number the data file gave a
        // control with text that its form does not show: a compile saves the data file before
        // it writes the forms, and one stopped in between has handed that number out already.
        if (*helpId != 0 || record->Tag || !record->hasText())
            record->ContextHelpID = *helpId;
        record->Tag = true;
        highestId = std::max(highestId, record->ContextHelpID);
    }
}

std::vector<std::string> ProjectScan::dropVanishedModules(vbide::VBProject& project) {
    // One look-up per stored module, not a walk of the project's components for each.
    std::unordered_set<std::string_view, FoldedHash, FoldedEqual> present;
    bool someNameUnknown = false;
    for (const auto& component : project.VBComponents()) {
        present.insert(component->Name());
        someNameUnknown = someNameUnknown || (isVisualComponent(component->Type()) && !component->nameIsKnown());
    }
    std::vector<std::string> dropped;
    for (const std::string& name : records_.formNames) {
        if (present.contains(name))
            continue;
        // A designer whose file gave no name may be this module: its help text is kept.
        if (!someNameUnknown)
            dropped.push_back(name);
        else if (!records_.unreadable.Contains(name))
            records_.unreadable.Add(name, name);
    }
    // Copies: the list grows below, and its short names move with its elements.
    std::unordered_set<std::string> kept(records_.result.keptModules.begin(), records_.result.keptModules.end());
    std::unordered_set<std::string, FoldedHash, FoldedEqual> emptied;
    for (const std::string& name : dropped) {
        HelpItems& records = *records_.forms.Item(name);
        for (const auto& record : records) {
            record->gone = true;
            record->SetControl(nullptr);
        }
        records.removeWhere(goneWithoutText);
        if (records.Count() == 0)
            emptied.insert(name);
        else if (kept.insert(name).second)
            records_.result.keptModules.push_back(name);
    }
    // Removed at once: each removal alone makes the lists' indexes anew.
    const auto isEmptied = [&](const auto&, std::string_view key) { return emptied.contains(key); };
    records_.formNames.removeWhere(isEmptied);
    records_.forms.removeWhere(isEmptied);
    records_.result.dropModules(dropped);
    return dropped;
}

} // namespace corvane
