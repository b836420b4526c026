#include "files/AtomicFile.h"

#include "files/FileFailures.h"
#include "files/FileReading.h"
#include "files/FileStamp.h"
#include "files/Notice.h"
#include "files/ProcessMarker.h"
#include "files/RegularFile.h"
#include "files/ReplacedFileRelease.h"
#include "files/SaveLock.h"
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

// A read-only target is not replaced, as Windows refuses to replace it; nor is a device, a FIFO
// or a socket, which a rename would replace by a file (a folder refuses the rename itself).
void refuseReadOnly(const fs::path& realTarget) {
    sys::FileStatus info;
    if (sys::statusAt(realTarget, info) && info.kind != sys::FileKind::Regular && info.kind != sys::FileKind::Folder)
        throw VbError(vberr::PathFileAccess,
                      "'" + realTarget.string() + "' is " + fileKindText(info.kind) +
                          ", not a regular file; it was not replaced.",
                      realTarget.string());
    if (isReadOnlyFile(realTarget))
        throw VbError(vberr::PathFileAccess,
                      "The file '" + realTarget.string() + "' is read-only; it was not replaced.",
                      realTarget.string());
}

} // namespace

std::vector<fs::path> temporaryFilesIn(const fs::path& folder, const std::set<std::string>& names, long long sinceNs) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = platform::utf8Of(it->path().filename());
        // "<name>." + six letters or digits + ".tmp"
        if (name.size() < 12 || !name.ends_with(".tmp") || name[name.size() - 11] != '.' ||
            !names.contains(name.substr(0, name.size() - 11)))
            continue;
        const std::string_view unique = std::string_view(name).substr(name.size() - 10, 6);
        sys::FileStatus info;
        if (std::all_of(unique.begin(), unique.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }) &&
            sys::statusAt(it->path(), info, false) && info.kind == sys::FileKind::Regular && info.modifiedNs >= sinceNs)
            found.push_back(it->path());
    }
    return found;
}

fs::path followLinks(const fs::path& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return current;
        fs::path next = fs::read_symlink(current, error);
        if (error)
            failFileStep(current, "follow the link", error.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    failFileStep(path, "follow the link", ELOOP);
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
    std::optional<SaveLock> lock;
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

void AtomicFile::commitFollowedBy(const std::function<void(OutputBuffer& out)>& rest) {
    if (prepared())
        throw VbError(vberr::InvalidCall, "A prepared file is committed as it was prepared", target_.string());
    commit([&](OutputBuffer& out) {
        for (std::string_view piece : content_.pieces())
            out.append(piece);
        rest(out);
    });
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
        if (flush && stepFaulted(AtomicStep::Flush, path_))
            abandon("flush", errno);
        if (int error = flush ? sys::flushFile(fd_) : 0; error != 0 && error != EINVAL)
            abandon("flush", error);
        if (!flush) // the write-out starts here, on the thread that made the file, not at the rename
            sys::startWriteBack(fd_);
        int fd = std::exchange(fd_, -1);
        if (sys::closeFile(fd) != 0) {
            int error = errno;
            sys::removeFile(path_);
            failFileStep(path_, "close", error);
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
        const fs::path pattern = platform::pathFromUtf8(name);
        fd_ = stepFaulted(AtomicStep::CreateTemporary, pattern) ? -1 : sys::createUniqueFile(name, suffixLength, mode);
        if (fd_ < 0)
            failToCreateBeside(realTarget_, pattern, errno);
        path_ = platform::pathFromUtf8(name);
        if (int error = injectedFault(AtomicStep::Write, path_); error != 0)
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
        failFileStep(path_, what, error);
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
    fs::path wanted = temporary_;
    if (wanted.empty())
        (wanted = realTarget) += ".tmp";
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
    if (stepFaulted(AtomicStep::Rename, realTarget))
        failRename(realTarget, errno);
    renameOverTarget(realTarget);
}

// The rename of replaceTarget() without its test seam.
void AtomicFile::renameOverTarget(const fs::path& realTarget) {
    // The old file is let go on another thread: freeing it may wait for the disk.
    ReplacedFileRelease::Held old = ReplacedFileRelease::hold(realTarget);
    if (int error = sys::renameReplacing(temporaryUsed_, realTarget); error != 0)
        failRename(realTarget, error);
    ReplacedFileRelease::release(std::move(old));
    flushFolderAfterRename(realTarget);
}

void AtomicFile::failRename(const fs::path& realTarget, int error) const {
    throw VbError(vberr::PathFileAccess,
                  "Cannot rename '" + temporaryUsed_.string() + "' to '" + realTarget.string() + "': " +
                      std::strerror(error) + ". The new content is kept in '" + temporaryUsed_.string() + "'.",
                  realTarget.string());
}

void AtomicFile::flushFolderAfterRename(const fs::path& realTarget) const {
    if (durability_ != Durability::Flush)
        return;
    fs::path folder = folderOf(realTarget);
    int error = sys::flushFolder(folder);
    if (int fault = injectedFault(AtomicStep::SyncFolder, folder); fault != 0)
        error = fault;
    if (error != 0 && error != EINVAL)
        throw VbError(vberr::PathFileAccess,
                      "The new content of '" + realTarget.string() + "' is in place, but its folder could " +
                          "not be flushed to disk: " + std::strerror(error) + ". Save again to be sure it survives a crash.",
                      realTarget.string());
}

std::optional<AtomicFile::NewerVersion> AtomicFile::commitOver(const FileStamp& expected) {
    if (!prepared())
        throw VbError(vberr::InvalidCall, "Only a prepared file is committed over a version", target_.string());
    const fs::path realTarget = followLinks(target_);
    temporaryUsed_ = pending_.path();
    const std::optional<FileStamp> ours = FileStamp::at(temporaryUsed_);
    if (stepFaulted(AtomicStep::Rename, realTarget))
        failRename(realTarget, errno);
    const int error = sys::exchangeFiles(temporaryUsed_, realTarget);
    if (error == ENOTSUP || error == ENOENT) {
        // No swap here: the target is compared just before the rename, which leaves a moment
        // in which another program's version can come in unseen.
        const std::optional<FileStamp> now = FileStamp::at(realTarget);
        if (!now || !now->sameVersion(expected))
            return NewerVersion{realTarget, now, false};
        renameOverTarget(realTarget);
    } else if (error != 0) {
        failRename(realTarget, error);
    }
    pending_.release();
    replaced_ = true;
    if (error == 0) {
        // The file the swap took out of place is now at the temporary name.
        const std::optional<FileStamp> replaced = FileStamp::at(temporaryUsed_);
        if (!replaced || !replaced->sameVersion(expected)) {
            flushFolderAfterRename(realTarget);
            return NewerVersion{temporaryUsed_, ours, true};
        }
        ReplacedFileRelease::Held old = ReplacedFileRelease::hold(temporaryUsed_);
        sys::removeFile(temporaryUsed_);
        ReplacedFileRelease::release(std::move(old));
        flushFolderAfterRename(realTarget);
    }
    return std::nullopt;
}

void replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability) {
    AtomicFile file(target, {}, durability);
    file.write(bytes);
    file.commit();
}

void syncFileSystem(const std::filesystem::path& path) {
    if (int error = sys::flushFileSystem(path); error != 0)
        failFileStep(path, error == ENOENT || error == EACCES ? "open" : "flush the file system of", error);
}

} // namespace corvane
