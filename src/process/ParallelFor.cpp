#include "process/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace corvane {

namespace {

// More threads than this seldom pay on a desktop machine for the work given here, which is
// bounded by memory as much as by the processor.
constexpr size_t MostThreads = 4;

// The shared state of one call: the next index to take and the first failure.
class WorkQueue {
public:
    WorkQueue(size_t count, const std::function<void(size_t)>& work) : count_(count), work_(work) {}

    // Takes and runs pieces until none is left or one has failed.
    void drain() noexcept {
        for (size_t i = next_++; i < count_ && !failed_; i = next_++) {
            try {
                work_(i);
            } catch (...) {
                std::lock_guard lock(failureMutex_);
                if (!failure_)
                    failure_ = std::current_exception();
                failed_ = true;
            }
        }
    }
    // Rethrows the first failure, if any.
    void rethrow() const {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    const size_t count_;
    const std::function<void(size_t)>& work_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

} // namespace

size_t parallelThreads() {
    return std::clamp<size_t>(std::thread::hardware_concurrency(), 1, MostThreads);
}

void forEachInParallel(size_t count, const std::function<void(size_t)>& work, size_t maxThreads) {
    WorkQueue queue(count, work);
    std::vector<std::thread> helpers;
    const size_t threads = std::min(maxThreads == 0 ? parallelThreads() : maxThreads, count);
    for (size_t t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back([&queue] { queue.drain(); });
        } catch (const std::system_error&) {
            break; // no more threads to be had: those started and this one do the work
        }
    }
    queue.drain();
    for (std::thread& helper : helpers)
        helper.join();
    queue.rethrow();
}

} // namespace corvane
