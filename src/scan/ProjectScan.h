// ProjectScan: the stored help records merged with the controls of a project's designers.
//
// For each visual component, in the project's order, `mergeComponent` matches the module's
// records with its controls by control key (the name, with "(index)" for a member of a
// control array), refreshes them from the controls (caption, type name, context number),
// gives every new control with a "WhatsThisHelpID" a record, and keeps the records of controls
// that are gone, marked `gone`, for their help text (a record without text is dropped). A
// designer whose controls cannot be read keeps its records as they are, without live controls,
// and yields a message for the user. `dropVanishedModules` then treats the stored modules the
// project no longer contains alike: kept, their records gone, when they hold text. A second
// designer of a module already merged is left out and named. The scan shows nothing: the
// caller shows its messages and its progress.
#pragma once

#include "helpdata/HelpItem.h"
#include "scan/ProjectCodePageChoice.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/KeyedCollection.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace corvane {

namespace vbide {
class VBComponent;
class VBProject;
} // namespace vbide

// Where the scan is: the module, and the position and name of the control being read.
struct ScanPosition {
    std::string formName;
    int32_t controlIndex = 0;
    std::string controlName;
};

// What the user is told about a module whose controls could not be read.
struct ScanMessage {
    std::string prompt; // the message box's text
    std::string detail; // the reader's description of what went wrong
    std::string module; // the module whose controls could not be read
};

// What a scan found, for those who show it.
struct ScanResult {
    // The visual modules merged, in the project's order, without those dropped since.
    std::vector<std::string> modules;
    // The messages for modules whose controls could not be read, in the order given.
    std::vector<ScanMessage> messages;
    // The records kept for their help text whose control is gone ("module/control"), and the
    // modules kept so whose designer is gone, in the order found.
    std::vector<std::string> keptRecords;
    std::vector<std::string> keptModules;
    // The designers left out because a designer of the same module name came first: each as
    // "module (file)".
    std::vector<std::string> repeatedModules;

    // Takes dropped modules off the list.
    void dropModules(const std::vector<std::string>& names);
    // The detail of the last message with this text (null when there is none).
    const std::string* detailOf(const std::string& prompt) const;
};

// The records a scan merges into, owned by the caller. The scan changes them in place, so
// that what it did before a failure stays done.
struct ScanRecords {
    ModuleRecords& forms;   // the records per module; gains the project's visual modules
    NameList& formNames;    // the module names, in the order of `forms`
    NameList& unreadable;   // modules whose controls could not be read this session
    int32_t& highestId;     // the highest context number met so far
    ScanResult& result;     // the modules listed and the messages given
};

// The outcome of one component's merge.
struct ComponentScan {
    // Set when the component's controls could not be read; its records were kept as they are.
    std::optional<ScanMessage> message;
    // Set when an earlier designer of the project has the component's module name: it was left out.
    bool repeated = false;
    // Lines for the error log: what the component's file held that could not be taken as it
    // is, or why its controls could not be read.
    std::vector<std::string> notes;
};

class ProjectScan {
public:
    // The message box title of a module whose controls could not be read.
    static constexpr std::string_view UnreadableTitle = "Error loading control";

    // A scan into `records`; new records share the list of selected languages (the slot
    // outlives the scan). A module or control without a record of its name takes the record
    // stored under the name's spelling in `recoding`'s earlier code page, renamed.
    ProjectScan(ScanRecords records, const SelectedLanguageList& selectedLanguages, KeyRecoding recoding = {});

    // True for the component types that have a designer with controls (forms, user
    // controls, property pages, user documents, designers).
    static bool isVisualComponent(int type) { return type >= 5 && type <= 9; }

    // Merges one visual component's controls into its records; `position` follows the
    // control being read, for a report when something fails. Errors other than unreadable
    // controls are passed on.
    ComponentScan mergeComponent(const vbide::VBComponent& component, ScanPosition& position);
    // Told each component's outcome, in the components' order.
    using MergedComponent = std::function<void(const vbide::VBComponent& component, const ComponentScan& result)>;
    // Merges visual components in their order as mergeComponent does one after the other, but
    // the controls of several modules on several threads; `merged` is told each outcome in
    // turn, with `position` at that component. An error other than unreadable controls is
    // passed on at its component's turn, after those before it were told.
    void mergeComponents(const std::vector<std::shared_ptr<vbide::VBComponent>>& components, ScanPosition& position,
                         const MergedComponent& merged);
    // Takes the stored modules `project` no longer contains off the scan's list and returns
    // their names: those holding help text are kept with their records marked `gone`, the others
    // dropped. While a designer of the project has no known name, no module is touched: those
    // not found are marked unreadable instead, so that their help text is kept as it is.
    std::vector<std::string> dropVanishedModules(vbide::VBProject& project);
    // True when a record holds text in any language (also one not selected): worth keeping.
    static bool holdsAnyText(const HelpItem& record);

private:
    // One component's merge: its module's records (null when an earlier designer named the
    // module), where it stands, the highest number it met and the failure of its match.
    struct ModuleMerge {
        const vbide::VBComponent* component = nullptr;
        HelpItems* records = nullptr;
        ScanPosition position;
        int32_t highestId = 0;
        std::exception_ptr failure;
    };

    ModuleMerge prepareMerge(const vbide::VBComponent& component);
    void runMerge(ModuleMerge& merge) const;
    ComponentScan finishMerge(const ModuleMerge& merge);
    void mergeControls(const vbide::VBComponent& component, HelpItems& records, ScanPosition& position,
                       int32_t& highestId) const;
    void takeEarlierModule(const std::string& formName);
    int32_t takeEarlierRecord(HelpItems& records, const std::string& key) const;

    ScanRecords records_;
    const SelectedLanguageList& selectedLanguages_;
    KeyRecoding recoding_;
    // The modules on the scan's list and those this scan is merging (prepareMerge), for the
    // look-up of a second designer of one module.
    std::unordered_set<std::string, FoldedHash, FoldedEqual> merged_;
};

} // namespace corvane
