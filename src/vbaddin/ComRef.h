// ComRef: one counted reference to a COM object, released when the holder goes.
#pragma once

#include <windows.h>

#include <utility>

namespace corvane::vbaddin {

// Holds one reference to a COM interface (AddRef on copy, Release on destruction).
template <typename T> class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already owns (as an out-parameter hands one over).
    static ComRef adopt(T* pointer) {
        ComRef ref;
        ref.pointer_ = pointer;
        return ref;
    }
    // Adds a reference of its own to `pointer`.
    static ComRef share(T* pointer) {
        if (pointer)
            pointer->AddRef();
        return adopt(pointer);
    }
    ComRef(const ComRef& other) : pointer_(other.pointer_) {
        if (pointer_)
            pointer_->AddRef();
    }
    ComRef(ComRef&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComRef() { reset(); }

    // Releases the reference now.
    void reset() {
        if (T* held = std::exchange(pointer_, nullptr))
            held->Release();
    }
    // The interface, without a reference of the caller's.
    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // The place for an out-parameter; whatever was held is released first.
    T** out() {
        reset();
        return &pointer_;
    }

    // The same object asked for another interface (null when it has none).
    template <typename U> ComRef<U> query(const IID& iid) const {
        ComRef<U> other;
        if (pointer_)
            pointer_->QueryInterface(iid, reinterpret_cast<void**>(other.out()));
        return other;
    }

private:
    T* pointer_ = nullptr;
};

} // namespace corvane::vbaddin
