// NamePool: names that many objects of the program hold, kept once for the whole run.
//
// A large project names the same few languages in each of a million help records, and the same
// few control types in each of its controls. An object holds a reference to the pool's copy
// instead of a string of its own: 8 bytes instead of 32, and no block for a longer name. The
// copies are never freed, so a reference stays valid on every thread until the program ends;
// a pool grows with the distinct names the program met, which are few.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// The pool's copy of `name`, spelt as given (names that differ in letter case are two names).
// Safe to call on any thread; a thread finds the names it asked for last without a lock.
const std::string& pooledName(std::string_view name);

// A field that holds one of a few names in a million objects (a record's module, a control's
// type), as the pool's copy: it reads as the `const std::string&` it refers to.
class PooledName {
public:
    // The empty name.
    PooledName() : name_(&pooledName({})) {}
    // The pool's copy of `name`.
    PooledName(std::string_view name) : name_(&pooledName(name)) {} // NOLINT: reads as a string
    PooledName(const std::string& name) : PooledName(std::string_view(name)) {}
    PooledName(const char* name) : PooledName(std::string_view(name)) {}
    // Holds the pool's copy of `name` from now on.
    PooledName& operator=(std::string_view name) {
        name_ = &pooledName(name);
        return *this;
    }
    PooledName& operator=(const std::string& name) { return *this = std::string_view(name); }
    PooledName& operator=(const char* name) { return *this = std::string_view(name); }

    // The name.
    const std::string& str() const noexcept { return *name_; }
    operator const std::string&() const noexcept { return *name_; } // NOLINT: reads as a string
    operator std::string_view() const noexcept { return *name_; }   // NOLINT: reads as a string
    // True when the name is "".
    bool empty() const noexcept { return name_->empty(); }
    // The name's length in bytes.
    size_t size() const noexcept { return name_->size(); }

    // Names are equal when their bytes are: one pool holds each spelling once.
    friend bool operator==(const PooledName& a, const PooledName& b) noexcept { return a.name_ == b.name_; }
    friend bool operator==(const PooledName& a, std::string_view b) noexcept { return *a.name_ == b; }
    friend bool operator==(const PooledName& a, const std::string& b) noexcept { return *a.name_ == b; }
    friend bool operator==(const PooledName& a, const char* b) noexcept { return *a.name_ == b; }

private:
    const std::string* name_;
};

} // namespace corvane
