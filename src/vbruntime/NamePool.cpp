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

} // namespace

const std::string& pooledName(std::string_view name) {
    // A form's controls are of a handful of types, a file's records of a handful of languages.
    thread_local std::array<const std::string*, 16> recent{};
    for (const std::string* known : recent)
        if (known && *known == name)
            return *known;
    static std::mutex mutex;
    // Never freed: threads that outlive main's return may still read the names.
    static auto* names = new std::unordered_set<std::string, NameHash, NameEqual>;
    const std::string* pooled = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto found = names->find(name);
        pooled = &*(found != names->end() ? found : names->emplace(name).first);
    }
    std::copy_backward(recent.begin(), recent.end() - 1, recent.end());
    recent[0] = pooled;
    return *pooled;
}

} // namespace corvane
