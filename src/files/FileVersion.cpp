#include "files/FileVersion.h"

#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {

FileVersion::~FileVersion() {
    if (fd_ >= 0)
        platform::closeFile(fd_);
}

FileVersion::FileVersion(FileVersion&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), stamp_(other.stamp_) {}

FileVersion& FileVersion::operator=(FileVersion&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            platform::closeFile(fd_);
        fd_ = std::exchange(other.fd_, -1);
        stamp_ = other.stamp_;
    }
    return *this;
}

FileVersion FileVersion::open(const std::filesystem::path& path) {
    FileVersion version;
    // Without blocking: a special file (a FIFO) must not hold the program up.
    int fd = platform::openForReading(path);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return version;
        throw VbError(vberr::PathFileAccess,
                      "Cannot open '" + path.string() + "': " + std::strerror(error), path.string());
    }
    version.fd_ = fd;
    if (auto stamp = FileStamp::of(fd))
        version.stamp_ = *stamp;
    return version;
}

bool FileVersion::isCurrent(const std::filesystem::path& path) const {
    platform::FileStatus onDisk;
    if (!platform::statusAt(path, onDisk))
        return fd_ < 0 && errno == ENOENT;
    if (fd_ < 0)
        return false;
    // The inode we hold is the one the path names, and nothing was written to it since.
    std::optional<FileStamp> now = FileStamp::of(fd_);
    return now && *now == stamp_ && onDisk.device == stamp_.device && onDisk.inode == stamp_.inode;
}

} // namespace corvane
