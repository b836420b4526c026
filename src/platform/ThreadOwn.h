// ThreadOwn: an object of each thread's own, made at the thread's first call. On POSIX systems
// a thread_local object, destroyed when its thread ends. MinGW's runtime corrupts the heap
// when it destroys thread_local objects at a thread's end, so on Windows the object is made
// on the heap and left to the process's end: a thread that ends leaves its object behind.
#pragma once

namespace corvane::platform {

// The calling thread's object of type T for `Tag` (a type of the caller's own, so that two
// callers never share one).
template <typename Tag, typename T> T& threadOwn() {
#ifdef _WIN32
    thread_local T* object = nullptr;
    if (!object)
        object = new T();
    return *object;
#else
    thread_local T object;
    return object;
#endif
}

} // namespace corvane::platform
