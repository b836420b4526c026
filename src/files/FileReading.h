// FileReading: reads a file whole or in part: as bytes, into a buffer the caller frees, or
// from one version of the file held open (FileVersion), so that what is read is the version a
// later save compares with.
//
// Failures are VbError 53 (the file does not exist) or 75 (it cannot be opened or read, or is
// no regular file), naming the file and the reason. The test seam of FileFailures.h
// (AtomicStep::Read) makes the opening fail.
#pragma once

#include "files/FileVersion.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// Reads a whole file as bytes; raises VbError 53 when it does not exist, 75 when it cannot
// be read, naming the file and the reason.
std::string readFileBytes(const std::filesystem::path& path);

// Reads the start of a file, a growing piece at a time, until `partEnd` finds where the part
// the caller wants ends: it is given the bytes read so far and whether they are the whole file,
// and answers the part's length, or npos for more. Returns the part; `whole` tells whether the
// file ends there. Fails like readFileBytes.
std::string readFilePart(const std::filesystem::path& path,
                         const std::function<size_t(std::string_view bytes, bool atEnd)>& partEnd,
                         bool& whole);

// Reads up to `size` bytes of the file open as `fd` at `offset` into `into`; fewer only at the
// file's end or on a read error (the caller compares, so a short read is an answer too).
size_t readFileAt(int fd, size_t offset, char* into, size_t size);

// A file's bytes in a buffer the caller frees.
struct FileBuffer {
    char* data = nullptr; // from the allocation function given to readFileBuffer
    size_t size = 0;      // the number of bytes read (the buffer may be larger)
};
// Reads a whole file like readFileBytes into memory from `allocate`, which is not zero-filled
// first; the caller frees it with `release` (as does a failure on the way).
FileBuffer readFileBuffer(const std::filesystem::path& path, void* (*allocate)(size_t),
                          void (*release)(void*));
// The version of the file now at `path`, held open for reading (FileVersion::open; the test
// seam's AtomicStep::Read applies to it). A file missing while a save of it on another thread
// or in another program holds its lock is waited for (up to 10 s) until it is back or the save
// has ended: a replace may be between moving the old file aside and the new one in.
FileVersion openFileVersion(const std::filesystem::path& path);
// The same for the bytes of one version of the file (`path` names it in messages); VbError 53
// for a version of a file that did not exist.
FileBuffer readFileBuffer(const FileVersion& version, const std::filesystem::path& path,
                          void* (*allocate)(size_t), void (*release)(void*));
// The bytes of one version of a file, like readFileBytes.
std::string readFileBytes(const FileVersion& version, const std::filesystem::path& path);

} // namespace corvane
