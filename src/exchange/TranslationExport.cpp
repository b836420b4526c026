#include "exchange/TranslationExport.h"

namespace corvane::exchange {

ExchangeDocument exportHeader(const ProjectTexts& project, const std::string& language, const std::string& sourceTag,
                              const std::string& targetTag) {
    ExchangeDocument document;
    document.project = project.project;
    document.sourceLanguage = project.primaryLanguage;
    document.targetLanguage = language;
    document.sourceTag = sourceTag;
    document.targetTag = targetTag;
    return document;
}

UnitSource exportUnits(const ProjectTexts& project, const std::string& language) {
    return [&project, language](const UnitVisitor& visit) {
        ExchangeUnit unit;
        for (const ModuleTexts& module : project.modules) {
            for (const ControlTexts& control : module.controls) {
                if (!control.hasText(project.primaryLanguage))
                    continue;
                unit.id = unitId(module.name, control.key);
                unit.module = module.name;
                unit.controlKey = control.key;
                unit.controlType = control.type;
                unit.caption = control.caption;
                unit.source = control.text(project.primaryLanguage);
                unit.target = control.text(language);
                visit(unit);
            }
        }
    };
}

size_t exportUnitCount(const ProjectTexts& project) {
    size_t count = 0;
    for (const ModuleTexts& module : project.modules)
        for (const ControlTexts& control : module.controls)
            count += control.hasText(project.primaryLanguage) ? 1 : 0;
    return count;
}

ExchangeDocument exportLanguage(const ProjectTexts& project, const std::string& language,
                                const std::string& sourceTag, const std::string& targetTag) {
    ExchangeDocument document = exportHeader(project, language, sourceTag, targetTag);
    exportUnits(project, language)([&](const ExchangeUnit& unit) { document.units.push_back(unit); });
    return document;
}

} // namespace corvane::exchange
