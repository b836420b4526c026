// The POSIX implementation of ChildProcess.h, over posix_spawn, process groups and poll.
#ifndef _WIN32

#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane::platform {

namespace fs = std::filesystem;

namespace {

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
// cannot overwrite it (this process may run with a standard descriptor closed); -1 on failure.
int aboveStandard(int fd) {
    if (fd > STDERR_FILENO)
        return fd;
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    int error = errno;
    ::close(fd);
    errno = error;
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

int exitCode(int status) { return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status); }

} // namespace

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

std::vector<fs::path> programSearchPath() {
    std::string path;
    if (const char* variable = std::getenv("PATH")) {
        path = variable;
    } else {
        std::string fallback(::confstr(_CS_PATH, nullptr, 0), '\0');
        if (!fallback.empty())
            ::confstr(_CS_PATH, fallback.data(), fallback.size());
        path = fallback.c_str();
    }
    std::vector<fs::path> folders;
    for (size_t start = 0; start <= path.size();) {
        size_t end = std::min(path.find(':', start), path.size());
        std::string dir = path.substr(start, end - start);
        folders.emplace_back(dir.empty() ? "." : dir);
        start = end + 1;
    }
    return folders;
}

bool namesProgramFile(std::string_view name) { return name.find('/') != std::string_view::npos; }

std::vector<fs::path> programFilesFor(const fs::path& name) { return {name}; }

struct ChildProcess::State {
    pid_t pid = -1;
    Descriptor readEnd;
};

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

std::unique_ptr<ChildProcess> ChildProcess::start(const fs::path& program, const std::vector<std::string>& arguments,
                                                  const fs::path& workingDirectory, StartFailure& failure, int& error) {
    failure = StartFailure::None;
    error = 0;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        failure = StartFailure::Pipe;
        error = errno;
        return nullptr;
    }
    auto state = std::make_unique<State>();
    int readFd = aboveStandard(fds[0]);
    int readError = errno;
    Descriptor writeEnd(aboveStandard(fds[1]));
    int writeError = errno;
    state->readEnd.reset(readFd);
    if (readFd < 0 || writeEnd.get() < 0) {
        failure = StartFailure::Pipe;
        error = readFd < 0 ? readError : writeError;
        return nullptr;
    }
    std::vector<std::string> words(arguments);
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    SpawnSetup setup(writeEnd.get(), workingDirectory);
    pid_t pid = 0;
    error = ::posix_spawn(&pid, program.c_str(), setup.actions(), setup.attributes(), argv.data(), environ);
    if (error != 0) {
        failure = StartFailure::Start;
        return nullptr;
    }
    state->pid = pid;
    return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
    // writeEnd closes here: only the child writes now, so the pipe reports its end
}

ChildProcess::~ChildProcess() {
    if (state_->pid > 0) {
        stop();
        waitForExit();
    }
}

bool ChildProcess::readOutput(std::string& out, int waitMilliseconds) {
    pollfd ready{state_->readEnd.get(), POLLIN, 0};
    int found = ::poll(&ready, 1, waitMilliseconds);
    if (found < 0)
        return errno == EINTR;
    if (found == 0)
        return true;
    char buffer[64 * 1024];
    ssize_t count = ::read(state_->readEnd.get(), buffer, sizeof buffer);
    if (count > 0)
        out.append(buffer, static_cast<size_t>(count));
    return count > 0 || (count < 0 && errno == EINTR);
}

void ChildProcess::closeOutput() { state_->readEnd.reset(); }

void ChildProcess::stop() {
    ::kill(-state_->pid, SIGKILL);
    ::kill(state_->pid, SIGKILL); // should the group not have been made
}

std::optional<int> ChildProcess::exitedNow() {
    int status = 0;
    pid_t done = ::waitpid(state_->pid, &status, WNOHANG);
    if (done == 0 || (done < 0 && errno == EINTR))
        return std::nullopt;
    state_->pid = -1;
    return done < 0 ? -1 : exitCode(status);
}

int ChildProcess::waitForExit() {
    int status = 0;
    while (::waitpid(state_->pid, &status, 0) < 0) {
        if (errno != EINTR) {
            state_->pid = -1;
            return -1;
        }
    }
    state_->pid = -1;
    return exitCode(status);
}

int runInstead(const fs::path& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words(arguments);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    return errno; // execv returns only on failure
}

int shellExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

fs::path currentProgramFile() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self;
}

std::optional<bool> trialInChild(int (*trial)(const void* context), const void* context, unsigned seconds) {
    pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            ::dup2(devNull, STDERR_FILENO);
        rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::alarm(seconds);
        ::_exit(trial(context));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace corvane::platform

#endif
