// ImportPlan: what importing a translator's file into a project would change, and what it
// would leave and why, worked out before anything is written.
//
// Only the file's language changes, and only where the unit's source is still the project's
// primary language text (otherwise a conflict). Units of controls the project does not have
// are unknown; a target that is empty, equal to the stored text or marked for review changes
// nothing. A file for another project, another language or primary language, or for the
// primary language itself, is refused.
// The plan is made as the file is read (ImportPlanner, an ExchangeSink): memory holds the
// changes and the first skipped units, never the file.
#pragma once

#include "exchange/ExchangeDocument.h"
#include "exchange/ProjectTexts.h"
#include "vbruntime/FoldedSlots.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::exchange {

// One text the import sets.
struct TextChange {
    std::string module;
    std::string controlKey;
    // The text before and after.
    std::string before;
    std::string after;
};

// One unit the import leaves alone, and why.
struct SkippedUnit {
    std::string id;
    std::string reason;
};

// What an import did to a unit's text to store it, and the unit.
struct UnitNote {
    std::string id;
    std::string note;
};

struct ImportPlan {
    // The project's language the file holds, spelled as the project spells it.
    std::string language;
    std::vector<TextChange> changes;
    // The skipped units, the first MaxListedSkips of them.
    std::vector<SkippedUnit> skipped;
    // Skipped units beyond those listed.
    int64_t skippedUnlisted = 0;
    // Units whose text is already the stored one.
    int64_t unchanged = 0;
    // The units whose target held control characters, and what became of them.
    std::vector<UnitNote> notes;

    // How many units are listed as skipped at most (a file of unknown units is not held).
    static constexpr size_t MaxListedSkips = 1000;
    // True when a unit was skipped.
    bool skippedAny() const { return !skipped.empty() || skippedUnlisted > 0; }
};

// Makes a translated text one a data file can hold: a vertical tab (a word processor's line
// break) becomes CR LF, the other control characters XML 1.0 does not allow are left out.
// Returns what was done, naming the characters ("" when the text was left as it was).
std::string storableText(std::string& text);

// A file the import refuses as a whole; the message names the file and the reason.
class ImportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plans an import unit by unit as a reader hands them on; raises ImportRefused.
class ImportPlanner : public ExchangeSink {
public:
    // Plans the import of the file `fileName` into `project`, which outlives the planner.
    ImportPlanner(const ProjectTexts& project, std::string fileName);

    // Refuses a file for another project or language, or for the primary language.
    void header(const ExchangeDocument& header) override;
    // Plans one unit; refuses the file when it names a control a second time.
    void unit(ExchangeUnit&& unit) override;
    // The plan, once the whole file was read.
    ImportPlan take() { return std::move(plan_); }

private:
    void skip(const ExchangeUnit& unit, std::string reason);
    // A control a unit names: its module and its place there, and its position in seen_.
    struct FoundControl {
        const ModuleTexts* module;
        const ControlTexts* control;
        size_t position;
    };
    // The control of `unit`'s id (letter case ignored); none when the project has no such control.
    std::optional<FoundControl> controlOf(const ExchangeUnit& unit);
    // The first module of that name (letter case ignored), or FoldedSlots::None.
    size_t moduleNamed(std::string_view name) const;

    const ProjectTexts& project_;
    std::string fileName_;
    ImportPlan plan_;
    // The modules by name; each module's controls are found by comparing their keys in turn,
    // from the one after the control found last, since a file lists its units in the project's
    // order. A project of a million controls takes a bit per control beyond its modules.
    FoldedSlots modules_;
    std::vector<size_t> firstPositions_; // the position in seen_ of each module's first control
    std::vector<bool> seen_;             // the controls whose unit the file held
    size_t lastModule_ = FoldedSlots::None; // where the last control was found: the next search starts after it
    size_t lastControl_ = 0;
};

// Plans the import of `document` (read from `fileName`) into `project`; raises ImportRefused.
ImportPlan planImport(const ProjectTexts& project, const ExchangeDocument& document,
                      const std::string& fileName);

} // namespace corvane::exchange
