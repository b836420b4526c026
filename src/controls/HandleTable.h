// HandleTable: window handles (hWnd) and the process-wide lookup from a handle to its object.
//
// Every control and window gets a non-zero handle that is unique in the process and never
// reused, so a component handed a handle (the spell checker attaching to a text box) finds
// the object, or nothing once it is gone.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace corvane::controls {

// A new window handle: non-zero, never handed out before in this process.
int32_t newWindowHandle();

template <typename T>
class HandleTable {
public:
    // Registers an object and returns its new handle.
    int32_t add(T* object) {
        int32_t handle = newWindowHandle();
        std::lock_guard lock(mutex_);
        objects_[handle] = object;
        return handle;
    }

    // Forgets a handle (no effect when it is unknown).
    void remove(int32_t handle) {
        std::lock_guard lock(mutex_);
        objects_.erase(handle);
    }

    // The object of a handle, or nullptr when there is none (any more).
    T* find(int32_t handle) const {
        std::lock_guard lock(mutex_);
        auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : it->second;
    }

    // Every registered object, in the order of their handles (oldest first).
    std::vector<T*> all() const {
        std::lock_guard lock(mutex_);
        std::vector<T*> result;
        result.reserve(objects_.size());
        for (const auto& entry : objects_)
            result.push_back(entry.second);
        return result;
    }

private:
    mutable std::mutex mutex_;
    std::map<int32_t, T*> objects_;
};

} // namespace corvane::controls
