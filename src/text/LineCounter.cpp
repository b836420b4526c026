#include "text/LineCounter.h"

#include <algorithm>

namespace corvane {

int LineCounter::lineAt(std::ptrdiff_t offset) noexcept {
    if (offset < 0)
        return 0;
    const size_t end = std::min(static_cast<size_t>(offset), text_.size());
    if (end < counted_) { // before the place asked last: counted again from the start
        counted_ = 0;
        line_ = 1;
    }
    for (size_t i = counted_; i < end; ++i)
        if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n')))
            ++line_;
    counted_ = end;
    return line_;
}

} // namespace corvane
