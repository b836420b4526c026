// The POSIX implementation of SystemFiles.h.
#ifndef _WIN32

#include "platform/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace corvane::platform {

namespace {

FileKind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Fifo;
    if (S_ISCHR(mode))
        return FileKind::CharacterDevice;
    if (S_ISBLK(mode))
        return FileKind::BlockDevice;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    if (S_ISLNK(mode))
        return FileKind::Link;
    return FileKind::Other;
}

void fill(const struct stat& info, FileStatus& status) {
    status.kind = kindOf(info.st_mode);
    status.permissions = static_cast<unsigned>(info.st_mode & 07777);
    status.device = static_cast<std::uint64_t>(info.st_dev);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.modifiedNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    status.changedNs = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
}

// Opens with retries while interrupted.
int openRetrying(const std::filesystem::path& path, int flags, mode_t permissions = 0) {
    int fd = -1;
    do
        fd = ::open(path.c_str(), flags, permissions);
    while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

bool statusOf(int fd, FileStatus& status) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    fill(info, status);
    return true;
}

bool statusAt(const std::filesystem::path& path, FileStatus& status, bool followLink) {
    struct stat info {};
    if ((followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        return false;
    fill(info, status);
    return true;
}

int openForReading(const std::filesystem::path& path, bool noFollow) {
    int fd = openRetrying(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (noFollow ? O_NOFOLLOW : 0));
    if (fd >= 0) { // reads block again, as a regular file's reads always do
        int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return fd;
}

int openForUpdate(const std::filesystem::path& path, bool create, bool exclusive) {
    int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    if (create)
        flags |= O_CREAT;
    if (exclusive)
        flags |= O_EXCL;
    return openRetrying(path, flags, 0644);
}

int openReference(const std::filesystem::path& path) {
    // O_PATH: a reference to the file itself, which neither reads it nor blocks on a pipe.
    return ::open(path.c_str(), O_PATH | O_CLOEXEC);
}

int createUniqueFile(std::string& pattern, std::size_t suffixLength, unsigned permissions) {
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = ::mkostemps(buffer.data(), static_cast<int>(suffixLength), O_CLOEXEC);
    if (fd < 0)
        return -1;
    pattern.assign(buffer.data());
    if (::fchmod(fd, static_cast<mode_t>(permissions)) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(pattern.c_str());
        errno = error;
        return -1;
    }
    return fd;
}

int closeFile(int fd) { return ::close(fd); }

long long readSome(int fd, char* into, std::size_t size) {
    for (;;) {
        ssize_t n = ::read(fd, into, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

long long readAt(int fd, char* into, std::size_t size, std::uint64_t offset) {
    for (;;) {
        ssize_t n = ::pread(fd, into, size, static_cast<off_t>(offset));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool replaceContent(int fd, std::string_view bytes) {
    return ::ftruncate(fd, 0) == 0 &&
           ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
}

int flushFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int flushFolder(const std::filesystem::path& folder) {
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int result = dir < 0 ? -1 : ::fsync(dir);
    int error = result != 0 ? errno : 0;
    if (dir >= 0)
        ::close(dir);
    return error;
}

int flushFileSystem(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

void startWriteBack([[maybe_unused]] int fd) {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); // a hint: its failure costs nothing
#endif
}

int renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int exchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b) {
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0)
        return 0;
    return errno == EINVAL || errno == ENOSYS ? ENOTSUP : errno; // the file system cannot
#else
    (void)a;
    (void)b;
    return ENOTSUP;
#endif
}

int removeFile(const std::filesystem::path& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

int writeAccess(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0 ? 0 : errno; }

bool canExecute(const std::filesystem::path& path) { return ::access(path.c_str(), X_OK) == 0; }

bool canEnter(const std::filesystem::path& path) { return ::access(path.c_str(), X_OK) == 0; }

int lockFile(int fd, LockMode mode, bool wait) {
    const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | (wait ? 0 : LOCK_NB);
    for (;;) {
        if (::flock(fd, operation) == 0)
            return 0;
        if (errno != EINTR || !wait)
            return errno == EINTR ? EWOULDBLOCK : errno;
    }
}

} // namespace corvane::platform

#endif
