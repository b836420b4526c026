// FinishedSpans: which memory pages of a buffer a reader no longer needs, while it reads spans of
// the buffer one by one, in any order and on any thread.
//
// A reader that has taken what it needs from a large buffer gives the buffer's pages back as it
// goes (platform::releaseWholePages). Giving back only the pages wholly inside each finished span
// keeps the pages a span shares with its neighbours, and the bytes between spans: about a page
// per span, which in a file of a few thousand spans is as much as a tenth of its size. Here a page
// is free once every span it touches is finished; the bytes outside the spans are taken as no
// longer needed at all.
//
//   FinishedSpans finished(spans, bytes.size(), pageSize);   // spans sorted, not overlapping
//   ... on any thread, once span i is read:
//   FinishedSpans::Span free = finished.finish(i);
//   if (!free.empty()) releaseWholePages(bytes.data() + free.begin, free.size());
// Each free byte range is answered once, so that ranges answered on different threads do not
// overlap.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace corvane {

class FinishedSpans {
public:
    // The bytes [begin, end) of the buffer.
    struct Span {
        size_t begin = 0;
        size_t end = 0;
        // True when the span holds no byte.
        bool empty() const noexcept { return end <= begin; }
        // The number of bytes in the span.
        size_t size() const noexcept { return empty() ? 0 : end - begin; }
        friend bool operator==(const Span&, const Span&) = default;
    };

    // Spans of a buffer of `size` bytes, sorted by place and not overlapping; its pages are
    // `pageSize` bytes, counted from the buffer's first byte at `pageOffset` bytes into a page.
    FinishedSpans(std::vector<Span> spans, size_t size, size_t pageSize, size_t pageOffset = 0);

    // Marks span `index` (from 0) finished. Returns the bytes, whole pages only, that no span
    // still being read touches and that no earlier call returned; empty when there are none.
    Span finish(size_t index);

private:
    // The first byte at or after `at` where a page begins, and the last at or before it.
    size_t pageUp(size_t at) const noexcept;
    size_t pageDown(size_t at) const noexcept;

    std::vector<Span> spans_;
    std::vector<char> finished_;
    size_t size_;
    size_t pageSize_;
    size_t pageOffset_;
    std::mutex mutex_;
};

} // namespace corvane
