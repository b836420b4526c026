#include "exchange/ImportPlan.h"

#include "support/CaseFold.h"
#include "support/MessageText.h"

#include <unordered_map>
#include <unordered_set>

namespace corvane::exchange {

namespace {

// Refuses a file made for another project, language or primary language, or with a unit twice.
void checkFileFits(const ProjectTexts& project, const ExchangeDocument& document,
                   const std::string& fileName) {
    if (!equalsIgnoreCase(document.project, project.project))
        throw ImportRefused(fileName + " was exported from the project '" + document.project +
                            "', not from '" + project.project + "'; nothing was imported");
    if (project.languageNamed(document.targetLanguage).empty())
        throw ImportRefused(fileName + " holds text in '" + document.targetLanguage +
                            "', which is not a language of " + project.project + " (" +
                            joined(project.languages) + "); nothing was imported");
    if (!equalsIgnoreCase(document.sourceLanguage, project.primaryLanguage))
        throw ImportRefused(fileName + " was exported with '" + document.sourceLanguage +
                            "' as source, but the primary language of " + project.project +
                            " is '" + project.primaryLanguage +
                            "'; export the file again; nothing was imported");
    std::unordered_set<std::string> seen;
    for (const ExchangeUnit& unit : document.units)
        if (!unit.id.empty() && !seen.insert(foldCase(unit.id)).second)
            throw ImportRefused(fileName + " holds the unit '" + unit.id +
                                "' twice; nothing was imported");
}

// The controls that have units, by folded unit id.
std::unordered_map<std::string, std::pair<const ModuleTexts*, const ControlTexts*>>
controlsById(const ProjectTexts& project) {
    std::unordered_map<std::string, std::pair<const ModuleTexts*, const ControlTexts*>> index;
    for (const ModuleTexts& module : project.modules)
        for (const ControlTexts& control : module.controls)
            index.emplace(foldCase(unitId(module.name, control.key)),
                          std::make_pair(&module, &control));
    return index;
}

} // namespace

ImportPlan planImport(const ProjectTexts& project, const ExchangeDocument& document,
                      const std::string& fileName) {
    checkFileFits(project, document, fileName);
    ImportPlan plan;
    plan.language = project.languageNamed(document.targetLanguage);
    const std::string& primary = project.primaryLanguage;
    auto index = controlsById(project);
    for (const ExchangeUnit& unit : document.units) {
        auto skip = [&](const std::string& reason) { plan.skipped.push_back({unit.id, reason}); };
        if (!unit.problem.empty()) {
            skip(unit.problem);
            continue;
        }
        auto found = index.find(foldCase(unit.id));
        if (found == index.end()) {
            skip("unknown unit: the project has no control '" + unit.controlKey +
                 "' in a module '" + unit.module + "'");
            continue;
        }
        const auto& [module, control] = found->second;
        if (!control->hasText(primary)) {
            skip("unknown unit: the control has no " + primary +
                 " text, so no unit is exported for it");
            continue;
        }
        const std::string& current = control->text(plan.language);
        if (unit.target == current) {
            ++plan.unchanged;
        } else if (unit.source != control->text(primary)) {
            skip("conflict: the " + primary + " text changed since the export; the " +
                 plan.language + " text stays");
        } else if (unit.target.empty()) {
            skip("no translation in the file; the " + plan.language + " text stays");
        } else if (unit.needsReview) {
            skip("marked for review (fuzzy); the " + plan.language + " text stays");
        } else {
            plan.changes.push_back({module->name, control->key, current, unit.target});
        }
    }
    return plan;
}

} // namespace corvane::exchange
