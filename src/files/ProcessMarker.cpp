#include "files/ProcessMarker.h"

#include "platform/Machine.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

namespace corvane {

namespace fs = std::filesystem;
namespace sys = platform;

namespace {

[[noreturn]] void fail(const fs::path& path, const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess, "Cannot " + what + " '" + path.string() + "': " + std::strerror(error),
                  path.string());
}

std::string utcNow() {
    std::time_t now = std::time(nullptr);
    const std::tm parts = sys::utcParts(now);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// The marker's text: one "key value" line each, readable by a person who finds the file.
std::string markerText(const std::string& purpose) {
    return "Corvane " + purpose + "\nprocess " + std::to_string(sys::currentProcessId()) + "\nmachine " + sys::machineName() +
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
    for (std::uint64_t at = 0;;) {
        long long n = sys::readAt(fd, buffer, sizeof buffer, at);
        if (n <= 0 || text.size() > 4096) // a marker is a few lines; more is not ours to read
            return text;
        text.append(buffer, static_cast<size_t>(n));
        at += static_cast<std::uint64_t>(n);
    }
}

// True when the descriptor and the path name the same file.
bool namesSameFile(int fd, const fs::path& path) {
    sys::FileStatus held, named;
    return sys::statusOf(fd, held) && sys::statusAt(path, named, false) && held.device == named.device &&
           held.inode == named.inode;
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
        sys::removeFile(path_);
    sys::closeFile(std::exchange(fd_, -1));
}

std::optional<ProcessMarker> ProcessMarker::tryTake(const fs::path& path, const std::string& purpose) {
    for (;;) {
        bool created = true;
        int fd = sys::openForUpdate(path, true, true);
        if (fd < 0 && errno == EEXIST) {
            created = false;
            fd = sys::openForUpdate(path, false, false);
            if (fd < 0 && errno == ENOENT)
                continue; // its holder removed it meanwhile
        }
        if (fd < 0)
            fail(path, "create the marker file", errno);
        if (const int error = sys::lockFile(fd, sys::LockMode::Exclusive, false); error != 0) {
            sys::closeFile(fd);
            if (error == EWOULDBLOCK)
                return std::nullopt;
            fail(path, "lock the marker file", error);
        }
        // The previous holder may have removed the file between our open and our lock.
        if (!namesSameFile(fd, path)) {
            sys::closeFile(fd);
            continue;
        }
        ProcessMarker marker(path, fd);
        if (!created) {
            // A file that existed and that nobody holds was left by a program that ended. An
            // empty one may also be a taker's that has not locked it yet: only an old one counts.
            std::string previous = readAll(fd);
            sys::FileStatus info;
            const bool examined = sys::statusOf(fd, info);
            if (!previous.empty() || (examined && info.modifiedNs / 1000000000LL + 2 < std::time(nullptr))) {
                marker.leftBehind_ = parseHolder(previous);
                if (examined)
                    marker.leftBehind_->writtenNs = info.modifiedNs;
            }
        }
        const std::string text = markerText(purpose);
        if (!sys::replaceContent(fd, text))
            fail(path, "write the marker file", errno);
        return marker;
    }
}

ProcessMarker::Holder ProcessMarker::holderOf(const fs::path& path) {
    int fd = sys::openForReading(path, true);
    if (fd < 0)
        return {};
    Holder holder = parseHolder(readAll(fd));
    sys::closeFile(fd);
    return holder;
}

bool ProcessMarker::isHeld(const fs::path& path) {
    int fd = sys::openForReading(path, true);
    if (fd < 0)
        return false;
    // A shared lock is refused only while a holder has its exclusive one.
    const bool held = sys::lockFile(fd, sys::LockMode::Shared, false) == EWOULDBLOCK;
    sys::closeFile(fd);
    return held;
}

void ProcessMarker::abandon() noexcept {
    if (fd_ >= 0)
        sys::closeFile(std::exchange(fd_, -1));
}

void ProcessMarker::release() {
    if (fd_ < 0)
        return;
    const bool ours = namesSameFile(fd_, path_);
    const int error = ours ? sys::removeFile(path_) : 0;
    sys::closeFile(std::exchange(fd_, -1));
    if (error != 0)
        fail(path_, "remove the marker file", error);
}

} // namespace corvane
