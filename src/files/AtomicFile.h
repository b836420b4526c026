// AtomicFile: replaces a file's whole content so that readers see the old or the new
// content, never a mix, and a failure leaves the original untouched.
//
// Calling sequence (after git's lockfile):
//   AtomicFile file(target);           // nothing touches the disk yet
//   file.write(bytes); ...             // content collects in memory (ByteBlocks)
//   file.commit();                     // (takes "<target>.lock"), writes a temporary file of a
//                                      // unique name beside the target, flushes it to disk,
//                                      // renames it over the target, (removes the lock)
// Locking (Locking::Exclusive): the lock file "<target>.lock" (a ProcessMarker naming the
// process, machine and time) is held for the commit, as git holds "index.lock", so two programs
// saving the same file at once never mix their bytes; the second one waits for the lock a short
// while and then fails with a message that names the lock file and its holder. A lock left by a
// program that ended (killed, crashed) is taken over by the next save, which tells so (Notice.h)
// and removes the temporary files that save left.
// Temporary names are unique ("<name>.<random>.tmp"), so even unlocked saves never share one.
// Targets: a read-only file (no write permission bit, or not writable by this user) is not
// replaced: commit() fails naming it, as Windows refuses to replace a read-only file. A
// symbolic link is written through: the file it points to is replaced in its own folder
// (temporary file and lock beside it) and the link stays a link.
// Durability: by default commit() flushes the new content to disk (fsync) before the rename
// and the folder after it, so that after a crash the target holds the old or the new
// content, never an empty file. That costs a journal commit per file (milliseconds each,
// seconds for a project of 400 forms), so a batch of files (the host's save of a project)
// commits with Durability::Deferred and ends with one syncFileSystem(). Like git's lockfile
// (which does not fsync by default), a deferred commit relies on the file system for the
// crash case: ext4 (data=ordered, auto_da_alloc) and btrfs flush a file's data before a
// rename that replaces another file takes effect. A deferred commit starts that write-out
// itself when the temporary file is complete (on the thread that wrote it), and the old
// version a rename replaces is let go on a thread of its own (ReplacedFileRelease.h), so that
// neither the write-out nor freeing the old file's blocks holds up the rename.
// Error handling: commit() raises VbError 75 naming the file and the reason. When a step
// before the rename fails, the temporary file is removed and the target is unchanged. When
// only the rename fails, the temporary file is kept (it holds the only copy of the new
// content on disk) and the error names both files. When a step after the rename fails (the
// folder's flush, the lock's removal) the target holds the new content and the error says so.
// An AtomicFile destroyed without commit() writes nothing.
// Preparing: prepare(produce) renders the content into the temporary file at once, and the
// next commit() only renames it over the target; so a file can be written ahead (on another
// thread) and put in place later, in its turn. An AtomicFile destroyed before that commit
// removes the prepared temporary file, and the target stays as it was.
// Streaming: commit(produce) renders the content straight into the temporary file through a
// buffer of 64 KiB, so a large file is never held in memory. With setKeepUnchanged(true) the
// content is compared with the target's bytes while it is rendered; the temporary file is
// made only at the first byte that differs, and a content equal to the target's writes
// nothing at all: the file and its modification time stay as they are (replaced() is false).
#pragma once

#include "files/ByteBlocks.h"
#include "files/FileStamp.h"
#include "files/FileFailures.h"
#include "files/OutputBuffer.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

// Whether commit() flushes the new content to disk before the rename.
enum class Durability {
    Flush,    // fsync the temporary file before the rename and the folder after it
    Deferred, // no fsync: the caller ends its batch of commits with syncFileSystem()
};

// Whether commit() serialises with other saves of the same file through "<target>.lock".
enum class Locking {
    None,      // no lock file (files written by one program at a time)
    Exclusive, // create "<target>.lock" exclusively for the time of the commit
};

class AtomicFile {
public:
    // Prepares to replace `target`; the temporary file's name is built from `temporary` (its
    // file name, made unique) or from the target's name + ".tmp" when none is given.
    explicit AtomicFile(std::filesystem::path target, std::filesystem::path temporary = {},
                        Durability durability = Durability::Flush, Locking locking = Locking::None);

    // The file that commit() replaces (as given; a link is written through).
    const std::filesystem::path& target() const noexcept { return target_; }
    // The temporary file of the last commit (empty before one created it).
    const std::filesystem::path& temporary() const noexcept { return temporaryUsed_; }
    // How long commit() waits for a lock another save holds (Locking::Exclusive).
    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }
    // A step that commit() runs once it holds the lock and found the target writable, before
    // the temporary file is made (a backup of the old content); its failure ends the commit.
    void setBeforeReplace(std::function<void()> step) { beforeReplace_ = std::move(step); }
    // A step that commit() runs, still holding the lock, once the target holds the new content
    // (replaced or found holding it): the place to take note of the version now in place.
    void setAfterReplace(std::function<void()> step) { afterReplace_ = std::move(step); }
    // Whether commit() leaves a target that already holds the new content untouched.
    void setKeepUnchanged(bool keep) { keepUnchanged_ = keep; }
    // Answers, faster than rendering and comparing it, whether the regular file open as `fd`
    // (of `size` bytes) holds the content; false also when it cannot tell.
    using ContentCheck = std::function<bool(int fd, size_t size)>;
    // With setKeepUnchanged(true): commit() asks `check` first (under the lock, after the step
    // before the replace), and a target it finds holding the content is left as it is.
    void setQuickUnchangedCheck(ContentCheck check) { quickCheck_ = std::move(check); }
    // False when the last commit found the target holding the content and wrote nothing.
    bool replaced() const noexcept { return replaced_; }

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
    // Renders the content that `produce` appends (the bytes collected by write() are not used)
    // straight into the temporary file, then renames it over the target as commit() does.
    void commit(const std::function<void(OutputBuffer& out)>& produce);
    // The same for the bytes collected by write() followed by those `rest` appends, so that a
    // large end of the content is never held in memory; not for a prepared file (VbError 5).
    void commitFollowedBy(const std::function<void(OutputBuffer& out)>& rest);
    // Renders the content that `produce` appends into the temporary file now (flushed as a
    // commit flushes it); the next commit() renames that file over the target and writes
    // nothing else. Not with Locking::Exclusive or setKeepUnchanged(true) (VbError 5): their
    // checks belong to the moment of the replace.
    void prepare(const std::function<void(OutputBuffer& out)>& produce);
    // True from prepare() until a commit() has renamed the prepared file.
    bool prepared() const noexcept { return !pending_.path().empty(); }

    // Another program's version of the target that commitOver() found in place of the one it
    // was to replace.
    struct NewerVersion {
        std::filesystem::path file;           // a file that holds that version, to be read
        std::optional<FileStamp> replaceNext; // the version the next commitOver() replaces
        bool keptAside = false;               // `file` is a temporary file beside the target
    };
    // Puts the prepared file in place over the version `expected` (FileStamp::sameVersion) and
    // returns nothing. A version another program put there since is never lost: where the
    // file system swaps two files in one step (Linux), the prepared file goes in place all the
    // same and the file it replaced is kept aside (keptAside); elsewhere the target is compared
    // just before the rename and left as it is. The caller reads the newer version, makes its
    // changes onto it, prepares that in another AtomicFile and commits it over `replaceNext`,
    // and then removes a file kept aside. Not for an unprepared file (VbError 5); failures as
    // commit()'s.
    std::optional<NewerVersion> commitOver(const FileStamp& expected);

private:
    // A prepared temporary file not yet renamed over the target: removed when dropped.
    class PendingTemporary {
    public:
        PendingTemporary() = default;
        PendingTemporary(PendingTemporary&& other) noexcept : path_(std::exchange(other.path_, {})) {}
        PendingTemporary& operator=(PendingTemporary&& other) noexcept;
        ~PendingTemporary() { drop(); }
        const std::filesystem::path& path() const noexcept { return path_; }
        void hold(std::filesystem::path path) {
            drop();
            path_ = std::move(path);
        }
        void release() noexcept { path_.clear(); } // renamed: nothing to remove
    private:
        void drop() noexcept;
        std::filesystem::path path_;
    };

    bool targetHoldsContent(const std::filesystem::path& realTarget) const;
    bool writeTemporary(const std::filesystem::path& realTarget,
                        const std::function<void(OutputBuffer& out)>& produce);
    void replaceTarget(const std::filesystem::path& realTarget);
    void renameOverTarget(const std::filesystem::path& realTarget);
    [[noreturn]] void failRename(const std::filesystem::path& realTarget, int error) const;
    void flushFolderAfterRename(const std::filesystem::path& realTarget) const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::filesystem::path temporaryUsed_;
    Durability durability_;
    Locking locking_;
    std::chrono::milliseconds lockWait_{2000};
    std::function<void()> beforeReplace_;
    std::function<void()> afterReplace_;
    bool keepUnchanged_ = false;
    ContentCheck quickCheck_;
    bool replaced_ = false;
    ByteBlocks content_;
    PendingTemporary pending_;
};

// The file a path finally names: links followed (relative ones from their own folder) until a
// path that is no link; a path that is no link is returned as given. VbError 75 for a loop.
std::filesystem::path followLinks(const std::filesystem::path& path);

// True when the file exists and must not be replaced: it has no write permission bit, or this
// user may not write it.
bool isReadOnlyFile(const std::filesystem::path& path);

// Replaces the file's whole content atomically: AtomicFile with one write and a commit.
void replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability = Durability::Flush);

// The temporary files that commits of the files named `names` in `folder` made there and left
// ("<name>.XXXXXX.tmp", regular files written at `sinceNs` (ns since the epoch) or later), found
// in one listing of the folder; nothing when it cannot be listed.
std::vector<std::filesystem::path> temporaryFilesIn(const std::filesystem::path& folder,
                                                    const std::set<std::string>& names, long long sinceNs = 0);

// Flushes everything written to the file system that holds `path` to disk (syncfs): the end
// of a batch of deferred commits. Raises VbError 75 naming the path when that fails.
void syncFileSystem(const std::filesystem::path& path);

} // namespace corvane
