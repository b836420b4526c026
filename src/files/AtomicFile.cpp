#include "files/AtomicFile.h"

#include "files/Notice.h"
#include "files/ProcessMarker.h"
#include "files/RegularFile.h"
#include "files/ReplacedFileRelease.h"
#include "platform/SystemFiles.h"
#include "platform/ThreadOwn.h"
#include "platform/Utf8Path.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace corvane {

namespace {

namespace fs = std::filesystem;
namespace sys = platform;

AtomicFaultInjector& faultInjector() {
    static AtomicFaultInjector injector;
    return injector;
}

// The errno a test injects into this step (0: none).
int injected(AtomicStep step, const fs::path& file) {
    const AtomicFaultInjector& injector = faultInjector();
    return injector ? injector(step, file) : 0;
}

// True, with errno set, when a test makes this step fail; the step is then not taken.
bool faulted(AtomicStep step, const fs::path& file) {
    int error = injected(step, file);
    if (error != 0)
        errno = error;
    return error != 0;
}

// The folder that holds `path` ("." for a bare name).
fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

[[noreturn]] void fail(const fs::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

// A temporary file or the lock beside `target` could not be made: a folder that is missing (a
// share that is not mounted) or refuses new files is named as what it is (the user's trouble),
// with the file being saved, any other failure as it came.
[[noreturn]] void failUnreachable(const fs::path& target, const fs::path& folder, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot save '" + target.string() + "': its folder '" + folder.string() +
                      "' does not exist or cannot be reached (" + std::strerror(error) + ")",
                  target.string());
}

[[noreturn]] void failToCreate(const fs::path& target, const fs::path& temporary, int error) {
    const fs::path folder = folderOf(target);
    if (error == ENOENT || error == ENOTDIR)
        failUnreachable(target, folder, error);
    if (error == EACCES || error == EPERM || error == EROFS)
        throw VbError(vberr::PathFileAccess,
                      "Cannot write '" + target.string() + "': its folder '" + folder.string() + "' is " +
                          (error == EROFS ? "on a read-only file system" : "read-only") + " (" +
                          std::strerror(error) + ")",
                      target.string());
    fail(temporary, "create", error);
}

// The save lock beside `target` could not be made (`error`, which names the lock file the user
// never asked for): the reason is told as for a temporary file where the folder explains it.
[[noreturn]] void failToLock(const fs::path& target, const fs::path& lock, const VbError& error) {
    const fs::path folder = folderOf(target);
    sys::FileStatus status;
    if (!sys::statusAt(folder, status))
        failUnreachable(target, folder, errno);
    if (status.kind != sys::FileKind::Folder)
        failUnreachable(target, folder, ENOTDIR);
    if (const int refusal = sys::writeAccess(folder); refusal == EACCES || refusal == EPERM || refusal == EROFS)
        failToCreate(target, lock, refusal);
    throw VbError(vberr::PathFileAccess, "Cannot save '" + target.string() + "': " + error.description(),
                  target.string());
}

// The temporary files a save of `target` made ("<name>.XXXXXX.tmp" beside it) since the time
// `sinceNs` (ns since the epoch) when it took the lock: found by the save that took the lock over,
// they are left by a save that ended before its rename.
std::vector<fs::path> temporaryFilesOf(const fs::path& target, long long sinceNs) {
    const std::string prefix = target.filename().string() + ".";
    std::vector<fs::path> found;
    std::error_code error;
    const fs::path folder = folderOf(target);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 10 || !name.starts_with(prefix) || !name.ends_with(".tmp"))
            continue;
        const std::string_view unique = std::string_view(name).substr(prefix.size(), 6);
        sys::FileStatus info;
        if (std::all_of(unique.begin(), unique.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }) &&
            sys::statusAt(it->path(), info, false) && info.kind == sys::FileKind::Regular &&
            info.modifiedNs >= sinceNs)
            found.push_back(it->path());
    }
    return found;
}

// The save lock "<target>.lock" (a ProcessMarker): held while a save runs; a lock whose
// program ended is taken over, with a note, and that save's temporary files are removed.
class LockFile {
public:
    LockFile(const fs::path& target, std::chrono::milliseconds wait) {
        const fs::path path = lockPathFor(target);
        auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (faulted(AtomicStep::Lock, path))
                fail(path, "create the lock file", errno);
            try {
                marker_ = ProcessMarker::tryTake(path, "save");
            } catch (const VbError& error) {
                failToLock(target, path, error);
            }
            if (marker_)
                break;
            if (std::chrono::steady_clock::now() >= deadline)
                throw VbError(vberr::PathFileAccess,
                              "The file '" + target.string() + "' is being saved by another program (" +
                                  ProcessMarker::holderOf(path).describe() + "): its lock file '" +
                                  path.string() + "' is held. Try again when that save has ended.",
                              target.string());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (marker_->leftBehind())
            clearInterruptedSave(target, *marker_->leftBehind());
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Removes the lock after a successful commit; raises VbError 75 when it stays.
    void release(const fs::path& target) {
        const fs::path path = marker_->path();
        if (faulted(AtomicStep::Unlock, path)) {
            const int error = errno;
            marker_->abandon();
            throw VbError(vberr::PathFileAccess,
                          "The new content of '" + target.string() + "' is saved, but its lock file '" +
                              path.string() + "' could not be removed: " + std::strerror(error) + ". It does not block the next save.",
                          target.string());
        }
        try {
            marker_->release();
        } catch (const VbError& error) {
            throw VbError(vberr::PathFileAccess,
                          "The new content of '" + target.string() + "' is saved, but " + error.description() +
                              ". It does not block the next save.",
                          target.string());
        }
    }

private:
    static void clearInterruptedSave(const fs::path& target, const ProcessMarker::Holder& holder) {
        size_t removed = 0;
        // Only files made after the lock was taken: an older one of the same shape is not that save's.
        for (const fs::path& temporary : temporaryFilesOf(target, holder.writtenNs > 0 ? holder.writtenNs : LLONG_MAX))
            removed += sys::removeFile(temporary) == 0 ? 1 : 0;
        std::string text = "A save of '" + target.string() + "' by " + holder.describe() +
                           " did not finish; its lock was taken over";
        if (removed > 0)
            text += " and its " + std::string(removed == 1 ? "temporary file was" : "temporary files were") +
                    " removed";
        notice(text + ".");
    }

    std::optional<ProcessMarker> marker_;
};

// The template of a unique temporary name from the wanted one: "<name>.XXXXXX.tmp".
std::string temporaryTemplate(const fs::path& folder, const fs::path& wanted,
                              size_t& suffixLength) {
    std::string name = platform::utf8Of(wanted.filename());
    std::string suffix;
    if (name.size() > 4 && name.ends_with(".tmp")) {
        suffix = ".tmp";
        name.resize(name.size() - 4);
    }
    suffixLength = suffix.size();
    return platform::utf8Of(folder / platform::pathFromUtf8(name + ".XXXXXX" + suffix));
}

// A read-only target is not replaced, as Windows refuses to replace it.
void refuseReadOnly(const fs::path& realTarget) {
    if (isReadOnlyFile(realTarget))
        throw VbError(vberr::PathFileAccess,
                      "The file '" + realTarget.string() + "' is read-only; it was not replaced.",
                      realTarget.string());
}

} // namespace

AtomicFaultInjector setAtomicFaultInjector(AtomicFaultInjector injector) {
    std::swap(faultInjector(), injector);
    return injector;
}

fs::path lockPathFor(const fs::path& target) {
    return fs::path(followLinks(target).string() + ".lock");
}

fs::path followLinks(const fs::path& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return current;
        fs::path next = fs::read_symlink(current, error);
        if (error)
            fail(current, "follow the link", error.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    fail(path, "follow the link", ELOOP);
}

bool isReadOnlyFile(const fs::path& path) {
    sys::FileStatus info;
    if (!sys::statusAt(path, info) || info.kind != sys::FileKind::Regular)
        return false;
    return (info.permissions & 0222) == 0 || sys::writeAccess(path) != 0;
}

AtomicFile::AtomicFile(fs::path target, fs::path temporary, Durability durability, Locking locking)
    : target_(std::move(target)), temporary_(std::move(temporary)), durability_(durability),
      locking_(locking) {}

void AtomicFile::commit() {
    if (prepared()) {
        const fs::path realTarget = followLinks(target_);
        temporaryUsed_ = pending_.path();
        replaceTarget(realTarget); // on failure the prepared file stays for another commit()
        pending_.release();
        replaced_ = true;
        return;
    }
    commit([this](OutputBuffer& out) {
        for (std::string_view piece : content_.pieces())
            out.append(piece);
    });
}

void AtomicFile::commit(const std::function<void(OutputBuffer& out)>& produce) {
    const fs::path realTarget = followLinks(target_);
    std::optional<LockFile> lock;
    if (locking_ == Locking::Exclusive)
        lock.emplace(realTarget, lockWait_);
    refuseReadOnly(realTarget);
    if (beforeReplace_)
        beforeReplace_();
    replaced_ = !targetHoldsContent(realTarget) && writeTemporary(realTarget, produce);
    if (replaced_)
        replaceTarget(realTarget);
    if (afterReplace_)
        afterReplace_();
    if (lock)
        lock->release(realTarget);
}

void AtomicFile::prepare(const std::function<void(OutputBuffer& out)>& produce) {
    if (locking_ == Locking::Exclusive || keepUnchanged_)
        throw VbError(vberr::InvalidCall, "A locked or compared file cannot be prepared ahead", target_.string());
    const fs::path realTarget = followLinks(target_);
    refuseReadOnly(realTarget);
    writeTemporary(realTarget, produce);
    pending_.hold(temporaryUsed_);
}

AtomicFile::PendingTemporary& AtomicFile::PendingTemporary::operator=(PendingTemporary&& other) noexcept {
    if (this != &other) {
        drop();
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

void AtomicFile::PendingTemporary::drop() noexcept {
    if (!path_.empty())
        sys::removeFile(path_);
    path_.clear();
}

namespace {

// The temporary file of one commit: made beside the real target on the first byte that
// differs from the target's content (at once when the target is not compared), filled with
// the target's equal first bytes, then with the rest of the new content. On failure it is
// removed and the target is untouched.
class TemporaryOutput {
public:
    TemporaryOutput(const fs::path& realTarget, const fs::path& wanted, bool compare)
        : realTarget_(realTarget), wanted_(wanted) {
        if (compare)
            original_ = openIfRegularFile(realTarget);
        differs_ = original_ < 0;
    }
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput() {
        if (original_ >= 0)
            sys::closeFile(original_);
        if (fd_ >= 0) { // a failure on the way: the target stays as it is
            sys::closeFile(fd_);
            sys::removeFile(path_);
        }
    }

    // Takes the next chunk of the new content.
    void put(std::string_view chunk) {
        if (!differs_ && matchesOriginal(chunk)) {
            same_ += chunk.size();
            return;
        }
        differs_ = true;
        if (fd_ < 0)
            create();
        if (!sys::writeAll(fd_, chunk))
            abandon("write", errno);
    }
    // Ends the content: false when it equals the target's (no file was made), else the
    // temporary file is flushed (when `flush`) and closed, ready to be renamed.
    bool finish(bool flush) {
        if (!differs_ && readOriginal(same_, 1) == 0)
            return false;
        if (fd_ < 0)
            create();
        if (flush && faulted(AtomicStep::Flush, path_))
            abandon("flush", errno);
        if (int error = flush ? sys::flushFile(fd_) : 0; error != 0 && error != EINVAL)
            abandon("flush", error);
        if (!flush) // the write-out starts here, on the thread that made the file, not at the rename
            sys::startWriteBack(fd_);
        int fd = std::exchange(fd_, -1);
        if (sys::closeFile(fd) != 0) {
            int error = errno;
            sys::removeFile(path_);
            fail(path_, "close", error);
        }
        return true;
    }
    // The name of the temporary file (empty before it was made).
    const fs::path& path() const { return path_; }

private:
    // Reads up to `size` bytes of the target at `offset` into the compare buffer.
    size_t readOriginal(size_t offset, size_t size) {
        if (spare_.size() < size)
            spare_.assign(std::max(size, size_t{1} << 16), '\0');
        return readFileAt(original_, offset, spare_.data(), size);
    }
    bool matchesOriginal(std::string_view chunk) {
        return readOriginal(same_, chunk.size()) == chunk.size() &&
               std::memcmp(spare_.data(), chunk.data(), chunk.size()) == 0;
    }
    void create() {
        unsigned mode = 0644;
        sys::FileStatus existing;
        if (sys::statusAt(realTarget_, existing))
            mode = existing.permissions; // keep the permissions of the file being replaced
        size_t suffixLength = 0;
        std::string name = temporaryTemplate(realTarget_.parent_path(), wanted_, suffixLength);
        const std::string pattern = name;
        fd_ = faulted(AtomicStep::CreateTemporary, name) ? -1 : sys::createUniqueFile(name, suffixLength, mode);
        if (fd_ < 0)
            failToCreate(realTarget_, pattern, errno);
        path_ = platform::pathFromUtf8(name);
        if (int error = injected(AtomicStep::Write, path_); error != 0)
            abandon("write", error);
        copyEqualStart();
    }
    // The first bytes of the content were found equal to the target's: copied from there.
    void copyEqualStart() {
        for (size_t done = 0; done < same_;) {
            size_t got = readOriginal(done, std::min(same_ - done, size_t{1} << 16));
            if (got == 0)
                abandon("read the original of", EIO);
            if (!sys::writeAll(fd_, std::string_view(spare_.data(), got)))
                abandon("write", errno);
            done += got;
        }
    }
    [[noreturn]] void abandon(const std::string& what, int error) {
        sys::closeFile(std::exchange(fd_, -1));
        sys::removeFile(path_);
        fail(path_, what, error);
    }

    fs::path realTarget_;
    fs::path wanted_;
    fs::path path_;
    int fd_ = -1;
    int original_ = -1;
    bool differs_ = true;
    size_t same_ = 0;         // bytes of the content known equal to the target's first bytes
    std::vector<char> spare_; // the target's bytes being compared or copied
};

} // namespace

// Renders the content into a temporary file beside the real target and flushes it; false when
// the target already holds the content (only compared when keepUnchanged_).
bool AtomicFile::writeTemporary(const fs::path& realTarget,
                                const std::function<void(OutputBuffer& out)>& produce) {
    const fs::path wanted =
        temporary_.empty() ? fs::path(realTarget.string() + ".tmp") : temporary_;
    TemporaryOutput output(realTarget, wanted, keepUnchanged_);
    OutputBuffer buffer([&](std::string_view chunk) { output.put(chunk); });
    produce(buffer);
    buffer.flush();
    bool written = output.finish(durability_ == Durability::Flush);
    if (written)
        temporaryUsed_ = output.path();
    return written;
}

// The quick check of an unchanged target, where there is one; false sends the content through
// the usual comparison while it is rendered, so the check can only save work.
bool AtomicFile::targetHoldsContent(const fs::path& realTarget) const {
    if (!keepUnchanged_ || !quickCheck_)
        return false;
    int fd = openIfRegularFile(realTarget);
    if (fd < 0)
        return false;
    sys::FileStatus status;
    bool holds = false;
    try {
        holds = sys::statusOf(fd, status) && status.kind == sys::FileKind::Regular &&
                quickCheck_(fd, static_cast<size_t>(status.size));
    } catch (...) {
        holds = false; // the comparison while rendering tells, and reports what fails
    }
    sys::closeFile(fd);
    return holds;
}

// Renames the temporary file over the target and, when durable, flushes the folder.
void AtomicFile::replaceTarget(const fs::path& realTarget) {
    // The old file is let go on another thread: freeing it may wait for the disk.
    ReplacedFileRelease::Held old = ReplacedFileRelease::hold(realTarget);
    int error = faulted(AtomicStep::Rename, realTarget) ? errno : sys::renameReplacing(temporaryUsed_, realTarget);
    if (error != 0) {
        throw VbError(vberr::PathFileAccess,
                      "Cannot rename '" + temporaryUsed_.string() + "' to '" + realTarget.string() +
                          "': " + std::strerror(error) + ". The new content is kept in '" +
                          temporaryUsed_.string() + "'.",
                      realTarget.string());
    }
    ReplacedFileRelease::release(std::move(old));
    if (durability_ != Durability::Flush)
        return;
    fs::path folder = folderOf(realTarget);
    error = sys::flushFolder(folder);
    if (int fault = injected(AtomicStep::SyncFolder, folder); fault != 0)
        error = fault;
    if (error != 0 && error != EINVAL)
        throw VbError(vberr::PathFileAccess,
                      "The new content of '" + realTarget.string() +
                          "' is in place, but its folder could " + "not be flushed to disk: " +
                          std::strerror(error) + ". Save again to be sure it survives a crash.",
                      realTarget.string());
}

void replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability) {
    AtomicFile file(target, {}, durability);
    file.write(bytes);
    file.commit();
}

void syncFileSystem(const std::filesystem::path& path) {
    if (int error = sys::flushFileSystem(path); error != 0)
        fail(path, error == ENOENT || error == EACCES ? "open" : "flush the file system of", error);
}

namespace {

// Opens a regular file for reading (RegularFile.h); VbError 53 when it does not exist, 75 when
// it cannot be opened or is no regular file.
int openForReading(const fs::path& path) {
    if (faulted(AtomicStep::Read, path))
        fail(path, "open", errno);
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
            fail(path, "read", errno);
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
                fail(path, "read", errno);
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

FileVersion openFileVersion(const std::filesystem::path& path) {
    if (faulted(AtomicStep::Read, path))
        fail(path, "open", errno);
    return FileVersion::open(path);
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
