// ReplacedFileRelease: lets go of the old version of a file that a rename replaced, on a thread
// of its own.
//
// When a rename puts a new file in the place of an old one, whoever drops the last reference to
// the old file pays for freeing it: its cached pages, its blocks and, on a file system mounted
// to discard freed blocks, a wait for the disk (a millisecond or more per megabyte). A creation
// run replaces a dozen large files one after the other; paid in the rename, that wait would hold
// up every language. So the writer takes a reference to the old file just before the rename
// (hold), and the release hands it to a thread that drops it while the run goes on.
//
// Calling sequence:
//   ReplacedFileRelease::Held old = ReplacedFileRelease::hold(target); // before the rename
//   rename(temporary, target);
//   ReplacedFileRelease::release(std::move(old)); // the old file is freed on the thread
// A Held that is never released drops its reference where it is destroyed, as before. Nothing
// here can fail a save: a file that cannot be held is freed by the rename, as without it.
// waitForAll() returns once every released file is let go; the process waits for them at exit.
#pragma once

#include <filesystem>

namespace corvane {

class ReplacedFileRelease {
public:
    // A reference to a file about to be replaced (or to nothing).
    class Held {
    public:
        Held() = default;
        Held(Held&& other) noexcept;
        Held& operator=(Held&& other) noexcept;
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        // Drops the reference here, when it was not released.
        ~Held();
        // True when it holds a file.
        explicit operator bool() const noexcept { return fd_ >= 0; }

    private:
        friend class ReplacedFileRelease;
        explicit Held(int fd) noexcept : fd_(fd) {}
        int fd_ = -1;
    };

    // A reference to the regular file at `path` (nothing when there is none, or it is no regular
    // file). It reads nothing and needs no permission to read.
    static Held hold(const std::filesystem::path& path);
    // Hands the reference to the releasing thread.
    static void release(Held held);
    // Returns once every file released so far is let go.
    static void waitForAll();
};

} // namespace corvane
