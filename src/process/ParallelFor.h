// ParallelFor: runs independent pieces of work on the calling thread and a few more.
//
//   forEachInParallel(modules.size(), [&](size_t i) { read(modules[i]); });
//
// Each index in [0, count) is run exactly once, in no given order; the call returns when all
// have run. The first exception a piece throws is rethrown here once every thread has stopped;
// pieces not started by then are skipped. When no thread can be had, the calling thread runs
// them all. The pieces must not share anything they change.
#pragma once

#include <cstddef>
#include <functional>

namespace corvane {

// The threads forEachInParallel runs on when not told: one per core, at most four.
size_t parallelThreads();

// Runs `work(i)` for every i below `count`, on up to `maxThreads` threads (the caller's included;
// 0 means parallelThreads()).
void forEachInParallel(size_t count, const std::function<void(size_t)>& work, size_t maxThreads = 0);

} // namespace corvane
