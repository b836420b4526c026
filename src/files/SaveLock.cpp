#include "files/SaveLock.h"

#include "files/AtomicFile.h"
#include "files/FileFailures.h"
#include "files/Notice.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane {

namespace fs = std::filesystem;
namespace sys = platform;

namespace {

// The save lock beside `target` could not be made (`error`, which names the lock file the user
// never asked for): the reason is told as for a temporary file where the folder explains it.
[[noreturn]] void failToLock(const fs::path& target, const fs::path& lock, const VbError& error) {
    const fs::path folder = folderOf(target);
    sys::FileStatus status;
    if (!sys::statusAt(folder, status))
        failUnreachableFolder(target, folder, errno);
    if (status.kind != sys::FileKind::Folder)
        failUnreachableFolder(target, folder, ENOTDIR);
    if (const int refusal = sys::writeAccess(folder); refusal == EACCES || refusal == EPERM || refusal == EROFS)
        failToCreateBeside(target, lock, refusal);
    throw VbError(vberr::PathFileAccess, "Cannot save '" + target.string() + "': " + error.description(),
                  target.string());
}

// The temporary files a save of `target` made ("<name>.XXXXXX.tmp" beside it) since the time
// `sinceNs` (ns since the epoch) when it took the lock: found by the save that took the lock over,
// they are left by a save that ended before its rename.
std::vector<fs::path> temporaryFilesOf(const fs::path& target, long long sinceNs) {
    return temporaryFilesIn(folderOf(target), {target.filename().string()}, sinceNs);
}

// The locks this program holds, each with the thread that took it.
struct HeldLock {
    const SaveLock* lock;
    fs::path path;
    std::thread::id thread;
};
std::mutex heldLocksMutex;
std::vector<HeldLock> heldLocks;

// A lock file's path as the held locks are compared by.
fs::path comparablePath(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    return (error ? path : absolute).lexically_normal();
}

void forgetHeldLock(const SaveLock* lock) {
    std::lock_guard guard(heldLocksMutex);
    std::erase_if(heldLocks, [lock](const HeldLock& held) { return held.lock == lock; });
}

} // namespace

SaveLock::~SaveLock() { forgetHeldLock(this); }

bool SaveLock::takenOnThisThread(const fs::path& lockPath) {
    const fs::path path = comparablePath(lockPath);
    std::lock_guard guard(heldLocksMutex);
    return std::any_of(heldLocks.begin(), heldLocks.end(), [&path](const HeldLock& held) {
        return held.thread == std::this_thread::get_id() && held.path == path;
    });
}

SaveLock::SaveLock(const fs::path& target, std::chrono::milliseconds wait) {
    const fs::path path = lockPathFor(target);
    auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (stepFaulted(AtomicStep::Lock, path))
            failFileStep(path, "create the lock file", errno);
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
    std::lock_guard guard(heldLocksMutex);
    heldLocks.push_back({this, comparablePath(path), std::this_thread::get_id()});
}

void SaveLock::release(const fs::path& target) {
    forgetHeldLock(this);
    const fs::path path = marker_->path();
    if (stepFaulted(AtomicStep::Unlock, path)) {
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

void SaveLock::clearInterruptedSave(const fs::path& target, const ProcessMarker::Holder& holder) {
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

fs::path lockPathFor(const fs::path& target) {
    fs::path lock = followLinks(target);
    return lock += ".lock";
}

} // namespace corvane
