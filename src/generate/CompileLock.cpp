#include "generate/CompileLock.h"

#include "files/FileFailures.h"
#include "files/Notice.h"
#include "files/SaveLock.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <atomic>
#include <cerrno>
#include <optional>
#include <thread>

namespace corvane {

namespace fs = std::filesystem;

namespace {

std::atomic<std::chrono::milliseconds::rep>& waitSet() {
    static std::atomic<std::chrono::milliseconds::rep> wait{std::chrono::milliseconds(std::chrono::minutes(10)).count()};
    return wait;
}

} // namespace

fs::path CompileLock::lockPathOf(const fs::path& outputFolder) {
    fs::path folder = outputFolder;
    if (!folder.has_filename()) // "Corvane/" names the same folder
        folder = folder.parent_path();
    // Beside the folder a link leads to, as a save's: two projects whose output folders are one
    // share a lock.
    return lockPathFor(folder);
}

std::chrono::milliseconds CompileLock::setWait(std::chrono::milliseconds wait) {
    return std::chrono::milliseconds(waitSet().exchange(wait.count()));
}

CompileLock CompileLock::take(const fs::path& outputFolder, const std::function<void(const std::string& holder)>& waiting) {
    const fs::path path = lockPathOf(outputFolder);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitSet().load());
    bool told = false;
    for (;;) {
        std::optional<ProcessMarker> marker;
        try {
            marker = ProcessMarker::tryTake(path, "compile");
        } catch (const VbError&) {
            if (const int refusal = platform::writeAccess(folderOf(path));
                refusal == EACCES || refusal == EPERM || refusal == EROFS)
                return CompileLock(std::nullopt); // nothing can be written there; the compile says so
            throw;
        }
        if (marker) {
            if (const auto& left = marker->leftBehind())
                notice("A compile of the help files in '" + outputFolder.string() + "' by " + left->describe() +
                       " did not finish; its lock was taken over.");
            return CompileLock(std::move(marker));
        }
        if (!told && waiting) {
            waiting(ProcessMarker::holderOf(path).describe());
            told = true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            throw VbError(vberr::PathFileAccess,
                          "Another compile (" + ProcessMarker::holderOf(path).describe() +
                              ") is writing the help files in '" + outputFolder.string() + "': its lock file '" +
                              path.string() + "' is held. Try again when that compile has ended.",
                          outputFolder.string());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace corvane
