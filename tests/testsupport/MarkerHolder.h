// MarkerHolder: a child process that holds a ProcessMarker, as another program at work on a file
// does, until it is killed (kill -9, which leaves the marker's file for the next taker). POSIX
// only: for the tests that fork.
#pragma once

#include "files/ProcessMarker.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {

// Starts a child that takes the marker at `path` for `purpose`, says so through a pipe and waits
// to be killed; its process id (the marker taken, or a test failure).
inline pid_t holdMarkerInChild(const std::filesystem::path& path, const std::string& purpose) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        auto marker = ProcessMarker::tryTake(path, purpose);
        char taken = marker ? 'y' : 'n';
        (void)::write(ready[1], &taken, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char taken = 0;
    EXPECT_EQ(::read(ready[0], &taken, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(taken, 'y');
    return child;
}

// Kills the child with SIGKILL and waits for its end.
inline void killAndWait(pid_t child) {
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace corvane::test
