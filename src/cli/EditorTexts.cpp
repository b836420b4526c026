#include "cli/EditorTexts.h"

#include <algorithm>

namespace corvane::cli {

exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records) {
    exchange::ModuleTexts module{name, {}, false};
    for (const auto& record : records) {
        if (record->gone) // kept for its text only: not a control of the project
            continue;
        exchange::ControlTexts control{record->ControlName, record->ControlType, record->Caption, {}};
        for (int32_t i = 1; i <= record->HelpTexts.Count(); ++i)
            control.texts.emplace_back(record->HelpTexts.KeyAt(i), record->HelpTexts.Item(i));
        module.controls.push_back(std::move(control));
    }
    return module;
}

bool isGoneModule(const HelpItems& records) {
    return records.Count() > 0 && std::all_of(records.begin(), records.end(), [](const auto& record) { return record->gone; });
}

} // namespace corvane::cli
