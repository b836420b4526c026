// errorNumberOf: the VB error number an action raises, 0 when it raises none.
#pragma once

#include "support/VbError.h"

#include <functional>

namespace corvane::controls::test {

inline int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VbError& error) {
        return error.number();
    }
    return 0;
}

} // namespace corvane::controls::test
