#include "exchange/Coverage.h"

namespace corvane::exchange {

double LanguageCoverage::percent() const {
    return controls == 0 ? 100.0 : 100.0 * withText / controls;
}

CoverageReport computeCoverage(const ProjectTexts& project,
                               const std::vector<std::string>& languages) {
    CoverageReport report;
    for (const std::string& language : languages)
        report.languages.push_back({language, 0, 0});
    for (const ModuleTexts& module : project.modules) {
        for (LanguageCoverage& total : report.languages) {
            ModuleCoverage counts{module.name, total.language, 0, 0, {}, module.unreadable};
            for (const ControlTexts& control : module.controls) {
                ++counts.controls;
                if (control.hasText(total.language))
                    ++counts.withText;
                else
                    counts.missing.push_back(control.key);
            }
            total.controls += counts.controls;
            total.withText += counts.withText;
            report.modules.push_back(std::move(counts));
        }
    }
    return report;
}

} // namespace corvane::exchange
