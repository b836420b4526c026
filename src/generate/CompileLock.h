// CompileLock: one compile at a time writes a project's help output.
//
// A compile writes every language's help project into "<project folder>Corvane/", has the
// help compilers replace the compiled files there (the HTML Help front end removes the old
// ".chm" before chmcmd writes the new one) and copies the primary language's files beside
// the project. Two compiles of one project at once spoil each other's files. So a compile
// holds "Corvane.lock" beside the output folder (a ProcessMarker, as a save holds
// "<file>.lock"): the compile command from before it reads the project until it has saved, so
// that a second one reads what the first wrote, and the editor for its creation run. A second
// compile waits for the first to end; after a bounded wait it stops with a message that names
// the folder and the holder. A lock left by a compile that was killed is taken over at once,
// with a notice (Notice.h). Where the folder is read-only no lock can be made and none is
// needed to keep the output whole: the compile goes on unlocked, and its first write names the
// read-only folder as it always does.
//
//   std::optional<CompileLock> lock = CompileLock::take(layout.outputFolder(), waiting);
//   ... generate, compile, place, save ...      // the destructor lets the lock go
#pragma once

#include "files/ProcessMarker.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

namespace corvane {

class CompileLock {
public:
    // Takes the lock of the output folder `outputFolder`, waiting while another live compile
    // holds it; `waiting` (when given) is called once, with that compile's description, before
    // the wait starts. Raises VbError 75 naming the folder and the holder when the wait ends
    // without the lock, or naming the lock file when it cannot be made.
    static CompileLock take(const std::filesystem::path& outputFolder,
                            const std::function<void(const std::string& holder)>& waiting = {});
    // The lock file of the output folder: "Corvane.lock" beside it.
    static std::filesystem::path lockPathOf(const std::filesystem::path& outputFolder);
    // How long take() waits for another compile (ten minutes unless set); returns the wait set
    // before. For tests that need the wait to end soon.
    static std::chrono::milliseconds setWait(std::chrono::milliseconds wait);

    CompileLock(CompileLock&&) noexcept = default;
    CompileLock& operator=(CompileLock&&) noexcept = default;

    // True when the lock file is held (false only in a read-only folder).
    bool held() const noexcept { return marker_.has_value(); }

private:
    explicit CompileLock(std::optional<ProcessMarker> marker) : marker_(std::move(marker)) {}

    std::optional<ProcessMarker> marker_;
};

} // namespace corvane
