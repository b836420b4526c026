#include "files/RegularFile.h"

#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstring>

namespace corvane {

namespace {

namespace sys = platform;

[[noreturn]] void refuse(const std::filesystem::path& path, sys::FileKind kind) {
    throw VbError(vberr::PathFileAccess,
                  "'" + path.string() + "' is " + fileKindText(kind) + ", not a regular file, so it is not read",
                  path.string());
}

} // namespace

std::string fileKindText(sys::FileKind kind) {
    switch (kind) {
    case sys::FileKind::Folder:
        return "a folder";
    case sys::FileKind::Fifo:
        return "a FIFO (named pipe)";
    case sys::FileKind::CharacterDevice:
        return "a character device";
    case sys::FileKind::BlockDevice:
        return "a block device";
    case sys::FileKind::Socket:
        return "a socket";
    case sys::FileKind::Regular:
        return "a regular file";
    case sys::FileKind::Link:
    case sys::FileKind::Other:
        break;
    }
    return "a special file";
}

int openRegularFileIfExists(const std::filesystem::path& path) {
    int fd = sys::openForReading(path);
    if (fd < 0) {
        int error = errno;
        if (error == ENOENT)
            return -1;
        sys::FileStatus info;
        if ((error == ENXIO || error == EACCES) && sys::statusAt(path, info) && info.kind != sys::FileKind::Regular)
            refuse(path, info.kind); // a socket, a device without its driver, a folder on Windows
        throw VbError(vberr::PathFileAccess, "Cannot open '" + path.string() + "': " + std::strerror(error),
                      path.string());
    }
    sys::FileStatus info;
    if (!sys::statusOf(fd, info)) {
        int error = errno;
        sys::closeFile(fd);
        throw VbError(vberr::PathFileAccess, "Cannot examine '" + path.string() + "': " + std::strerror(error),
                      path.string());
    }
    if (info.kind != sys::FileKind::Regular) {
        sys::closeFile(fd);
        refuse(path, info.kind);
    }
    return fd;
}

int openRegularFile(const std::filesystem::path& path) {
    int fd = openRegularFileIfExists(path);
    if (fd < 0)
        throw VbError(vberr::FileNotFound, "File not found: '" + path.string() + "'", path.string());
    return fd;
}

int openIfRegularFile(const std::filesystem::path& path) noexcept {
    int fd = sys::openForReading(path);
    sys::FileStatus info;
    if (fd >= 0 && (!sys::statusOf(fd, info) || info.kind != sys::FileKind::Regular)) {
        sys::closeFile(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

void checkRegularFile(const std::filesystem::path& path) {
    sys::FileStatus info;
    if (sys::statusAt(path, info) && info.kind != sys::FileKind::Regular)
        refuse(path, info.kind);
}

} // namespace corvane
