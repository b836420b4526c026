// ScopedEnvironment: an environment variable set for one test, then restored.
#pragma once

#include "platform/AppFolders.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace corvane::test {

// Sets an environment variable for the lifetime of this object, then restores it.
class ScopedEnvironment {
public:
    // Sets `name` to `value`; an empty optional removes it.
    ScopedEnvironment(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str()))
            previous_ = old;
        if (value)
            platform::setEnvironmentVariable(name_.c_str(), value->c_str());
        else
            platform::setEnvironmentVariable(name_.c_str(), nullptr);
    }
    ~ScopedEnvironment() {
        if (previous_)
            platform::setEnvironmentVariable(name_.c_str(), previous_->c_str());
        else
            platform::setEnvironmentVariable(name_.c_str(), nullptr);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace corvane::test
