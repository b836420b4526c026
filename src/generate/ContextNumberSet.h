// ContextNumberSet: the context numbers a help project has met, for writing each map line once.
//
// Context numbers are handed out one after another from 1, so they are kept as bits of a
// vector that grows with the highest number met; others (0, negative or beyond 16 million,
// as a form may hold) go into a hash set. Adding costs no allocation per number.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace corvane {

class ContextNumberSet {
public:
    // Adds a number; true when it was not there before.
    bool insert(int32_t number);
    // Forgets every number.
    void clear();

private:
    static constexpr int32_t DenseLimit = 1 << 24; // numbers below are bits (2 MiB at most)

    std::vector<bool> dense_;
    std::unordered_set<int32_t> sparse_;
};

} // namespace corvane
