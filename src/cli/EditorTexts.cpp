#include "cli/EditorTexts.h"

#include <algorithm>
#include <utility>

namespace corvane::cli {

namespace {

// The controls of the records, each with the texts `textsOf` gives it.
template <typename TextsOf>
exchange::ModuleTexts controlsOf(const std::string& name, const HelpItems& records, TextsOf textsOf) {
    exchange::ModuleTexts module{name, {}, false};
    module.controls.reserve(static_cast<size_t>(records.Count()));
    for (const auto& record : records) {
        if (record->gone) // kept for its text only: not a control of the project
            continue;
        module.controls.push_back({record->ControlName.str(), record->ControlType, record->Caption.str(), textsOf(*record)});
    }
    module.controls.shrink_to_fit(); // without the records kept for their text only
    return module;
}

} // namespace

exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records) {
    return controlsOf(name, records, [](const HelpItem& record) { return record.HelpTexts; });
}

exchange::ModuleTexts takeModuleTexts(const std::string& name, HelpItems& records) {
    return controlsOf(name, records, [](HelpItem& record) { return std::move(record.HelpTexts); });
}

bool isGoneModule(const HelpItems& records) {
    return records.Count() > 0 && std::all_of(records.begin(), records.end(), [](const auto& record) { return record->gone; });
}

} // namespace corvane::cli
