// Timing: wall-clock measurements for the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace corvane::bench {

// The time one run of `work` takes, in milliseconds.
inline double millisecondsOf(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The shortest of `runs` runs of `work`, in milliseconds.
inline double bestOf(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, millisecondsOf(work));
    return best;
}

} // namespace corvane::bench
