#include "cli/EditorTexts.h"

namespace corvane::cli {

exchange::ModuleTexts moduleTexts(const std::string& name, const HelpItems& records) {
    exchange::ModuleTexts module{name, {}};
    for (const auto& record : records) {
        exchange::ControlTexts control{record->ControlName, record->ControlType, record->Caption, {}};
        for (int32_t i = 1; i <= record->HelpTexts.Count(); ++i)
            control.texts.emplace_back(record->HelpTexts.KeyAt(i), record->HelpTexts.Item(i));
        module.controls.push_back(std::move(control));
    }
    return module;
}

} // namespace corvane::cli
