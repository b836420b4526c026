// CoverageCommand: `corvane coverage PROJECT.vbp [--language L] [--json] [--min PERCENT]`:
// how many controls of each module have help text in each language, and which have none.
//
// Text output, per language (the project's languages, or L), then per module with controls:
//     German: 30 of 43 controls have help text (69.7%)
//       frmMain: 4 of 6; missing: lblFilter, cmdDelete
// Percentages are rounded down to a tenth. With --min, each language below PERCENT adds
//     German is below the minimum of 80%
// --json writes the same as one JSON object (project, languages with their controls,
// withText, belowMinimum and modules with controls, withText, missing).
// Exit status: 0, or 1 when a language is below --min; 2 for usage, an unknown language or a
// project that cannot be opened or read completely.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "coverage"); returns the exit status.
int runCoverage(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
