// VbErrors: what an action under test raises, for checks on VB error numbers and texts.
#pragma once

#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace corvane::test {

// The VB error number `action` raises, 0 when it raises none; the error's description goes
// to `description` when one is asked for.
inline int errorNumberOf(const std::function<void()>& action, std::string* description = nullptr) {
    try {
        action();
    } catch (const VbError& error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

// The VB error `action` raises; a failure of the test (and error 0) when it raises none.
inline VbError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VbError& error) {
        return error;
    }
    ADD_FAILURE() << "no VB error raised";
    return VbError(0, "none");
}

} // namespace corvane::test
