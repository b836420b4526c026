#include "support/RegularFile.h"

#include "support/VbError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

[[noreturn]] void refuse(const std::filesystem::path& path, mode_t mode) {
    throw VbError(vberr::PathFileAccess,
                  "'" + path.string() + "' is " + fileKindText(mode) + ", not a regular file, so it is not read",
                  path.string());
}

// Opens without blocking; -1 with errno set when the open fails.
int openWithoutBlocking(const std::filesystem::path& path) {
    int fd = -1;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// The mode of an open file; false on failure.
bool modeOf(int fd, mode_t& mode) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    mode = info.st_mode;
    return true;
}

// Reads block again, as a regular file's reads always do (the flag only mattered for the open).
void readBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

} // namespace

std::string fileKindText(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISREG(mode))
        return "a regular file";
    return "a special file";
}

int openRegularFileIfExists(const std::filesystem::path& path) {
    int fd = openWithoutBlocking(path);
    if (fd < 0) {
        int error = errno;
        if (error == ENOENT)
            return -1;
        struct stat info {};
        if (error == ENXIO && ::stat(path.c_str(), &info) == 0)
            refuse(path, info.st_mode); // a socket, or a device without its driver
        throw VbError(vberr::PathFileAccess, "Cannot open '" + path.string() + "': " + std::strerror(error),
                      path.string());
    }
    mode_t mode = 0;
    if (!modeOf(fd, mode)) {
        int error = errno;
        ::close(fd);
        throw VbError(vberr::PathFileAccess, "Cannot examine '" + path.string() + "': " + std::strerror(error),
                      path.string());
    }
    if (!S_ISREG(mode)) {
        ::close(fd);
        refuse(path, mode);
    }
    readBlocking(fd);
    return fd;
}

int openRegularFile(const std::filesystem::path& path) {
    int fd = openRegularFileIfExists(path);
    if (fd < 0)
        throw VbError(vberr::FileNotFound, "File not found: '" + path.string() + "'", path.string());
    return fd;
}

int openIfRegularFile(const std::filesystem::path& path) noexcept {
    int fd = openWithoutBlocking(path);
    mode_t mode = 0;
    if (fd >= 0 && (!modeOf(fd, mode) || !S_ISREG(mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    if (fd >= 0)
        readBlocking(fd);
    return fd;
}

void checkRegularFile(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        refuse(path, info.st_mode);
}

} // namespace corvane
