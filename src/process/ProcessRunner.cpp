#include "process/ProcessRunner.h"

#include "platform/ChildProcess.h"
#include "platform/SystemFiles.h"
#include "platform/Utf8Path.h"
#include "process/CommandLineSplit.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

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

// The runnable file of a bare program name in the search path, or nothing.
std::optional<fs::path> findInPath(const std::string& name) {
    for (const fs::path& folder : platform::programSearchPath())
        for (const fs::path& candidate : platform::programFilesFor(fs::absolute(folder / platform::pathFromUtf8(name))))
            if (platform::whyNotRunnable(candidate).empty())
                return candidate;
    return std::nullopt;
}

// The file to execute for a program name: a name with a folder as it is, others from PATH.
fs::path findProgram(const std::string& name) {
    if (platform::namesProgramFile(name)) {
        fs::path path = fs::absolute(platform::pathFromUtf8(name));
        std::string reason = platform::whyNotRunnable(path);
        if (!reason.empty())
            cannotStart(name, reason);
        return path;
    }
    if (auto found = findInPath(name))
        return *found;
    cannotStart(name, "not found in PATH");
}

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
    if (!platform::canEnter(dir))
        accessFailed("the working folder \"" + dir.string() + "\" cannot be entered", errno);
}

// Reads the child's output until its end, or ends its group when the watch says so; the exit
// status and how the run ended.
std::pair<int, RunEnd> awaitEnd(platform::ChildProcess& child, const RunWatch& watch, std::string& output) {
    auto stopped = [&](RunEnd why) {
        child.stop();
        return std::make_pair(child.waitForExit(), why);
    };
    while (child.readOutput(output, watch.waitMilliseconds())) {
        if (auto why = watch.due())
            return stopped(*why);
    }
    child.closeOutput(); // a child still writing after a read failure gets SIGPIPE, not a hang
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
    if (platform::namesProgramFile(program))
        return platform::whyNotRunnable(fs::absolute(platform::pathFromUtf8(program))).empty();
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

    platform::ChildProcess::StartFailure failure{};
    int error = 0;
    auto child = platform::ChildProcess::start(program, args, workingDirectory_, failure, error);
    if (failure == platform::ChildProcess::StartFailure::Pipe)
        accessFailed("cannot create the output pipe", error);
    if (!child)
        cannotStart(args[0], std::strerror(error));
    std::tie(exitCode_, ended_) = awaitEnd(*child, RunWatch(timeLimit_, stopRequested_), output_);
}

} // namespace corvane
