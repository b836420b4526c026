// FileStamp: what identifies one version of a file on disk, so that a reader can tell whether
// the file it examined earlier is still the one in place and unchanged.
//
// A file replaced by a rename has another inode; one written in place has another change
// time, which no program can set back. Equal stamps therefore mean the same bytes.
//
//   std::optional<FileStamp> seen = FileStamp::of(fd);
//   ...
//   if (seen && FileStamp::of(otherFd) == seen) { /* the file is as it was */ }
#pragma once

#include <filesystem>
#include <optional>

namespace corvane {

struct FileStamp {
    unsigned long long device = 0, inode = 0, size = 0;
    long long mtimeNs = 0, ctimeNs = 0;

    // The stamp of the file open as `fd`; nothing when it cannot be examined.
    static std::optional<FileStamp> of(int fd);
    // The stamp of the file `path` names; nothing when it does not exist or cannot be examined.
    static std::optional<FileStamp> at(const std::filesystem::path& path);

    bool operator==(const FileStamp&) const = default;
    // True when both stamps are of one version of one file, though a rename may have moved
    // it since (a rename changes a file's change time, not its content or modification time).
    bool sameVersion(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size && mtimeNs == other.mtimeNs;
    }
};

} // namespace corvane
