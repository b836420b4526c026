#include "process/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace corvane {
namespace {

TEST(ParallelFor, RunsEveryIndexOnceOnAtMostTheThreadsAllowed) {
    std::vector<std::atomic<int>> runs(5000);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    forEachInParallel(runs.size(), [&](size_t i) {
        ++runs[i];
        std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
    }, 3);
    for (size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i], 1) << i;
    EXPECT_GE(threads.size(), 1u);
    EXPECT_LE(threads.size(), 3u);

    std::set<std::thread::id> alone;
    forEachInParallel(50, [&](size_t) { alone.insert(std::this_thread::get_id()); }, 1);
    EXPECT_EQ(alone, std::set<std::thread::id>{std::this_thread::get_id()});

    bool called = false;
    forEachInParallel(0, [&](size_t) { called = true; });
    EXPECT_FALSE(called);
}

TEST(ParallelFor, TheFirstFailureComesBackAfterEveryThreadStopped) {
    std::atomic<int> running{0};
    std::atomic<int> done{0};
    auto work = [&](size_t i) {
        ++running;
        if (i == 7)
            throw std::runtime_error("piece 7 failed");
        std::this_thread::yield();
        --running;
        ++done;
    };
    try {
        forEachInParallel(1000, work, 4);
        FAIL() << "the failure was not passed on";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "piece 7 failed");
    }
    EXPECT_EQ(running, 1); // only the failed piece did not finish: no thread runs on

    done = 0; // on one thread, the pieces after the failure are skipped
    EXPECT_THROW(forEachInParallel(1000, work, 1), std::runtime_error);
    EXPECT_EQ(done, 7);
}

} // namespace
} // namespace corvane
