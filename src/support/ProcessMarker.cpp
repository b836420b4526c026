#include "support/ProcessMarker.h"

#include "support/VbError.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace corvane {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const fs::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess, "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

std::string hostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "this machine";
    return name;
}

std::string utcNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// The marker's text: one "key value" line each, readable by a person who finds the file.
std::string markerText(const std::string& purpose) {
    return "Corvane " + purpose + "\nprocess " + std::to_string(::getpid()) + "\nmachine " + hostName() +
           "\nsince " + utcNow() + "\n";
}

ProcessMarker::Holder parseHolder(std::string_view text) {
    ProcessMarker::Holder holder;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        auto value = [&](std::string_view key) -> std::optional<std::string> {
            if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ' ')
                return std::string(line.substr(key.size() + 1));
            return std::nullopt;
        };
        if (auto purpose = value("Corvane"))
            holder.purpose = *purpose;
        else if (auto process = value("process"))
            holder.process = std::strtol(process->c_str(), nullptr, 10);
        else if (auto machine = value("machine"))
            holder.machine = *machine;
        else if (auto since = value("since"))
            holder.since = *since;
    }
    return holder;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[512];
    for (off_t at = 0;;) {
        ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || text.size() > 4096) // a marker is a few lines; more is not ours to read
            return text;
        text.append(buffer, static_cast<size_t>(n));
        at += n;
    }
}

// True when the descriptor and the path name the same file.
bool namesSameFile(int fd, const fs::path& path) {
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

std::string ProcessMarker::Holder::describe() const {
    if (process == 0)
        return "a program that did not say which";
    std::string text = "process " + std::to_string(process);
    if (!machine.empty())
        text += " on " + machine;
    if (!since.empty())
        text += ", since " + since;
    return text;
}

ProcessMarker::ProcessMarker(ProcessMarker&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), leftBehind_(std::move(other.leftBehind_)) {}

ProcessMarker& ProcessMarker::operator=(ProcessMarker&& other) noexcept {
    if (this != &other) {
        drop();
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        leftBehind_ = std::move(other.leftBehind_);
    }
    return *this;
}

ProcessMarker::~ProcessMarker() { drop(); }

void ProcessMarker::drop() noexcept {
    if (fd_ < 0)
        return;
    if (namesSameFile(fd_, path_))
        ::unlink(path_.c_str());
    ::close(std::exchange(fd_, -1));
}

std::optional<ProcessMarker> ProcessMarker::tryTake(const fs::path& path, const std::string& purpose) {
    constexpr int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    for (;;) {
        bool created = true;
        int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = ::open(path.c_str(), flags);
            if (fd < 0 && errno == ENOENT)
                continue; // its holder removed it meanwhile
        }
        if (fd < 0)
            fail(path, "create the marker file", errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK || error == EINTR)
                return std::nullopt;
            fail(path, "lock the marker file", error);
        }
        // The previous holder may have removed the file between our open and our lock.
        if (!namesSameFile(fd, path)) {
            ::close(fd);
            continue;
        }
        ProcessMarker marker(path, fd);
        if (!created) {
            // A file that existed and that nobody holds was left by a program that ended. An
            // empty one may also be a taker's that has not locked it yet: only an old one counts.
            std::string previous = readAll(fd);
            struct stat info {};
            const bool examined = ::fstat(fd, &info) == 0;
            if (!previous.empty() || (examined && info.st_mtime + 2 < std::time(nullptr))) {
                marker.leftBehind_ = parseHolder(previous);
                if (examined)
                    marker.leftBehind_->writtenNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
            }
        }
        const std::string text = markerText(purpose);
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()))
            fail(path, "write the marker file", errno);
        return marker;
    }
}

ProcessMarker::Holder ProcessMarker::holderOf(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return {};
    Holder holder = parseHolder(readAll(fd));
    ::close(fd);
    return holder;
}

bool ProcessMarker::isHeld(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    // A shared lock is refused only while a holder has its exclusive one.
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void ProcessMarker::abandon() noexcept {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

void ProcessMarker::release() {
    if (fd_ < 0)
        return;
    const bool ours = namesSameFile(fd_, path_);
    const int error = ours && ::unlink(path_.c_str()) != 0 ? errno : 0;
    ::close(std::exchange(fd_, -1));
    if (error != 0)
        fail(path_, "remove the marker file", error);
}

} // namespace corvane
