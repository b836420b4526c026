// The version of a file a program read: still current until another program replaces it,
// writes into it or removes it; its bytes are those of that version even after a replace.
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "files/FileVersion.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

TEST(FileVersion, EveryWayAnotherProgramChangesTheFileMakesTheVersionStale) {
    TempDir dir;
    const fs::path file = dir / "data.txt";

    FileVersion missing = FileVersion::open(file);
    EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(missing.isCurrent(file)) << "still no file";
    writeFile(file, "first");
    EXPECT_FALSE(missing.isCurrent(file)) << "a file appeared";

    FileVersion read = FileVersion::open(file);
    EXPECT_TRUE(read.isCurrent(file));
    // Replaced by a rename with a content of the same size, as every save does.
    replaceFileAtomically(file, "other");
    EXPECT_FALSE(read.isCurrent(file));
    // The version read still gives its own bytes.
    EXPECT_EQ(readFileBytes(read, file), "first");

    FileVersion second = FileVersion::open(file);
    EXPECT_TRUE(second.isCurrent(file));
    { // written in place by a program that does not replace files
        int fd = ::open(file.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, "X", 1, 0), 1);
        ::close(fd);
    }
    EXPECT_FALSE(second.isCurrent(file));

    FileVersion third = FileVersion::open(file);
    fs::remove(file);
    EXPECT_FALSE(third.isCurrent(file)) << "removed";
    FileVersion moved = std::move(third);
    EXPECT_TRUE(moved.exists());
    EXPECT_FALSE(third.exists()); // NOLINT(bugprone-use-after-move): the moved-from version holds nothing
}

// Saves in quick succession reuse freed inode numbers, with the same size and, within a clock
// tick, the same times: a version held open keeps its inode, so no later file can look like it.
TEST(FileVersion, AHeldVersionIsNeverMistakenForALaterFileOfTheSameSize) {
    TempDir dir;
    const fs::path file = dir / "data.txt";
    writeFile(file, "0000");
    int mistaken = 0;
    for (int round = 1; round <= 300; ++round) {
        FileVersion read = FileVersion::open(file);
        char text[8];
        std::snprintf(text, sizeof text, "%04d", round % 10000);
        replaceFileAtomically(file, text, Durability::Deferred);
        mistaken += read.isCurrent(file) ? 1 : 0;
    }
    EXPECT_EQ(mistaken, 0);
}

} // namespace
} // namespace corvane::test
