// SaveLock: the lock that serialises saves of one file, "<target>.lock" beside it (a
// ProcessMarker naming the process, machine and time), held while a save runs, as git holds
// "index.lock".
//
// Calling sequence: SaveLock lock(target, wait) takes the lock, waiting up to `wait` for a save
// another program runs; lock.release(target) removes it after the save succeeded. A lock left by
// a program that ended (killed, crashed) is taken over, with a notice (Notice.h), and the
// temporary files that save left are removed. A lock destroyed without release() (the save
// failed) is removed too, by its ProcessMarker.
// Error handling: VbError 75 naming the file being saved, for a lock another save holds past
// the wait, a folder where no lock can be made, or a lock that could not be removed.
#pragma once

#include "files/ProcessMarker.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace corvane {

class SaveLock {
public:
    // Takes the lock of `target` (a link's target: see lockPathFor), waiting up to `wait`.
    SaveLock(const std::filesystem::path& target, std::chrono::milliseconds wait);
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;
    // Removes the lock unless release() did (a save that failed).
    ~SaveLock();

    // Removes the lock after a successful save of `target`; raises VbError 75 when it stays.
    void release(const std::filesystem::path& target);

    // True when a lock taken on this thread is the lock file `lockPath`: a read of its file
    // there runs inside its own save, which it must not wait for.
    static bool takenOnThisThread(const std::filesystem::path& lockPath);

private:
    // Removes what the save that held the lock before (`holder`) left, and tells so.
    static void clearInterruptedSave(const std::filesystem::path& target, const ProcessMarker::Holder& holder);

    std::optional<ProcessMarker> marker_;
};

// The lock file that serialises saves of `target` ("<target>.lock" beside the file a link
// points to).
std::filesystem::path lockPathFor(const std::filesystem::path& target);

} // namespace corvane
