// ProcessMarker: a small file beside a data file saying which process, on which machine and
// since when, is at work on it: the save lock "<file>.lock" while a save runs, the editor's
// marker while an editor has the file open.
//
// The holder keeps an advisory lock (flock) on the marker's file for as long as it holds the
// marker. The system drops that lock when the process ends in any way, kill -9 included, so a
// marker file whose lock nobody holds is stale: the next taker takes it over and can tell the
// user whose it was. A killed program never blocks the next one.
//
//   std::optional<ProcessMarker> marker = ProcessMarker::tryTake(path, "save");
//   if (!marker) { ProcessMarker::Holder who = ProcessMarker::holderOf(path); ... } // held
//   if (marker->leftBehind()) { ... }  // a stale marker was taken over: whose it was
//   marker->release();                 // removes the file (the destructor does so too)
//
// A waiter that opened the file just before its holder removed it finds, once it has the
// lock, that the path no longer names the file it locked, and tries again: two takers never
// both hold a marker.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

class ProcessMarker {
public:
    // What a marker file says of its holder.
    struct Holder {
        std::string purpose; // what it is held for ("save", "editor"); empty when not said
        long process = 0;    // the process id; 0 when not said (an empty marker file)
        std::string machine; // the host name
        std::string since;   // when it was taken, "YYYY-MM-DD HH:MM:SS UTC"
        long long writtenNs = 0; // when its file was last written (ns since the epoch; 0: unknown)

        // "process 1234 on host, since 2026-12-07 14:02:11 UTC" (or what of it is known).
        std::string describe() const;
    };

    ProcessMarker(ProcessMarker&& other) noexcept;
    ProcessMarker& operator=(ProcessMarker&& other) noexcept;
    ProcessMarker(const ProcessMarker&) = delete;
    ProcessMarker& operator=(const ProcessMarker&) = delete;
    // Releases the marker (removes its file) unless release() did.
    ~ProcessMarker();

    // Takes the marker at `path` for `purpose` unless a live process holds it (then nothing).
    // VbError 75 naming the file when it cannot be made (a folder that is read-only).
    static std::optional<ProcessMarker> tryTake(const std::filesystem::path& path, const std::string& purpose);
    // What the marker file at `path` says (all empty when there is none or it says nothing).
    static Holder holderOf(const std::filesystem::path& path);
    // True when a live process holds the marker at `path`.
    static bool isHeld(const std::filesystem::path& path);

    // The marker's file.
    const std::filesystem::path& path() const noexcept { return path_; }
    // The holder of the stale marker this one took over; nothing when the file was new.
    const std::optional<Holder>& leftBehind() const noexcept { return leftBehind_; }
    // Removes the marker's file and lets it go; VbError 75 naming the file when it stays.
    void release();
    // Lets the marker go and leaves its file (its removal failed): the next taker takes it over.
    void abandon() noexcept;

private:
    ProcessMarker(std::filesystem::path path, int fd) : path_(std::move(path)), fd_(fd) {}
    void drop() noexcept;

    std::filesystem::path path_;
    int fd_ = -1;
    std::optional<Holder> leftBehind_;
};

} // namespace corvane
