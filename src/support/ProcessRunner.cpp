#include "support/ProcessRunner.h"

#include "support/CommandLineSplit.h"
#include "support/VbError.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* LogSource = "ProcessRunner";

[[noreturn]] void cannotStart(const std::string& program, const std::string& reason) {
    throw VbError(vberr::FileNotFound,
                  "File not found: the program \"" + program + "\" cannot be started (" + reason + ")",
                  LogSource);
}

[[noreturn]] void accessFailed(const std::string& what, int error) {
    throw VbError(vberr::PathFileAccess, "Path/File access error: " + what + " (" + std::strerror(error) + ")",
                  LogSource);
}

// Why a path cannot be run as a program, or "" when it can.
std::string whyNotRunnable(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return "it is a folder";
    if (!S_ISREG(info.st_mode))
        return "it is not a regular file";
    if (::access(path.c_str(), X_OK) != 0)
        return "it is not executable";
    return {};
}

// The PATH of this process, or the system's default search path when none is set.
std::string searchPath() {
    if (const char* path = std::getenv("PATH"))
        return path;
    std::string fallback(::confstr(_CS_PATH, nullptr, 0), '\0');
    if (!fallback.empty())
        ::confstr(_CS_PATH, fallback.data(), fallback.size());
    return fallback.c_str();
}

// The runnable file of a bare program name in PATH, or nothing.
std::optional<fs::path> findInPath(const std::string& name) {
    std::string path = searchPath();
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find(':', start), path.size());
        std::string dir = path.substr(start, end - start);
        fs::path candidate = fs::absolute(fs::path(dir.empty() ? "." : dir) / name);
        if (whyNotRunnable(candidate).empty())
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

// The file to execute for a program name: a name with "/" as it is, others from PATH.
fs::path findProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        fs::path path = fs::absolute(name);
        std::string reason = whyNotRunnable(path);
        if (!reason.empty())
            cannotStart(name, reason);
        return path;
    }
    if (auto found = findInPath(name))
        return *found;
    cannotStart(name, "not found in PATH");
}

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// Moves a descriptor above the standard ones, so that setting up the child's 0, 1 and 2
// cannot overwrite it (this process may run with a standard descriptor closed).
int aboveStandard(int fd) {
    if (fd > STDERR_FILENO)
        return fd;
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    int error = errno;
    ::close(fd);
    if (moved < 0)
        accessFailed("cannot create the output pipe", error);
    return moved;
}

// The spawn settings of one child: standard input from /dev/null, output and errors into
// the pipe, every other descriptor closed, default signal handling, a process group of its
// own, optional folder.
class SpawnSetup {
public:
    SpawnSetup(int outputFd, const fs::path& workingDirectory) {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_adddup2(&actions_, outputFd, STDOUT_FILENO);
        ::posix_spawn_file_actions_adddup2(&actions_, outputFd, STDERR_FILENO);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        // Descriptors that other code opened without O_CLOEXEC must not reach the child either.
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
#endif
        if (!workingDirectory.empty())
            ::posix_spawn_file_actions_addchdir_np(&actions_, workingDirectory.c_str());
        sigset_t signals;
        sigemptyset(&signals);
        ::posix_spawnattr_setsigmask(&attributes_, &signals);
        for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM})
            sigaddset(&signals, signal);
        ::posix_spawnattr_setsigdefault(&attributes_, &signals);
        ::posix_spawnattr_setpgroup(&attributes_, 0); // the group is the child's own
        ::posix_spawnattr_setflags(&attributes_,
                                   POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// A started child, the leader of its own process group; ends the group and reaps the child if
// the run is left early (an exception while reading).
class Child {
public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (pid_ > 0) {
            stop();
            waitForExit();
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Ends the child and every process of its group at once.
    void stop() {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL); // should the group not have been made
    }
    // The exit status when the child has ended (reaping it), nothing while it runs.
    std::optional<int> exitedNow() {
        int status = 0;
        pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == 0 || (done < 0 && errno == EINTR))
            return std::nullopt;
        pid_ = -1;
        return done < 0 ? -1 : exitCode(status);
    }
    // Waits for the child's end; the exit status, or 128 + the signal that ended it.
    int waitForExit() {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0) {
            if (errno != EINTR) {
                pid_ = -1;
                return -1;
            }
        }
        pid_ = -1;
        return exitCode(status);
    }

private:
    static int exitCode(int status) { return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status); }

    pid_t pid_;
};

// The time limit and the stop request of one run: how long to wait for output at most before
// asking again, and whether the run must end now.
class RunWatch {
public:
    RunWatch(std::chrono::milliseconds limit, const std::function<bool()>& stopRequested)
        : limit_(limit), stopRequested_(stopRequested), start_(std::chrono::steady_clock::now()) {}

    // True when nothing can end the run early: it simply waits.
    bool unbounded() const { return limit_.count() <= 0 && !stopRequested_; }
    // Milliseconds to wait for the next output before asking again (-1: no end).
    int waitMilliseconds() const {
        if (unbounded())
            return -1;
        long long wait = stopRequested_ ? PollInterval.count() : std::numeric_limits<int>::max();
        if (limit_.count() > 0)
            wait = std::min<long long>(wait, std::max<long long>(1, remaining().count()));
        return static_cast<int>(wait);
    }
    // Why the run must end now, or nothing.
    std::optional<RunEnd> due() const {
        if (limit_.count() > 0 && remaining().count() <= 0)
            return RunEnd::TimedOut;
        if (stopRequested_ && stopRequested_())
            return RunEnd::Cancelled;
        return std::nullopt;
    }

private:
    static constexpr std::chrono::milliseconds PollInterval{100};

    std::chrono::milliseconds remaining() const {
        auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
        return limit_ - spent;
    }

    std::chrono::milliseconds limit_;
    const std::function<bool()>& stopRequested_;
    std::chrono::steady_clock::time_point start_;
};

void checkWorkingDirectory(const fs::path& dir) {
    std::error_code error;
    if (dir.empty())
        return;
    if (!fs::is_directory(dir, error))
        throw VbError(vberr::PathFileAccess,
                      "Path/File access error: the working folder \"" + dir.string() + "\" does not exist",
                      LogSource);
    if (::access(dir.c_str(), X_OK) != 0)
        accessFailed("the working folder \"" + dir.string() + "\" cannot be entered", errno);
}

// Reads what the pipe holds now (waiting up to `wait` ms for it, -1: until it comes); false
// once every writer has closed it (or reading fails).
bool readSome(int fd, std::string& out, int wait, std::vector<char>& buffer) {
    pollfd ready{fd, POLLIN, 0};
    int found = ::poll(&ready, 1, wait);
    if (found < 0)
        return errno == EINTR;
    if (found == 0)
        return true;
    ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count > 0)
        out.append(buffer.data(), static_cast<size_t>(count));
    return count > 0 || (count < 0 && errno == EINTR);
}

// Reads the child's output until its end, or ends its group when the watch says so; the exit
// status and how the run ended.
std::pair<int, RunEnd> awaitEnd(Child& child, Descriptor& readEnd, const RunWatch& watch, std::string& output) {
    auto stopped = [&](RunEnd why) {
        child.stop();
        return std::make_pair(child.waitForExit(), why);
    };
    std::vector<char> buffer(64 * 1024);
    while (readSome(readEnd.get(), output, watch.waitMilliseconds(), buffer)) {
        if (auto why = watch.due())
            return stopped(*why);
    }
    readEnd.reset(); // a child still writing after a read failure gets SIGPIPE, not a hang
    if (watch.unbounded())
        return {child.waitForExit(), RunEnd::Exited};
    // The pipe is closed; the program may still run.
    for (;;) {
        if (auto code = child.exitedNow())
            return {*code, RunEnd::Exited};
        if (auto why = watch.due())
            return stopped(*why);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(20, watch.waitMilliseconds())));
    }
}

} // namespace

bool ProcessRunner::CanStart(const std::string& program) {
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return whyNotRunnable(fs::absolute(program)).empty();
    return findInPath(program).has_value();
}

void ProcessRunner::Run(std::string_view commandLine) {
    output_.clear();
    exitCode_ = 0;
    ended_ = RunEnd::Exited;
    size_t first = commandLine.find_first_not_of(" \t");
    std::vector<std::string> args =
        splitWindowsCommandLine(first == std::string_view::npos ? std::string_view{} : commandLine.substr(first));
    if (args.empty() || args[0].empty())
        throw VbError(vberr::InvalidCall, "Invalid procedure call or argument: the command line names no program",
                      LogSource);
    fs::path program = findProgram(args[0]);
    checkWorkingDirectory(workingDirectory_);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        accessFailed("cannot create the output pipe", errno);
    Descriptor readEnd(aboveStandard(fds[0]));
    Descriptor writeEnd(aboveStandard(fds[1]));

    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    SpawnSetup setup(writeEnd.get(), workingDirectory_);
    pid_t pid = 0;
    int error = ::posix_spawn(&pid, program.c_str(), setup.actions(), setup.attributes(), argv.data(), environ);
    if (error != 0)
        cannotStart(args[0], std::strerror(error));
    Child child(pid);
    writeEnd.reset(); // only the child writes now: the pipe reports its end
    std::tie(exitCode_, ended_) = awaitEnd(child, readEnd, RunWatch(timeLimit_, stopRequested_), output_);
}

} // namespace corvane
