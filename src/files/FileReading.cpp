#include "files/FileReading.h"

#include "files/FileFailures.h"
#include "files/ProcessMarker.h"
#include "files/RegularFile.h"
#include "files/SaveLock.h"
#include "platform/SystemFiles.h"
#include "platform/ThreadOwn.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

namespace corvane {

namespace fs = std::filesystem;
namespace sys = platform;

namespace {

// Opens a regular file for reading (RegularFile.h); VbError 53 when it does not exist, 75 when
// it cannot be opened or is no regular file.
int openForReading(const fs::path& path) {
    if (stepFaulted(AtomicStep::Read, path))
        failFileStep(path, "open", errno);
    return openRegularFile(path);
}

// Reads the whole file open as `fd` (from its start, whatever its offset) into a buffer that
// `grow` gives a capacity (keeping what it holds): first the file's size and one byte more, so
// that a file that grew meanwhile is still read whole, no copies through a buffer. Returns the
// number of bytes read.
size_t readWholeOf(int fd, const fs::path& path, const std::function<char*(size_t capacity)>& grow) {
    sys::FileStatus info;
    size_t expected = sys::statusOf(fd, info) && info.kind == sys::FileKind::Regular ? static_cast<size_t>(info.size) : 0;
    size_t capacity = expected > 0 ? expected + 1 : 65536;
    char* data = grow(capacity);
    size_t filled = 0;
    for (;;) {
        if (filled == capacity)
            data = grow(capacity *= 2);
        long long n = sys::readAt(fd, data + filled, capacity - filled, filled);
        if (n == 0)
            return filled;
        if (n < 0)
            failFileStep(path, "read", errno);
        filled += static_cast<size_t>(n);
    }
}

// The same for the file at `path`.
size_t readWhole(const fs::path& path, const std::function<char*(size_t capacity)>& grow) {
    struct Closer {
        int fd;
        ~Closer() { sys::closeFile(fd); }
    } closer{openForReading(path)};
    return readWholeOf(closer.fd, path, grow);
}

// Reads into memory from `allocate` (not zero-filled), freed by `release` on failure.
FileBuffer readIntoBuffer(void* (*allocate)(size_t), void (*release)(void*),
                          const std::function<size_t(const std::function<char*(size_t)>& grow)>& read) {
    FileBuffer buffer;
    size_t held = 0;
    try {
        buffer.size = read([&](size_t capacity) {
            char* grown = static_cast<char*>(allocate(capacity)); // not zero-filled
            if (!grown)
                throw std::bad_alloc();
            if (buffer.data)
                std::memcpy(grown, buffer.data, held);
            if (buffer.data)
                release(buffer.data);
            buffer.data = grown;
            held = capacity;
            return grown;
        });
    } catch (...) {
        if (buffer.data)
            release(buffer.data);
        throw;
    }
    return buffer;
}

} // namespace

std::string readFileBytes(const std::filesystem::path& path) {
    std::string bytes;
    bytes.resize(readWhole(path, [&](size_t capacity) {
        bytes.resize(capacity);
        return bytes.data();
    }));
    return bytes;
}

std::string readFilePart(const fs::path& path,
                         const std::function<size_t(std::string_view bytes, bool atEnd)>& partEnd,
                         bool& whole) {
    struct Closer {
        int fd;
        ~Closer() { sys::closeFile(fd); }
    } closer{openForReading(path)};
    // Read into a buffer the thread keeps for the next file (neither zero-filled nor given back);
    // the part is copied out at its size.
    struct Kept {
        std::unique_ptr<char[]> buffer;
        size_t capacity = 0;
    };
    auto& [buffer, capacity] = platform::threadOwn<Kept, Kept>();
    size_t filled = 0;
    for (size_t piece = 65536;; piece *= 2) {
        if (capacity < filled + piece) {
            auto grown = std::unique_ptr<char[]>(new char[filled + piece]);
            if (filled > 0)
                std::memcpy(grown.get(), buffer.get(), filled);
            buffer = std::move(grown);
            capacity = filled + piece;
        }
        long long n = 0;
        while (filled < capacity && (n = sys::readSome(closer.fd, buffer.get() + filled, capacity - filled)) != 0) {
            if (n < 0)
                failFileStep(path, "read", errno);
            filled += static_cast<size_t>(n);
        }
        bool atEnd = n == 0;
        size_t end = partEnd(std::string_view(buffer.get(), filled), atEnd);
        if (end != std::string_view::npos || atEnd) {
            end = std::min(end, filled);
            whole = atEnd && end == filled;
            return std::string(buffer.get(), end);
        }
    }
}

size_t readFileAt(int fd, size_t offset, char* into, size_t size) {
    size_t filled = 0;
    while (filled < size) {
        long long n = sys::readAt(fd, into + filled, size - filled, offset + filled);
        if (n <= 0)
            break;
        filled += static_cast<size_t>(n);
    }
    return filled;
}

FileBuffer readFileBuffer(const std::filesystem::path& path, void* (*allocate)(size_t),
                          void (*release)(void*)) {
    return readIntoBuffer(allocate, release, [&](const auto& grow) { return readWhole(path, grow); });
}

namespace {

// True while a save of `path` holds its lock, other than one this thread runs (whose reads of
// the file happen under its own lock and must not wait for it).
bool savedElsewhere(const fs::path& path) {
    const fs::path lock = lockPathFor(path);
    return !SaveLock::takenOnThisThread(lock) && ProcessMarker::isHeld(lock);
}

} // namespace

// Where the system cannot rename a file over one that readers hold open (before Windows 10, on
// FAT and network drives, under Wine), a save moves the old file aside and then the new one in,
// so for a moment the path names no file. A reader that came then would take the file for
// never written, and a project for one without help data: so a file missing while a save on
// another thread or in another program holds its lock is looked for again until it is back or
// the save has ended.
FileVersion openFileVersion(const std::filesystem::path& path) {
    if (stepFaulted(AtomicStep::Read, path))
        failFileStep(path, "open", errno);
    FileVersion version = FileVersion::open(path);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!version.exists() && std::chrono::steady_clock::now() < deadline) {
        const bool saving = savedElsewhere(path);
        version = FileVersion::open(path); // after the check: a save that just ended left its file
        if (!saving || version.exists())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return version;
}

FileBuffer readFileBuffer(const FileVersion& version, const std::filesystem::path& path,
                          void* (*allocate)(size_t), void (*release)(void*)) {
    if (!version.exists())
        throw VbError(vberr::FileNotFound, "File not found: '" + path.string() + "'", path.string());
    return readIntoBuffer(allocate, release,
                          [&](const auto& grow) { return readWholeOf(version.fd(), path, grow); });
}

std::string readFileBytes(const FileVersion& version, const std::filesystem::path& path) {
    if (!version.exists())
        throw VbError(vberr::FileNotFound, "File not found: '" + path.string() + "'", path.string());
    std::string bytes;
    bytes.resize(readWholeOf(version.fd(), path, [&](size_t capacity) {
        bytes.resize(capacity);
        return bytes.data();
    }));
    return bytes;
}

} // namespace corvane
