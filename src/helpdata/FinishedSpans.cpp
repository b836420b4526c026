#include "helpdata/FinishedSpans.h"

#include <algorithm>

namespace corvane {

FinishedSpans::FinishedSpans(std::vector<Span> spans, size_t size, size_t pageSize, size_t pageOffset)
    : spans_(std::move(spans)), finished_(spans_.size(), 0), size_(size), pageSize_(pageSize),
      pageOffset_(pageOffset % pageSize) {}

size_t FinishedSpans::pageUp(size_t at) const noexcept {
    const size_t inPage = (at + pageOffset_) % pageSize_;
    return inPage == 0 ? at : at + (pageSize_ - inPage);
}

size_t FinishedSpans::pageDown(size_t at) const noexcept {
    const size_t inPage = (at + pageOffset_) % pageSize_;
    return at < inPage ? 0 : at - inPage;
}

// The finished spans around `index` form a run, the bytes from the end of the unfinished span
// before it to the beginning of the unfinished span after it. Before this call, the whole pages
// of the runs left and right of `index` were answered; what is new lies between them.
FinishedSpans::Span FinishedSpans::finish(size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= spans_.size() || finished_[index])
        return {};
    finished_[index] = 1;
    size_t first = index;
    while (first > 0 && finished_[first - 1])
        --first;
    size_t last = index;
    while (last + 1 < spans_.size() && finished_[last + 1])
        ++last;
    const size_t runBegin = first == 0 ? 0 : spans_[first - 1].end;
    const size_t runEnd = last + 1 == spans_.size() ? size_ : spans_[last + 1].begin;
    // The whole pages of the run; a page that holds the buffer's end is whole only up to it.
    const size_t freeBegin = pageUp(runBegin);
    const size_t freeEnd = last + 1 == spans_.size() ? size_ : pageDown(runEnd);
    const size_t leftAnswered = first < index ? pageDown(spans_[index].begin) : freeBegin;
    const size_t rightAnswered = last > index ? pageUp(spans_[index].end) : freeEnd;
    const Span answer{std::max(freeBegin, leftAnswered), std::min(freeEnd, rightAnswered)};
    return answer.empty() ? Span{} : answer;
}

} // namespace corvane
