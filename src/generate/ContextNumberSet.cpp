#include "generate/ContextNumberSet.h"

#include <algorithm>

namespace corvane {

bool ContextNumberSet::insert(int32_t number) {
    if (number < 0 || number >= DenseLimit)
        return sparse_.insert(number).second;
    auto index = static_cast<size_t>(number);
    if (index >= dense_.size())
        dense_.resize(std::max(index + 1, dense_.size() * 2));
    if (dense_[index])
        return false;
    dense_[index] = true;
    return true;
}

void ContextNumberSet::clear() {
    dense_.clear();
    sparse_.clear();
}

} // namespace corvane
