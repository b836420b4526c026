#include "files/AtomicFile.h"
#include "files/ReplacedFileRelease.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// What the process's open descriptors refer to, as /proc shows them.
std::vector<std::string> openFiles() {
    std::vector<std::string> targets;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        auto target = std::filesystem::read_symlink(entry.path(), error);
        if (!error)
            targets.push_back(target.string());
    }
    return targets;
}

size_t countOpen(const std::string& suffix) {
    size_t count = 0;
    for (const std::string& target : openFiles())
        count += target.ends_with(suffix) ? 1 : 0;
    return count;
}

TEST(ReplacedFileRelease, EveryReplacedFileIsLetGoAndTheNewContentIsInPlace) {
    TempDir dir;
    auto target = dir / "topics.rtf";
    writeFile(target, "version 0");
    for (int version = 1; version <= 20; ++version) {
        AtomicFile file(target, {}, Durability::Deferred);
        file.write("version " + std::to_string(version));
        file.commit();
    }
    ReplacedFileRelease::waitForAll();
    EXPECT_EQ(readFile(target), "version 20");
    EXPECT_EQ(countOpen("topics.rtf (deleted)"), 0u); // no old version kept alive
    EXPECT_EQ(countOpen("topics.rtf"), 0u);
}

TEST(ReplacedFileRelease, HoldsRegularFilesOnlyAndADroppedHoldLetsGoWhereItIs) {
    TempDir dir;
    auto pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(ReplacedFileRelease::hold(pipe)); // and returns: a pipe is never opened for reading
    EXPECT_FALSE(ReplacedFileRelease::hold(dir / "missing"));
    EXPECT_FALSE(ReplacedFileRelease::hold(dir.path()));

    auto file = dir / "kept.txt";
    writeFile(file, "text");
    ::chmod(file.c_str(), 0); // no permission to read it is needed
    {
        ReplacedFileRelease::Held held = ReplacedFileRelease::hold(file);
        EXPECT_TRUE(held);
        EXPECT_EQ(countOpen("kept.txt"), 1u);
        ReplacedFileRelease::Held moved = std::move(held);
        EXPECT_FALSE(held); // NOLINT(bugprone-use-after-move): a moved-from hold holds nothing
        EXPECT_TRUE(moved);
    }
    EXPECT_EQ(countOpen("kept.txt"), 0u);

    ReplacedFileRelease::release(ReplacedFileRelease::hold(file));
    ReplacedFileRelease::release(ReplacedFileRelease::Held()); // nothing to let go
    ReplacedFileRelease::waitForAll();
    EXPECT_EQ(countOpen("kept.txt"), 0u);
}

} // namespace
} // namespace corvane
