#include "support/AtomicFile.h"
#include "support/VbError.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    TempDir dir;
    auto target = dir / "data.txt";
    writeFile(target, "old");
    ::chmod(target.c_str(), 0600);
    replaceFileAtomically(target, "new content");
    EXPECT_EQ(readFile(target), "new content");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "data.txt"); // no temporary file left
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicFile, ContentOfManyMegabytesKeepsItsOrderAndTheNextFileStartsEmpty) {
    TempDir dir;
    std::string expected(1500000, 'a'); // given up by the caller, taken over
    AtomicFile file(dir / "big.txt");
    file.write(std::string(expected));
    for (int i = 0; expected.size() < 4000000; ++i) {
        std::string piece = std::to_string(i) + std::string(static_cast<size_t>(i % 5000), 'x') + "\r\n";
        file.write(piece);
        expected += piece;
    }
    file.write(std::string("given up after other bytes"));
    expected += "given up after other bytes";
    EXPECT_EQ(file.size(), expected.size());
    file.commit();
    EXPECT_TRUE(readFile(dir / "big.txt") == expected); // not EXPECT_EQ: no megabytes in the log
    // Blocks the first file used serve the next one, which holds only its own bytes.
    AtomicFile small(dir / "small.txt");
    small.write("only this");
    small.commit();
    EXPECT_EQ(readFile(dir / "small.txt"), "only this");
}

TEST(AtomicFile, WithoutCommitNothingIsWritten) {
    TempDir dir;
    auto target = dir / "data.txt";
    writeFile(target, "old");
    {
        AtomicFile file(target);
        file.write("never");
    }
    EXPECT_EQ(readFile(target), "old");
}

TEST(AtomicFile, FailedRenameKeepsTheTemporaryFileAndNamesBothFiles) {
    TempDir dir;
    auto target = dir / "occupied";
    std::filesystem::create_directories(target / "inside"); // a non-empty folder cannot be replaced
    AtomicFile file(target);
    file.write("precious");
    try {
        file.commit();
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 75);
        EXPECT_NE(error.description().find(file.temporary().string()), std::string::npos);
        EXPECT_NE(error.description().find("'" + target.string() + "'"), std::string::npos);
    }
    EXPECT_TRUE(file.temporary().filename().string().starts_with("occupied."));
    EXPECT_EQ(file.temporary().extension(), ".tmp");
    EXPECT_EQ(readFile(file.temporary()), "precious");
}

TEST(AtomicFile, ALockHeldByAnotherSaveIsNamedAndTheTargetIsUntouched) {
    TempDir dir;
    auto target = dir / "data.txt";
    writeFile(target, "old");
    writeFile(dir / "data.txt.lock", "");
    AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
    file.setLockWait(std::chrono::milliseconds(50));
    file.write("new");
    try {
        file.commit();
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_NE(error.description().find("'" + target.string() + "' is being saved by another program"),
                  std::string::npos)
            << error.description();
        EXPECT_NE(error.description().find((dir / "data.txt.lock").string()), std::string::npos);
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(std::filesystem::exists(dir / "data.txt.lock")); // not ours to remove
    std::filesystem::remove(dir / "data.txt.lock");
    file.commit();
    EXPECT_EQ(readFile(target), "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "data.txt.lock"));
}

TEST(AtomicFile, ReadOnlyTargetsAreRefusedAndLinksWrittenThrough) {
    TempDir dir;
    writeFile(dir / "locked.frm", "old");
    ::chmod((dir / "locked.frm").c_str(), 0444);
    try {
        replaceFileAtomically(dir / "locked.frm", "new");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_NE(error.description().find("'" + (dir / "locked.frm").string() + "' is read-only"), std::string::npos);
    }
    EXPECT_EQ(readFile(dir / "locked.frm"), "old");

    std::filesystem::create_directories(dir / "real");
    writeFile(dir / "real" / "target.txt", "old");
    std::filesystem::create_symlink("real/target.txt", dir / "hop");
    std::filesystem::create_symlink("hop", dir / "link.txt"); // a link to a link
    replaceFileAtomically(dir / "link.txt", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.txt"));
    EXPECT_EQ(readFile(dir / "real" / "target.txt"), "new");
    EXPECT_EQ(followLinks(dir / "link.txt"), dir / "real" / "target.txt");
    std::filesystem::create_symlink("loop", dir / "loop");
    EXPECT_THROW(followLinks(dir / "loop"), VbError);
}

TEST(AtomicFile, FailedWriteLeavesTheOriginalUntouched) {
    TempDir dir;
    auto target = dir / "missing-folder" / "data.txt";
    EXPECT_THROW(replaceFileAtomically(target, "x"), VbError);
    EXPECT_FALSE(std::filesystem::exists(target));
    try {
        readFileBytes(dir / "nope.txt");
        FAIL();
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 53);
        EXPECT_NE(error.description().find("nope.txt"), std::string::npos);
    }
}

TEST(AtomicFile, ReadsWholeFilesWhateverTheySayTheirSizeIs) {
    TempDir dir;
    std::string every;
    for (int i = 0; i < 300'000; ++i)
        every += static_cast<char>(i * 7 % 256);
    writeFile(dir / "binary.bin", every);
    EXPECT_TRUE(readFileBytes(dir / "binary.bin") == every); // not EXPECT_EQ: no binary in the log
    writeFile(dir / "empty.txt", "");
    EXPECT_EQ(readFileBytes(dir / "empty.txt"), "");
    // A file of the system that gives its size as 0 but has content.
    std::string status = readFileBytes("/proc/self/status");
    EXPECT_NE(status.find("Name:"), std::string::npos);
    EXPECT_EQ(status.find('\0'), std::string::npos);
}

} // namespace
} // namespace corvane
