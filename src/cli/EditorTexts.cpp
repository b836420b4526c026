#include "cli/EditorTexts.h"

#include <algorithm>

namespace corvane::cli {

exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records) {
    exchange::ModuleTexts module{name, {}, false};
    for (const auto& record : records) {
        if (record->gone) // kept for its text only: not a control of the project
            continue;
        module.controls.push_back({record->ControlName.str(), record->ControlType, record->Caption.str(), record->HelpTexts});
    }
    return module;
}

bool isGoneModule(const HelpItems& records) {
    return records.Count() > 0 && std::all_of(records.begin(), records.end(), [](const auto& record) { return record->gone; });
}

} // namespace corvane::cli
