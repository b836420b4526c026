// The system's file calls on real files in a temporary folder: unique temporary files, reads at
// an offset, replacing renames, locks between two opens of one file, and what the status tells.
#include "platform/SystemFiles.h"
#include "platform/Utf8Path.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>
#include <utility>

namespace corvane::platform {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// Closes a descriptor at the end of a test, whatever its outcome.
struct Closing {
    int fd;
    ~Closing() {
        if (fd >= 0)
            closeFile(fd);
    }
};

TEST(SystemFilesTest, UniqueFilesKeepTheirSuffixAndNeverShareAName) {
    TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 5; ++i) {
        std::string name = utf8Of(dir / "data.txt.XXXXXX.tmp");
        Closing file{createUniqueFile(name, 4, 0644)};
        ASSERT_GE(file.fd, 0) << name;
        ASSERT_TRUE(writeAll(file.fd, "content " + std::to_string(i)));
        EXPECT_TRUE(name.ends_with(".tmp")) << name;
        EXPECT_EQ(name.find("XXXXXX"), std::string::npos) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 5u);
    for (const std::string& name : names)
        EXPECT_TRUE(readFile(pathFromUtf8(name)).starts_with("content ")) << name;

    std::string tooShort = utf8Of(dir / "XX");
    EXPECT_EQ(createUniqueFile(tooShort, 0, 0644), -1);
}

TEST(SystemFilesTest, ReadsAtAnOffsetLeaveTheSequentialReadsWhereTheyWere) {
    TempDir dir;
    writeFile(dir / "letters", "abcdefghij");
    Closing file{openForReading(dir / "letters")};
    ASSERT_GE(file.fd, 0);
    char buffer[16] = {};
    ASSERT_EQ(readAt(file.fd, buffer, 3, 4), 3);
    EXPECT_EQ(std::string(buffer, 3), "efg");
    ASSERT_EQ(readSome(file.fd, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd"); // the offset did not move
    EXPECT_EQ(readAt(file.fd, buffer, 8, 8), 2);
    EXPECT_EQ(readAt(file.fd, buffer, 8, 100), 0); // past the end: nothing, no error
}

TEST(SystemFilesTest, ARenameReplacesTheTargetAndRemovingTellsWhatIsMissing) {
    TempDir dir;
    writeFile(dir / "new", "new content");
    writeFile(dir / "target", "old content that was longer");
    EXPECT_EQ(renameReplacing(dir / "new", dir / "target"), 0);
    EXPECT_EQ(readFile(dir / "target"), "new content");
    EXPECT_FALSE(std::filesystem::exists(dir / "new"));
    EXPECT_EQ(renameReplacing(dir / "new", dir / "target"), ENOENT);

    EXPECT_EQ(removeFile(dir / "target"), 0);
    EXPECT_EQ(removeFile(dir / "target"), ENOENT);
    EXPECT_EQ(openForReading(dir / "target"), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(SystemFilesTest, ATargetThatReadersHoldOpenIsReplacedAndTheyKeepReadingTheirVersion) {
    // Two readers hold the file, as two programs that read the data file do, while it is
    // replaced twice; each keeps the bytes it opened, and nothing is left beside the file.
    TempDir dir;
    writeFile(dir / "ContextHelp.txt", "first");
    Closing first{openForReading(dir / "ContextHelp.txt")};
    ASSERT_GE(first.fd, 0);
    writeFile(dir / "next", "second");
    ASSERT_EQ(renameReplacing(dir / "next", dir / "ContextHelp.txt"), 0);
    Closing second{openForReading(dir / "ContextHelp.txt")};
    ASSERT_GE(second.fd, 0);
    writeFile(dir / "next", "third");
    ASSERT_EQ(renameReplacing(dir / "next", dir / "ContextHelp.txt"), 0);
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "third");
    char buffer[16] = {};
    EXPECT_EQ(readAt(first.fd, buffer, sizeof buffer, 0), 5);
    EXPECT_EQ(std::string(buffer, 5), "first");
    EXPECT_EQ(readAt(second.fd, buffer, sizeof buffer, 0), 6);
    EXPECT_EQ(std::string(buffer, 6), "second");

    closeFile(std::exchange(first.fd, -1));
    closeFile(std::exchange(second.fd, -1));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{"ContextHelp.txt"});
}

TEST(SystemFilesTest, AnExclusiveLockShutsOutEveryOtherOpenUntilItCloses) {
    TempDir dir;
    const auto path = dir / "file.lock";
    Closing first{openForUpdate(path, true, false)};
    ASSERT_GE(first.fd, 0);
    Closing second{openForUpdate(path, false, false)};
    ASSERT_GE(second.fd, 0);
    EXPECT_EQ(openForUpdate(path, true, true), -1); // exclusive creation of an existing file
    EXPECT_EQ(errno, EEXIST);

    ASSERT_EQ(lockFile(first.fd, LockMode::Exclusive, false), 0);
    EXPECT_EQ(lockFile(second.fd, LockMode::Exclusive, false), EWOULDBLOCK);
    {
        Closing reader{openForReading(path)};
        ASSERT_GE(reader.fd, 0);
        EXPECT_EQ(lockFile(reader.fd, LockMode::Shared, false), EWOULDBLOCK);
    }
    // The lock never keeps anyone from reading the file.
    ASSERT_TRUE(replaceContent(first.fd, "held by the first"));
    EXPECT_EQ(readFile(path), "held by the first");

    closeFile(first.fd);
    first.fd = -1;
    EXPECT_EQ(lockFile(second.fd, LockMode::Exclusive, false), 0);
}

TEST(SystemFilesTest, ReplacingTheContentDropsTheOldTail) {
    TempDir dir;
    Closing file{openForUpdate(dir / "marker", true, true)};
    ASSERT_GE(file.fd, 0);
    ASSERT_TRUE(replaceContent(file.fd, "a long first content\n"));
    ASSERT_TRUE(replaceContent(file.fd, "short\n"));
    EXPECT_EQ(readFile(dir / "marker"), "short\n");
}

TEST(SystemFilesTest, TheStatusNamesTheKindSizeAndIdentityOfAFile) {
    TempDir dir;
    writeFile(dir / "a", "12345");
    writeFile(dir / "b", "12345");
    FileStatus a, b, folder, open;
    ASSERT_TRUE(statusAt(dir / "a", a));
    ASSERT_TRUE(statusAt(dir / "b", b));
    ASSERT_TRUE(statusAt(dir.path(), folder));
    EXPECT_EQ(a.kind, FileKind::Regular);
    EXPECT_EQ(a.size, 5u);
    EXPECT_EQ(folder.kind, FileKind::Folder);
    EXPECT_NE(a.inode, b.inode);
    EXPECT_GT(a.modifiedNs, 0);

    Closing file{openForReading(dir / "a")};
    ASSERT_TRUE(statusOf(file.fd, open));
    EXPECT_EQ(open.device, a.device);
    EXPECT_EQ(open.inode, a.inode);

    // A rename over the path puts another file there: the open one keeps its identity.
    ASSERT_EQ(renameReplacing(dir / "b", dir / "a"), 0);
    FileStatus replaced;
    ASSERT_TRUE(statusAt(dir / "a", replaced));
    EXPECT_EQ(replaced.inode, b.inode);
    EXPECT_NE(replaced.inode, open.inode);

    EXPECT_FALSE(statusAt(dir / "missing", replaced));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(writeAccess(dir / "missing"), ENOENT);
    EXPECT_EQ(writeAccess(dir.path()), 0);
    EXPECT_TRUE(canEnter(dir.path()));
    EXPECT_FALSE(canEnter(dir / "a"));
}

TEST(SystemFilesTest, PathsKeepTheirLettersBeyondAscii) {
    TempDir dir;
    const std::string name = "Bestellübersicht – 注文.txt";
    const auto path = dir.path() / pathFromUtf8(name);
    std::string pattern = utf8Of(path) + ".XXXXXX";
    Closing file{createUniqueFile(pattern, 0, 0644)};
    ASSERT_GE(file.fd, 0);
    ASSERT_TRUE(writeAll(file.fd, "ä"));
    ASSERT_EQ(renameReplacing(pathFromUtf8(pattern), path), 0);
    EXPECT_EQ(utf8Of(path.filename()), name);
    bool found = false;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        found = found || utf8Of(entry.path().filename()) == name;
    EXPECT_TRUE(found);
    EXPECT_EQ(readFile(path), "ä");
}

} // namespace
} // namespace corvane::platform
