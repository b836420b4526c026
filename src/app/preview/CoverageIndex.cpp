#include "app/preview/CoverageIndex.h"

namespace corvane::app {

CoverageIndex::CoverageIndex(const HelpItems* records, std::string language) : language_(std::move(language)) {
    if (!records)
        return;
    int32_t position = 0;
    for (const auto& record : *records) {
        ++position;
        if (record->Control())
            byControl_.emplace(record->Control().get(), std::make_pair(record.get(), position));
    }
}

const HelpItem* CoverageIndex::recordOf(const preview::SketchItem& item) const {
    auto found = byControl_.find(item.control);
    return found == byControl_.end() ? nullptr : found->second.first;
}

int32_t CoverageIndex::recordIndexOf(const preview::SketchItem& item) const {
    auto found = byControl_.find(item.control);
    return found == byControl_.end() ? 0 : found->second.second;
}

Coverage CoverageIndex::coverageOf(const preview::SketchItem& item) const {
    const HelpItem* record = item.control ? recordOf(item) : nullptr;
    if (!record)
        return Coverage::NotListed;
    const std::string_view text = record->textIn(language_);
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos ? Coverage::WithoutText : Coverage::WithText;
}

} // namespace corvane::app
