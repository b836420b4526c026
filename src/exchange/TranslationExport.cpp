#include "exchange/TranslationExport.h"

namespace corvane::exchange {

ExchangeDocument exportLanguage(const ProjectTexts& project, const std::string& language,
                                const std::string& sourceTag, const std::string& targetTag) {
    ExchangeDocument document;
    document.project = project.project;
    document.sourceLanguage = project.primaryLanguage;
    document.targetLanguage = language;
    document.sourceTag = sourceTag;
    document.targetTag = targetTag;
    for (const ModuleTexts& module : project.modules) {
        for (const ControlTexts& control : module.controls) {
            if (!control.hasText(project.primaryLanguage))
                continue;
            ExchangeUnit unit;
            unit.id = unitId(module.name, control.key);
            unit.module = module.name;
            unit.controlKey = control.key;
            unit.controlType = control.type;
            unit.caption = control.caption;
            unit.source = control.text(project.primaryLanguage);
            unit.target = control.text(language);
            document.units.push_back(std::move(unit));
        }
    }
    return document;
}

} // namespace corvane::exchange
