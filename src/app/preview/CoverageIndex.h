// CoverageIndex: the help text records of one module by the live control they belong to, so
// that the preview can tell for each control drawn whether it has help text in a language.
#pragma once

#include "app/preview/SketchPainter.h"
#include "helpdata/HelpItem.h"

#include <string>
#include <unordered_map>

namespace corvane::app {

class CoverageIndex {
public:
    // An index over `records` (null: no records) for help text in `language`.
    CoverageIndex(const HelpItems* records, std::string language);

    // The record of a drawn control (its row in the grid), or null.
    const HelpItem* recordOf(const preview::SketchItem& item) const;
    // The record's position in the module's records, from 1 (0 when it has none).
    int32_t recordIndexOf(const preview::SketchItem& item) const;
    // Whether the control has help text in the language (text other than spaces).
    Coverage coverageOf(const preview::SketchItem& item) const;
    // The language asked about.
    const std::string& language() const noexcept { return language_; }

private:
    std::unordered_map<const vbide::VBControl*, std::pair<const HelpItem*, int32_t>> byControl_;
    std::string language_;
};

} // namespace corvane::app
