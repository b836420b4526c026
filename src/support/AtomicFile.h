// AtomicFile: replaces a file's whole content so that readers see the old or the new
// content, never a mix, and a failure leaves the original untouched.
//
// Calling sequence (after git's lockfile):
//   AtomicFile file(target);           // nothing touches the disk yet
//   file.write(bytes); ...             // content collects in memory (ByteBlocks)
//   file.commit();                     // writes "<target>.tmp" beside the target, flushes it
//                                      // to disk, closes it, renames it over the target
// Durability: by default commit() flushes the temporary file to disk (fsync) before the rename,
// so that after a crash the target holds the old or the new content, never an empty file. That
// costs a journal commit per file (milliseconds each, seconds for a project of 400 forms), so a
// batch of files (the host's save of a project) commits with Durability::Deferred and ends with
// one syncFileSystem(). Like git's lockfile (which does not fsync by default), a deferred
// commit relies on the file system for the crash case: ext4 (data=ordered, auto_da_alloc) and
// btrfs flush a file's data before a rename that replaces another file takes effect. The data
// file holding the user's help text is a single file and keeps the flush.
// Error handling: commit() raises VbError 75 naming the file and the reason. When writing the
// temporary file fails, it is removed and the target is unchanged. When only the final rename
// fails, the temporary file is kept (it holds the only copy of the new content) and the
// error names both files. An AtomicFile destroyed without commit() writes nothing.
#pragma once

#include "support/ByteBlocks.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

// Whether commit() flushes the new content to disk before the rename.
enum class Durability {
    Flush,    // fsync the temporary file before the rename
    Deferred, // no fsync: the caller ends its batch of commits with syncFileSystem()
};

class AtomicFile {
public:
    // Prepares to replace `target`; the temporary file is `target` + ".tmp" unless given.
    explicit AtomicFile(std::filesystem::path target, std::filesystem::path temporary = {},
                        Durability durability = Durability::Flush);

    // The file that commit() replaces.
    const std::filesystem::path& target() const noexcept { return target_; }
    // The temporary file beside the target.
    const std::filesystem::path& temporary() const noexcept { return temporary_; }

    // Appends bytes to the new content.
    void write(std::string_view bytes) { content_.append(bytes); }
    void write(const char* bytes) { content_.append(std::string_view(bytes)); }
    // Appends bytes the caller gives up: the first ones are taken over without a copy.
    void write(std::string&& bytes) { content_.append(std::move(bytes)); }
    // Appends collected bytes.
    void write(const ByteBlocks& bytes) { content_.append(bytes); }
    void write(ByteBlocks&& bytes) { content_.append(std::move(bytes)); }
    // The number of bytes collected so far.
    size_t size() const noexcept { return content_.size(); }

    // Writes the temporary file and renames it over the target (see the header comment).
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    Durability durability_;
    ByteBlocks content_;
};

// Replaces the file's whole content atomically: AtomicFile with one write and a commit.
void replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability = Durability::Flush);

// Flushes everything written to the file system that holds `path` to disk (syncfs): the end
// of a batch of deferred commits. Raises VbError 75 naming the path when that fails.
void syncFileSystem(const std::filesystem::path& path);

// Reads a whole file as bytes; raises VbError 53 when it does not exist, 75 when it cannot
// be read, naming the file and the reason.
std::string readFileBytes(const std::filesystem::path& path);

} // namespace corvane
