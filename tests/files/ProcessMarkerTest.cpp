// The marker that names the process at work on a file: held while its process lives, taken
// over once that process ended in any way (kill -9 included), never held by two at once.
#include "files/ProcessMarker.h"
#include "testsupport/MarkerHolder.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

pid_t holdInChild(const fs::path& path) { return holdMarkerInChild(path, "editor"); }

TEST(ProcessMarker, ALiveHolderIsNamedAndAKilledOneIsTakenOverWithItsName) {
    TempDir dir;
    const fs::path path = dir / "data.txt.inuse";
    pid_t child = holdInChild(path);

    EXPECT_TRUE(ProcessMarker::isHeld(path));
    EXPECT_FALSE(ProcessMarker::tryTake(path, "editor")) << "the child holds it";
    ProcessMarker::Holder holder = ProcessMarker::holderOf(path);
    EXPECT_EQ(holder.purpose, "editor");
    EXPECT_EQ(holder.process, child);
    EXPECT_FALSE(holder.machine.empty());
    EXPECT_EQ(holder.since.size(), std::string("2026-12-07 14:02:11 UTC").size()) << holder.since;
    EXPECT_EQ(holder.describe(), "process " + std::to_string(child) + " on " + holder.machine + ", since " + holder.since);

    killAndWait(child); // the file stays, but nobody holds it
    EXPECT_TRUE(fs::exists(path));
    EXPECT_FALSE(ProcessMarker::isHeld(path));
    auto marker = ProcessMarker::tryTake(path, "save");
    ASSERT_TRUE(marker);
    ASSERT_TRUE(marker->leftBehind());
    EXPECT_EQ(marker->leftBehind()->process, child);
    EXPECT_EQ(ProcessMarker::holderOf(path).process, ::getpid());
    EXPECT_EQ(ProcessMarker::holderOf(path).purpose, "save");

    marker->release();
    EXPECT_FALSE(fs::exists(path));
    auto fresh = ProcessMarker::tryTake(path, "save");
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(fresh->leftBehind()) << "a new file was left by nobody";
}

TEST(ProcessMarker, TwoDescriptorsOfOneProcessExcludeEachOtherAndADroppedMarkerRemovesItsFile) {
    TempDir dir;
    const fs::path path = dir / "data.txt.lock";
    {
        auto first = ProcessMarker::tryTake(path, "save");
        ASSERT_TRUE(first);
        EXPECT_FALSE(ProcessMarker::tryTake(path, "save"));
        ProcessMarker moved = std::move(*first);
        EXPECT_TRUE(ProcessMarker::isHeld(path));
    }
    EXPECT_FALSE(fs::exists(path));
    // An empty file an older program left (no holder named) counts as left behind once it is old.
    { std::ofstream(path.string()).flush(); }
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    fs::last_write_time(path, old);
    auto taken = ProcessMarker::tryTake(path, "save");
    ASSERT_TRUE(taken);
    ASSERT_TRUE(taken->leftBehind());
    EXPECT_EQ(taken->leftBehind()->describe(), "a program that did not say which");
}

TEST(ProcessMarker, ManyProcessesRacingForOneMarkerNeverHoldItTogether) {
    TempDir dir;
    const fs::path path = dir / "data.txt.lock";
    const fs::path inside = dir / "inside";
    constexpr int Children = 4, Rounds = 200;
    std::vector<pid_t> children;
    for (int c = 0; c < Children; ++c) {
        pid_t child = ::fork();
        if (child == 0) {
            int overlaps = 0;
            for (int round = 0; round < Rounds;) {
                auto marker = ProcessMarker::tryTake(path, "save");
                if (!marker)
                    continue;
                // While it is held nobody else may be inside.
                int fd = ::open(inside.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
                if (fd < 0)
                    ++overlaps;
                else
                    ::close(fd);
                ::unlink(inside.c_str());
                marker->release();
                ++round;
            }
            ::_exit(overlaps == 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "two holders at once";
    }
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
} // namespace corvane::test
