#include "helpdata/FinishedSpans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace corvane::test {
namespace {

using Span = FinishedSpans::Span;

TEST(FinishedSpans, APageIsFreeOnceEverySpanItHoldsBytesOfIsFinished) {
    // Pages of 10 bytes; spans [3, 14), [17, 31), [31, 45) in a buffer of 58 bytes.
    FinishedSpans finished({{3, 14}, {17, 31}, {31, 45}}, 58, 10);
    EXPECT_EQ(finished.finish(1), (Span{20, 30})) << "pages 10 and 30 hold bytes of the spans around it";
    EXPECT_EQ(finished.finish(1), Span{}) << "a span finished twice";
    EXPECT_EQ(finished.finish(0), (Span{0, 20})) << "the bytes before the first span too";
    EXPECT_EQ(finished.finish(2), (Span{30, 58})) << "up to the buffer's end";
    EXPECT_EQ(finished.finish(7), Span{}) << "no such span";

    // The buffer starting 4 bytes into a page: its pages begin at bytes 6, 16, 26 ...
    FinishedSpans shifted({{3, 14}, {17, 31}, {31, 45}}, 58, 10, 4);
    EXPECT_EQ(shifted.finish(2), (Span{36, 58}));
    EXPECT_EQ(shifted.finish(0), (Span{6, 16})) << "bytes 0 to 5 share a page with what lies before";
    EXPECT_EQ(shifted.finish(1), (Span{16, 36}));

    FinishedSpans none({}, 25, 10);
    EXPECT_EQ(none.finish(0), Span{});

    // A span still read that begins at the buffer's end: the last page is answered once.
    FinishedSpans atEnd({{0, 1}, {2, 2}, {3, 3}}, 3, 4, 2);
    EXPECT_EQ(atEnd.finish(1), Span{}) << "span 2 still holds the last page";
    EXPECT_EQ(atEnd.finish(2), (Span{2, 3}));
    EXPECT_EQ(atEnd.finish(0), Span{}) << "bytes 0 and 1 share a page with what lies before";
}

TEST(FinishedSpans, InAnyOrderTheFreeBytesAreEveryByteOnceAndNoneOfASpanStillRead) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const size_t page = size_t{1} << (2 + random() % 4);
        std::vector<Span> spans;
        size_t at = random() % 9;
        const size_t count = random() % 24;
        for (size_t i = 0; i < count; ++i) {
            const size_t begin = at + random() % 12;
            spans.push_back({begin, begin + random() % 40});
            at = spans.back().end;
        }
        const size_t size = at + random() % 30;
        const size_t pageOffset = random() % page;
        FinishedSpans finished(spans, size, page, pageOffset);
        std::vector<size_t> order(count);
        std::iota(order.begin(), order.end(), size_t{0});
        std::shuffle(order.begin(), order.end(), random);
        std::vector<int> answered(size, 0);
        std::vector<char> done(count, 0);
        for (size_t index : order) {
            done[index] = 1;
            const Span free = finished.finish(index);
            ASSERT_LE(free.end, size);
            if (!free.empty()) {
                EXPECT_EQ((free.begin + pageOffset) % page, 0u) << "a free range begins with a page";
                EXPECT_TRUE(free.end == size || (free.end + pageOffset) % page == 0) << "and ends with one";
            }
            for (size_t i = free.begin; i < free.end; ++i)
                ++answered[i];
            for (size_t s = 0; s < count; ++s) {
                if (done[s])
                    continue;
                for (size_t i = spans[s].begin; i < spans[s].end; ++i)
                    ASSERT_EQ(answered[i], 0) << "byte " << i << " of span " << s << ", still read";
            }
        }
        // Once all are finished, every byte of the buffer's own pages was answered once.
        const size_t firstPage = std::min(size, (page - pageOffset) % page);
        for (size_t i = 0; i < size; ++i)
            EXPECT_EQ(answered[i], count == 0 || i < firstPage ? 0 : 1) << "byte " << i;
    }
}

} // namespace
} // namespace corvane::test
