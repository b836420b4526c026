// ChildProcess: a program started by this one, with its standard input from the null device
// and its standard output and error into one pipe that this program reads; it runs in a
// process group (POSIX) or job (Windows) of its own, so that stopping it ends everything it
// started. One implementation for POSIX systems (posix_spawn) and one for Windows
// (CreateProcessW).
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::platform {

// Why a file cannot be run as a program ("it is a folder", "it is not executable", the
// system's reason), or "" when it can.
std::string whyNotRunnable(const std::filesystem::path& path);
// The folders a bare program name is looked up in: PATH, or the system's default without one;
// on Windows the running program's own folder first, as the system itself looks there first.
std::vector<std::filesystem::path> programSearchPath();
// True when a program name names a file (it holds a folder separator) rather than a name to
// look up in the search path.
bool namesProgramFile(std::string_view name);
// The files that a program name may stand for in one folder, in the order they are tried
// (Windows adds ".exe" to a name without an extension).
std::vector<std::filesystem::path> programFilesFor(const std::filesystem::path& name);

class ChildProcess {
public:
    // What failed when a start fails.
    enum class StartFailure { None, Pipe, Start };

    // Starts `program` with `arguments` (the program's name first) in `workingDirectory`
    // (empty: this process's). Nothing when it cannot: `failure` and `error` (an errno) say why.
    static std::unique_ptr<ChildProcess> start(const std::filesystem::path& program,
                                               const std::vector<std::string>& arguments,
                                               const std::filesystem::path& workingDirectory,
                                               StartFailure& failure, int& error);
    // Stops a child still running and waits for its end.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Appends the output the pipe holds now to `out`, waiting up to `waitMilliseconds` for
    // some (-1: until some comes); false once every writer has closed the pipe or reading fails.
    bool readOutput(std::string& out, int waitMilliseconds);
    // Closes this end of the pipe: a child still writing then fails instead of blocking.
    void closeOutput();
    // Ends the child and everything it started at once.
    void stop();
    // The exit status once the child has ended, nothing while it runs.
    std::optional<int> exitedNow();
    // Waits for the child's end: its exit status, 128 + the signal that ended it (POSIX), 137
    // after stop() (Windows), -1 when it cannot be told.
    int waitForExit();

private:
    struct State;
    explicit ChildProcess(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// Replaces this process by `program` with `arguments` (the program's name first), as the
// same process where the system can (POSIX exec); on Windows the program runs as a child
// whose exit status ends this process. Returns only on failure, with an errno.
int runInstead(const std::filesystem::path& program, const std::vector<std::string>& arguments);

// The exit status of a shell command as pclose() or system() reports it (`status`); -1 when a
// signal ended it.
int shellExitStatus(int status);

// The file of the program this process runs; empty when the system does not tell.
std::filesystem::path currentProgramFile();

// Runs `trial` in a process of its own (POSIX fork), its standard error silenced and limited to
// `seconds`: true when it returned 0, false when it failed or crashed. Nothing where the system
// cannot fork (Windows): the caller then decides without a trial.
std::optional<bool> trialInChild(int (*trial)(const void* context), const void* context, unsigned seconds);

} // namespace corvane::platform
