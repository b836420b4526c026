// ProcessRunner: runs one command line as a separate program, waits for its end and keeps
// what it wrote to its console.
//
// The command line is split into arguments by the Windows rules (CommandLineSplit.h) and
// the program is started directly: no shell ever sees the line, so quotes, ";", "$()",
// backquotes, "|" and "*" reach the program as literal bytes of its arguments.
//
// The program: a name containing "/" is used as it is (relative to the current folder of
// this process); any other name is looked up in PATH. A program that cannot be started
// raises VbError 53 naming it. The child's standard output and standard error share one
// pipe, so Output() holds both interleaved as they were written; its standard input is
// /dev/null. Output of any size is read while the program runs; Run returns once the
// program has ended and the pipe is closed (a background process that keeps the pipe open
// keeps Run waiting until it ends too).
// Stopping: the program runs in a process group of its own. A run that exceeds its time limit,
// or whose stop request answers true (polled about ten times a second, on the calling thread),
// ends the whole group with SIGKILL, so that nothing the program started lives on; ended()
// then says why, and ExitCode() is 128 + 9. Interrupting this program (Ctrl+C) reaches only
// its own group: a compiler under way is ended by its time limit, not by the interrupt.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// What may end a run early (see above).
struct RunLimits {
    std::chrono::milliseconds timeLimit{0}; // zero: no limit
    std::function<bool()> stopRequested;    // empty: never asked
};

// How the last run ended.
enum class RunEnd {
    Exited,    // the program ended by itself (ExitCode() says how)
    TimedOut,  // it ran longer than the time limit and was ended
    Cancelled, // the stop request asked for its end
};

class ProcessRunner {
public:
    // The window style the caller asks for (0 = hidden); there is no console window here,
    // so it only travels with the object for reports.
    void SetWindowStyle(int style) { windowStyle_ = style; }
    // The window style last set.
    int WindowStyle() const { return windowStyle_; }

    // The title of the console window; kept for reports.
    void SetTitle(std::string_view title) { title_ = title; }
    // The title last set.
    std::string Title() const { return title_; }

    // Whether Run waits for the program's end; Run always waits here, the setting is kept.
    void SetWaitForExit(bool wait) { waitForExit_ = wait; }
    // The wait setting last given.
    bool WaitForExit() const { return waitForExit_; }

    // The folder the program starts in; empty = the current folder of this process.
    void SetWorkingDirectory(std::filesystem::path dir) { workingDirectory_ = std::move(dir); }
    // The folder the program starts in (empty = the current folder).
    const std::filesystem::path& WorkingDirectory() const { return workingDirectory_; }

    // The longest a run may take; zero (the default) for no limit.
    void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }
    // The time limit last set.
    std::chrono::milliseconds timeLimit() const { return timeLimit_; }
    // A question Run asks while the program runs: true ends the program (empty: never asked).
    void setStopRequest(std::function<bool()> stopRequested) { stopRequested_ = std::move(stopRequested); }
    // Both at once.
    void setLimits(const RunLimits& limits) {
        timeLimit_ = limits.timeLimit;
        stopRequested_ = limits.stopRequested;
    }

    // Splits the command line by the Windows rules (blanks before the program name are
    // skipped), starts the program directly and waits for its end. Raises VbError 5 for a line without a program, 53 when the program cannot
    // be started, 75 when the working folder cannot be used or the pipe fails.
    void Run(std::string_view commandLine);

    // True when Run could start `program` (a program name as a split command line gives it):
    // a name with "/" names a runnable file, any other name is found in PATH.
    static bool CanStart(const std::string& program);

    // Standard output and standard error of the last run, interleaved as written.
    const std::string& Output() const { return output_; }
    // The exit status of the last run; 128 + the signal number when a signal ended it.
    int ExitCode() const { return exitCode_; }
    // How the last run ended.
    RunEnd ended() const { return ended_; }

private:
    int windowStyle_ = 0;
    std::string title_;
    bool waitForExit_ = true;
    std::filesystem::path workingDirectory_;
    std::chrono::milliseconds timeLimit_{0};
    std::function<bool()> stopRequested_;
    std::string output_;
    int exitCode_ = 0;
    RunEnd ended_ = RunEnd::Exited;
};

} // namespace corvane
