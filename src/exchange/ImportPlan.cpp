#include "exchange/ImportPlan.h"

#include "text/MessageText.h"
#include "vbruntime/CaseFold.h"

#include <unordered_map>
#include <unordered_set>

namespace corvane::exchange {

namespace {

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

ImportPlanner::ImportPlanner(const ProjectTexts& project, std::string fileName)
    : project_(project), fileName_(std::move(fileName)), controls_(controlsById(project)) {}

void ImportPlanner::header(const ExchangeDocument& document) {
    const ProjectTexts& project = project_;
    if (!equalsIgnoreCase(document.project, project.project))
        throw ImportRefused(fileName_ + " was exported from the project '" + document.project +
                            "', not from '" + project.project + "'; nothing was imported");
    if (project.languageNamed(document.targetLanguage).empty())
        throw ImportRefused(fileName_ + " holds text in '" + document.targetLanguage +
                            "', which is not a language of " + project.project + " (" +
                            joined(project.languages) + "); nothing was imported");
    if (equalsIgnoreCase(document.targetLanguage, project.primaryLanguage))
        throw ImportRefused(fileName_ + " holds text in '" + document.targetLanguage +
                            "', the primary language of " + project.project +
                            "; an import changes only the other languages; nothing was imported");
    if (!equalsIgnoreCase(document.sourceLanguage, project.primaryLanguage))
        throw ImportRefused(fileName_ + " was exported with '" + document.sourceLanguage +
                            "' as source, but the primary language of " + project.project +
                            " is '" + project.primaryLanguage +
                            "'; export the file again; nothing was imported");
    plan_.language = project.languageNamed(document.targetLanguage);
}

void ImportPlanner::skip(const ExchangeUnit& unit, std::string reason) {
    if (plan_.skipped.size() < ImportPlan::MaxListedSkips)
        plan_.skipped.push_back({unit.id, std::move(reason)});
    else
        ++plan_.skippedUnlisted;
}

void ImportPlanner::unit(ExchangeUnit&& unit) {
    if (!unit.problem.empty())
        return skip(unit, unit.problem);
    auto found = controls_.find(foldCase(unit.id));
    if (found == controls_.end())
        return skip(unit, "unknown unit: the project has no control '" + unit.controlKey + "' in a module '" +
                              unit.module + "'");
    const auto& [module, control] = found->second;
    if (!seen_.insert(control).second)
        throw ImportRefused(fileName_ + " holds the unit '" + unit.id + "' twice; nothing was imported");
    const std::string& primary = project_.primaryLanguage;
    if (!control->hasText(primary))
        return skip(unit, "unknown unit: the control has no " + primary + " text, so no unit is exported for it");
    const std::string_view current = control->text(plan_.language);
    if (unit.target == current)
        ++plan_.unchanged;
    else if (unit.source != control->text(primary))
        skip(unit, "conflict: the " + primary + " text changed since the export; the " + plan_.language +
                       " text stays");
    else if (unit.target.empty())
        skip(unit, "no translation in the file; the " + plan_.language + " text stays");
    else if (unit.needsReview)
        skip(unit, "marked for review (fuzzy); the " + plan_.language + " text stays");
    else
        plan_.changes.push_back({module->name, control->key, std::string(current), std::move(unit.target)});
}

ImportPlan planImport(const ProjectTexts& project, const ExchangeDocument& document,
                      const std::string& fileName) {
    ImportPlanner planner(project, fileName);
    planner.header(document);
    for (ExchangeUnit unit : document.units)
        planner.unit(std::move(unit));
    return planner.take();
}

} // namespace corvane::exchange
