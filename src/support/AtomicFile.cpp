#include "support/AtomicFile.h"

#include "support/VbError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

void writeAll(int fd, const std::filesystem::path& path, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            std::filesystem::remove(path);
            fail(path, "write", error);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target, std::filesystem::path temporary,
                       Durability durability)
    : target_(std::move(target)), temporary_(std::move(temporary)), durability_(durability) {
    if (temporary_.empty())
        temporary_ = std::filesystem::path(target_.string() + ".tmp");
}

void AtomicFile::commit() {
    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777; // keep the permissions of the file being replaced

    int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        fail(temporary_, "create", errno);
    for (std::string_view piece : content_.pieces())
        writeAll(fd, temporary_, piece);
    if (durability_ == Durability::Flush && ::fsync(fd) != 0 && errno != EINVAL) {
        int error = errno;
        ::close(fd);
        std::filesystem::remove(temporary_);
        fail(temporary_, "flush", error);
    }
    if (::close(fd) != 0) {
        int error = errno;
        std::filesystem::remove(temporary_);
        fail(temporary_, "close", error);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        int error = errno;
        throw VbError(vberr::PathFileAccess,
                      "Cannot rename '" + temporary_.string() + "' to '" + target_.string() +
                          "': " + std::strerror(error) + ". The new content is kept in '" +
                          temporary_.string() + "'.",
                      target_.string());
    }
}

void replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                           Durability durability) {
    AtomicFile file(target, {}, durability);
    file.write(bytes);
    file.commit();
}

void syncFileSystem(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail(path, "open", errno);
    if (::syncfs(fd) != 0) {
        int error = errno;
        ::close(fd);
        fail(path, "flush the file system of", error);
    }
    ::close(fd);
}

std::string readFileBytes(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        if (error == ENOENT)
            throw VbError(vberr::FileNotFound, "File not found: '" + path.string() + "'",
                          path.string());
        fail(path, "open", error);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    // Read straight into a string of the file's size, no copies through a buffer and no
    // growing string; one byte more, so that a file that grew meanwhile is still read whole.
    struct stat info {};
    size_t expected = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
    std::string bytes(expected > 0 ? expected + 1 : 65536, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(path, "read", errno);
        }
        filled += static_cast<size_t>(n);
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace corvane
