// ThreadOwn: an object of each thread's own, made at the thread's first call.
//
// On POSIX systems the object is destroyed when its thread ends, through a pthread key rather
// than a thread_local object with a destructor: glibc registers such an object's destructor with
// a small allocation at the thread's first use, and when that allocation fails (the process out
// of memory) glibc aborts instead of letting `new` throw. A key is made once, without
// allocating per thread. The main thread's object is left to the process's end.
// MinGW's runtime corrupts the heap when it destroys thread_local objects at a thread's end, so
// on Windows the object is made on the heap and left to the process's end: a thread that ends
// leaves its object behind.
#pragma once

#include <memory>
#include <new>

#ifndef _WIN32
#include <pthread.h>
#include <system_error>
#endif

namespace corvane::platform {

// The calling thread's object of type T for `Tag` (a type of the caller's own, so that two
// callers never share one). Throws std::bad_alloc when there is no memory for it.
template <typename Tag, typename T> T& threadOwn() {
    thread_local T* object = nullptr; // no destructor: nothing is registered for the thread
    if (object)
        return *object;
    auto made = std::make_unique<T>();
#ifndef _WIN32
    static const pthread_key_t key = [] {
        pthread_key_t created{};
        if (int error = pthread_key_create(&created, [](void* value) { delete static_cast<T*>(value); }))
            throw std::system_error(error, std::generic_category(), "pthread_key_create");
        return created;
    }();
    if (pthread_setspecific(key, made.get()) != 0)
        throw std::bad_alloc();
#endif
    object = made.release();
    return *object;
}

} // namespace corvane::platform
