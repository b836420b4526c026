#include "support/AtomicFile.h"

#include "support/VbError.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace corvane {

namespace {

namespace fs = std::filesystem;

AtomicFaultInjector& faultInjector() {
    static AtomicFaultInjector injector;
    return injector;
}

// The errno a test injects into this step (0: none).
int injected(AtomicStep step, const fs::path& file) {
    const AtomicFaultInjector& injector = faultInjector();
    return injector ? injector(step, file) : 0;
}

// True, with errno set, when a test makes this step fail; the step is then not taken.
bool faulted(AtomicStep step, const fs::path& file) {
    int error = injected(step, file);
    if (error != 0)
        errno = error;
    return error != 0;
}

[[noreturn]] void fail(const fs::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess,
                  "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

// Writes all bytes; false with errno set when the system refuses.
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

// "<target>.lock", created exclusively; removed on destruction unless released before.
class LockFile {
public:
    LockFile(const fs::path& target, std::chrono::milliseconds wait) : path_(lockPathFor(target)) {
        auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            int fd = faulted(AtomicStep::Lock, path_)
                         ? -1
                         : ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                ::close(fd);
                held_ = true;
                return;
            }
            if (errno != EEXIST)
                fail(path_, "create the lock file", errno);
            if (std::chrono::steady_clock::now() >= deadline)
                throw VbError(
                    vberr::PathFileAccess,
                    "The file '" + target.string() +
                        "' is being saved by another program: its lock file '" + path_.string() +
                        "' exists. Try again when that save has ended; if no other save " +
                        "is running, delete '" + path_.string() + "'.",
                    target.string());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    ~LockFile() {
        if (held_)
            ::unlink(path_.c_str());
    }
    // Removes the lock after a successful commit; raises VbError 75 when it stays.
    void release(const fs::path& target) {
        held_ = false;
        if (faulted(AtomicStep::Unlock, path_) || ::unlink(path_.c_str()) != 0)
            throw VbError(vberr::PathFileAccess,
                          "The new content of '" + target.string() +
                              "' is saved, but its lock file '" + path_.string() +
                              "' could not be removed: " + std::strerror(errno) +
                              ". Delete it before the file is saved again.",
                          target.string());
    }

private:
    fs::path path_;
    bool held_ = false;
};

// The template of a unique temporary name from the wanted one: "<name>.XXXXXX.tmp".
std::string temporaryTemplate(const fs::path& folder, const fs::path& wanted,
                              size_t& suffixLength) {
    std::string name = wanted.filename().string();
    std::string suffix;
    if (name.size() > 4 && name.ends_with(".tmp")) {
        suffix = ".tmp";
        name.resize(name.size() - 4);
    }
    suffixLength = suffix.size();
    return (folder / (name + ".XXXXXX" + suffix)).string();
}

} // namespace

AtomicFaultInjector setAtomicFaultInjector(AtomicFaultInjector injector) {
    std::swap(faultInjector(), injector);
    return injector;
}

fs::path lockPathFor(const fs::path& target) {
    return fs::path(followLinks(target).string() + ".lock");
}

fs::path followLinks(const fs::path& path) {
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return current;
        fs::path next = fs::read_symlink(current, error);
        if (error)
            fail(current, "follow the link", error.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    fail(path, "follow the link", ELOOP);
}

bool isReadOnlyFile(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

AtomicFile::AtomicFile(fs::path target, fs::path temporary, Durability durability, Locking locking)
    : target_(std::move(target)), temporary_(std::move(temporary)), durability_(durability),
      locking_(locking) {}

void AtomicFile::commit() {
    const fs::path realTarget = followLinks(target_);
    std::optional<LockFile> lock;
    if (locking_ == Locking::Exclusive)
        lock.emplace(realTarget, lockWait_);
    if (isReadOnlyFile(realTarget))
        throw VbError(vberr::PathFileAccess,
                      "The file '" + realTarget.string() + "' is read-only; it was not replaced.",
                      realTarget.string());
    if (beforeReplace_)
        beforeReplace_();
    writeTemporary(realTarget);
    replaceTarget(realTarget);
    if (lock)
        lock->release(realTarget);
}

// Creates the temporary file beside the real target, writes the content and flushes it; on
// failure the temporary file is removed and the target is untouched.
void AtomicFile::writeTemporary(const fs::path& realTarget) {
    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(realTarget.c_str(), &existing) == 0)
        mode = existing.st_mode & 07777; // keep the permissions of the file being replaced
    const fs::path wanted =
        temporary_.empty() ? fs::path(realTarget.string() + ".tmp") : temporary_;
    size_t suffixLength = 0;
    std::string name = temporaryTemplate(realTarget.parent_path(), wanted, suffixLength);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    int fd = faulted(AtomicStep::CreateTemporary, name)
                 ? -1
                 : ::mkostemps(buffer.data(), static_cast<int>(suffixLength), O_CLOEXEC);
    if (fd < 0)
        fail(name, "create", errno);
    temporaryUsed_ = fs::path(buffer.data());
    auto abandon = [&](const std::string& what, int error) {
        ::close(fd);
        ::unlink(temporaryUsed_.c_str());
        fail(temporaryUsed_, what, error);
    };
    if (::fchmod(fd, mode) != 0)
        abandon("set the permissions of", errno);
    if (int error = injected(AtomicStep::Write, temporaryUsed_); error != 0)
        abandon("write", error);
    for (std::string_view piece : content_.pieces())
        if (!writeAll(fd, piece))
            abandon("write", errno);
    if (durability_ == Durability::Flush &&
        (faulted(AtomicStep::Flush, temporaryUsed_) || (::fsync(fd) != 0 && errno != EINVAL)))
        abandon("flush", errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(temporaryUsed_.c_str());
        fail(temporaryUsed_, "close", error);
    }
}

// Renames the temporary file over the target and, when durable, flushes the folder.
void AtomicFile::replaceTarget(const fs::path& realTarget) {
    if (faulted(AtomicStep::Rename, realTarget) ||
        ::rename(temporaryUsed_.c_str(), realTarget.c_str()) != 0) {
        int error = errno;
        throw VbError(vberr::PathFileAccess,
                      "Cannot rename '" + temporaryUsed_.string() + "' to '" + realTarget.string() +
                          "': " + std::strerror(error) + ". The new content is kept in '" +
                          temporaryUsed_.string() + "'.",
                      realTarget.string());
    }
    if (durability_ != Durability::Flush)
        return;
    fs::path folder = realTarget.has_parent_path() ? realTarget.parent_path() : fs::path(".");
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int result = dir < 0 ? -1 : ::fsync(dir);
    int error = result != 0 ? errno : 0;
    if (dir >= 0)
        ::close(dir);
    if (int fault = injected(AtomicStep::SyncFolder, folder); fault != 0)
        error = fault;
    if (error != 0 && error != EINVAL)
        throw VbError(vberr::PathFileAccess,
                      "The new content of '" + realTarget.string() +
                          "' is in place, but its folder could " + "not be flushed to disk: " +
                          std::strerror(error) + ". Save again to be sure it survives a crash.",
                      realTarget.string());
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
    int fd = faulted(AtomicStep::Read, path) ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
    size_t expected =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
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
