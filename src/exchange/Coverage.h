// Coverage: how many controls of a project have help text, per module and language, and
// which have none: the figure a team watches, and a build can require.
#pragma once

#include "exchange/ProjectTexts.h"

#include <string>
#include <vector>

namespace corvane::exchange {

// The controls of one module in one language.
struct ModuleCoverage {
    std::string module;
    std::string language;
    int controls = 0;
    int withText = 0;
    // The keys of the controls without text, in control order.
    std::vector<std::string> missing;
    // The module's designer could not be read: its controls are those its records name.
    bool unreadable = false;
};

// The controls of the whole project in one language.
struct LanguageCoverage {
    std::string language;
    int controls = 0;
    int withText = 0;

    // The share of controls with text, in percent (100 for a project without controls).
    double percent() const;
};

struct CoverageReport {
    // Per language, in the order asked for.
    std::vector<LanguageCoverage> languages;
    // Per module, then language.
    std::vector<ModuleCoverage> modules;
};

// Counts the controls with text (more than spaces) of every module in each of `languages`.
CoverageReport computeCoverage(const ProjectTexts& project,
                               const std::vector<std::string>& languages);

} // namespace corvane::exchange
