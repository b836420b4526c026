#include "vbruntime/NamePool.h"

#include <algorithm>
#include <array>
#include <functional>
#include <mutex>
#include <unordered_set>

namespace corvane {

namespace {

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
};

struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};

// The pool's copy of `name`, looked up under the pool's lock.
const std::string& lookedUp(std::string_view name) {
    static std::mutex mutex;
    // Never freed: threads that outlive main's return may still read the names.
    static auto* names = new std::unordered_set<std::string, NameHash, NameEqual>;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = names->find(name);
    return *(found != names->end() ? found : names->emplace(name).first);
}

} // namespace

const std::string& pooledName(std::string_view name) {
    if (name.empty()) { // every record and control starts with it
        static const std::string& none = lookedUp({});
        return none;
    }
    // A form's controls are of a handful of types, a file's records of a handful of languages.
    thread_local std::array<const std::string*, 16> recent{};
    for (const std::string* known : recent)
        if (known && *known == name)
            return *known;
    const std::string* pooled = &lookedUp(name);
    std::copy_backward(recent.begin(), recent.end() - 1, recent.end());
    recent[0] = pooled;
    return *pooled;
}

} // namespace corvane
