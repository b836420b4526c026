// ImportPlan: what importing a translator's file into a project would change, and what it
// would leave and why, worked out before anything is written.
//
// Only the file's language changes, and only where the unit's source is still the project's
// primary language text (otherwise a conflict). Units of controls the project does not have
// are unknown; a target that is empty, equal to the stored text or marked for review changes
// nothing. A file for another project, another language or primary language is refused.
#pragma once

#include "exchange/ExchangeDocument.h"
#include "exchange/ProjectTexts.h"

#include <stdexcept>
#include <string>
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

struct ImportPlan {
    // The project's language the file holds, spelled as the project spells it.
    std::string language;
    std::vector<TextChange> changes;
    std::vector<SkippedUnit> skipped;
    // Units whose text is already the stored one.
    int unchanged = 0;
};

// A file the import refuses as a whole; the message names the file and the reason.
class ImportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Plans the import of `document` (read from `fileName`) into `project`; raises ImportRefused.
ImportPlan planImport(const ProjectTexts& project, const ExchangeDocument& document,
                      const std::string& fileName);

} // namespace corvane::exchange
