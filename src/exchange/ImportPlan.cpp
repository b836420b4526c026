#include "exchange/ImportPlan.h"

#include "text/MessageText.h"
#include "vbruntime/CaseFold.h"

#include <algorithm>

namespace corvane::exchange {

ImportPlanner::ImportPlanner(const ProjectTexts& project, std::string fileName)
    : project_(project), fileName_(std::move(fileName)) {
    modules_.reserve(project.modules.size(), project.modules.size());
    firstPositions_.reserve(project.modules.size());
    size_t controls = 0;
    for (size_t m = 0; m < project.modules.size(); ++m) {
        const std::string& name = project.modules[m].name;
        if (moduleNamed(name) == FoldedSlots::None) // the first of a name keeps it
            modules_.enter(foldedHash(name), m);
        firstPositions_.push_back(controls);
        controls += project.modules[m].controls.size();
    }
    seen_.assign(controls, false);
}

size_t ImportPlanner::moduleNamed(std::string_view name) const {
    const std::vector<ModuleTexts>& modules = project_.modules;
    return modules_.find(name, foldedHash(name), [&modules](size_t m) -> std::string_view { return modules[m].name; });
}

std::optional<ImportPlanner::FoundControl> ImportPlanner::controlOf(const ExchangeUnit& unit) {
    // The id names the module, then the control after the first "/" (no name holds one).
    const std::string_view id = unit.id;
    const size_t slash = id.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = id.substr(slash + 1);
    const size_t m = moduleNamed(id.substr(0, slash));
    if (m == FoldedSlots::None)
        return std::nullopt;
    const ModuleTexts& module = project_.modules[m];
    const size_t start = m == lastModule_ ? lastControl_ + 1 : 0;
    for (size_t step = 0; step < module.controls.size(); ++step) {
        const size_t c = (start + step) % module.controls.size();
        if (equalsIgnoreCase(module.controls[c].key, key)) {
            lastModule_ = m;
            lastControl_ = c;
            return FoundControl{&module, &module.controls[c], firstPositions_[m] + c};
        }
    }
    return std::nullopt;
}

namespace {

// "U+0001" for a character code.
std::string codePointName(unsigned char c) {
    static constexpr char digits[] = "0123456789ABCDEF";
    return std::string("U+00") + digits[c >> 4] + digits[c & 0xF];
}

} // namespace

std::string storableText(std::string& text) {
    auto forbidden = [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    };
    if (std::ranges::none_of(text, forbidden))
        return {};
    bool verticalTab = false;
    std::vector<unsigned char> dropped;
    std::string stored;
    for (char c : text) {
        if (c == '\v') {
            verticalTab = true;
            stored += "\r\n";
        } else if (!forbidden(c)) {
            stored += c;
        } else if (std::ranges::find(dropped, static_cast<unsigned char>(c)) == dropped.end()) {
            dropped.push_back(static_cast<unsigned char>(c));
        }
    }
    text = std::move(stored);
    std::string note = verticalTab ? "its vertical tab (U+000B) became a line break" : "";
    if (!dropped.empty()) {
        std::ranges::sort(dropped);
        note += std::string(note.empty() ? "" : "; ") + "the control character" + (dropped.size() > 1 ? "s " : " ");
        for (size_t i = 0; i < dropped.size(); ++i)
            note += (i == 0 ? "" : ", ") + codePointName(dropped[i]);
        note += dropped.size() > 1 ? ", which a data file cannot hold, were left out"
                                   : ", which a data file cannot hold, was left out";
    }
    return note;
}

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
    if (std::string note = storableText(unit.target); !note.empty())
        plan_.notes.push_back({unit.id, std::move(note)});
    const std::optional<FoundControl> found = controlOf(unit);
    if (!found)
        return skip(unit, "unknown unit: the project has no control '" + unit.controlKey + "' in a module '" +
                              unit.module + "'");
    const auto [module, control, position] = *found;
    if (seen_[position])
        throw ImportRefused(fileName_ + " holds the unit '" + unit.id + "' twice; nothing was imported");
    seen_[position] = true;
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
