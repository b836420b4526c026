// OutOfMemory: running out of memory raises std::bad_alloc in the programs, which the command
// line reports with a message, never an abort.
//
// mimalloc is built as C: its `new` cannot raise std::bad_alloc, and when an allocation fails it
// ends the process (SIGABRT, exit status 134, no word). The programs replace the throwing forms
// of `new` with ones that allocate from the same heap and raise std::bad_alloc as the C++
// library's would (after the new handler, if one is installed); `delete` stays mimalloc's.
// Include this header in the one source file of a program that holds its main().
#pragma once

#include <cstddef>
#include <new>

#ifdef CORVANE_WITH_MIMALLOC
#include <mimalloc.h>

namespace corvane {

// Memory for `new`: from mimalloc, or std::bad_alloc once the new handler (if any) gives up.
inline void* allocateForNew(std::size_t size) {
    for (;;) {
        if (void* memory = mi_malloc(size == 0 ? 1 : size))
            return memory;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

} // namespace corvane

void* operator new(std::size_t size) { return corvane::allocateForNew(size); }
void* operator new[](std::size_t size) { return corvane::allocateForNew(size); }

#ifdef CORVANE_MIMALLOC_NEW_DELETE
// Where mimalloc replaces no allocator itself (linked statically on Windows), every other form
// of new and delete goes to it here too, so that no memory is freed on another heap.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return mi_malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return mi_malloc(size == 0 ? 1 : size); }
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* memory = mi_malloc_aligned(size == 0 ? 1 : size, static_cast<std::size_t>(alignment)))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return operator new(size, alignment); }
void operator delete(void* memory) noexcept { mi_free(memory); }
void operator delete[](void* memory) noexcept { mi_free(memory); }
void operator delete(void* memory, std::size_t) noexcept { mi_free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { mi_free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { mi_free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { mi_free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { mi_free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { mi_free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { mi_free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { mi_free(memory); }
#endif
#endif
