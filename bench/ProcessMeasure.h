// ProcessMeasure: runs a program as a fresh process and keeps the best run's wall-clock time,
// minor page faults (getrusage) and peak resident memory (maxrss), for the benchmarks that
// measure the program as a user starts it.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace corvane::bench {

// The best run of a process: its time, its page faults and its peak memory.
struct Measure {
    double ms = 1e9; // the best run's wall-clock time
    long minorFaults = 0;
    long peakKiB = 0;
};

// Runs `arguments` (argv[0] a path) and keeps the run in `best` when faster. Standard output
// is discarded, unless `reported` is given: then the program prints its own milliseconds on
// standard output, and they count instead of the wall-clock time; with `captured`, standard output
// is kept there. Exits on a failed run (an exit status above `highestGoodStatus`).
inline void runProcess(const std::vector<std::string>& arguments, Measure& best, double* reported = nullptr,
                       int highestGoodStatus = 0, std::string* captured = nullptr) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        std::abort();
    auto start = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], 1);
        ::close(pipeEnds[0]);
        if (!reported && !captured) {
            int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) > highestGoodStatus) {
        std::fprintf(stderr, "%s %s failed\n", arguments[0].c_str(), arguments.size() > 1 ? arguments[1].c_str() : "");
        std::exit(1);
    }
    if (captured)
        *captured = output;
    if (reported) {
        ms = std::atof(output.c_str());
        *reported = ms;
    }
    if (ms < best.ms)
        best = {ms, usage.ru_minflt, usage.ru_maxrss};
}

// One line of a comparison: the measure, the baseline and their ratio.
inline void printComparison(const char* what, const Measure& measure, const Measure& baseline) {
    std::printf("%-26s %8.1f ms  %7ld faults  %6.1f MB peak   baseline %7.1f ms  %7ld faults  %6.1f MB   ratio %.2f\n",
                what, measure.ms, measure.minorFaults, measure.peakKiB / 1024.0, baseline.ms, baseline.minorFaults,
                baseline.peakKiB / 1024.0, measure.ms / baseline.ms);
}

} // namespace corvane::bench
