#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "files/Notice.h"
#include "files/ProcessMarker.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

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

// The modification time of a file, in nanoseconds.
long long modifiedAt(const std::filesystem::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// Sets the file's modification time to an old one, so that a rewrite shows.
void makeOld(const std::filesystem::path& file) {
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(48));
}

TEST(AtomicFile, StreamedContentEqualToTheTargetWritesNothingAndAnyDifferenceReplacesIt) {
    TempDir dir;
    auto target = dir / "data.txt";
    // Chunks of 64 KiB: differences before, at and after a chunk's end, and in length.
    const std::string old = std::string(70000, 'a') + "middle" + std::string(70000, 'z');
    const std::string changed[] = {"",
                                   old.substr(0, 65536),
                                   old.substr(0, old.size() - 1),
                                   old + "!",
                                   "b" + old.substr(1),
                                   old.substr(0, 65536) + "#" + old.substr(65537),
                                   old.substr(0, old.size() - 1) + "!"};
    for (bool keep : {true, false}) {
        for (const std::string& content : changed) {
            writeFile(target, old);
            makeOld(target);
            long long before = modifiedAt(target);
            AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
            file.setKeepUnchanged(keep);
            file.commit([&](OutputBuffer& out) {
                for (size_t at = 0; at < content.size(); at += 1000) // many small pieces
                    out.append(std::string_view(content).substr(at, 1000));
            });
            EXPECT_TRUE(file.replaced());
            EXPECT_TRUE(readFile(target) == content) << content.size();
            EXPECT_NE(modifiedAt(target), before);
        }
        writeFile(target, old);
        makeOld(target);
        long long before = modifiedAt(target);
        AtomicFile same(target, {}, Durability::Flush, Locking::Exclusive);
        same.setKeepUnchanged(keep);
        same.commit([&](OutputBuffer& out) { out.append(old); });
        EXPECT_EQ(same.replaced(), !keep);
        EXPECT_TRUE(readFile(target) == old);
        EXPECT_EQ(modifiedAt(target) == before, keep);
        int entries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            entries += entry.path().filename() == "data.txt" ? 1 : 100; // no temporary, no lock
        EXPECT_EQ(entries, 1);
    }
}

TEST(AtomicFile, AnUnchangedContentStillRespectsTheLockAndReadOnlyFiles) {
    TempDir dir;
    auto target = dir / "data.txt";
    writeFile(target, "same");
    ::chmod(target.c_str(), 0444);
    AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
    file.setKeepUnchanged(true);
    EXPECT_THROW(file.commit([](OutputBuffer& out) { out.append("same"); }), VbError);
    ::chmod(target.c_str(), 0644);
    auto held = ProcessMarker::tryTake(dir / "data.txt.lock", "save"); // another save runs
    ASSERT_TRUE(held);
    file.setLockWait(std::chrono::milliseconds(20));
    EXPECT_THROW(file.commit([](OutputBuffer& out) { out.append("same"); }), VbError);
    EXPECT_EQ(readFile(target), "same");
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

// The names of the files in a folder, sorted.
std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, APreparedFileIsPutInPlaceOnlyByTheCommitAndRemovedWhenDropped) {
    TempDir dir;
    auto target = dir / "topics.rtf";
    writeFile(target, "old");
    std::optional<AtomicFile> file;
    file.emplace(target, std::filesystem::path(), Durability::Deferred);
    file->prepare([](OutputBuffer& out) { out.append("new "); out.append("bytes"); });
    EXPECT_TRUE(file->prepared());
    EXPECT_EQ(readFile(target), "old"); // written beside it, not yet in place
    EXPECT_EQ(readFile(file->temporary()), "new bytes");
    AtomicFile moved = std::move(*file); // handed on (from another thread) with its file
    file.reset();
    EXPECT_EQ(filesIn(dir.path()).size(), 2u);
    moved.commit();
    EXPECT_FALSE(moved.prepared());
    EXPECT_EQ(readFile(target), "new bytes");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"topics.rtf"});

    { // dropped before its commit: the target stays, no temporary file is left
        AtomicFile dropped(target);
        dropped.prepare([](OutputBuffer& out) { out.append("never"); });
    }
    EXPECT_EQ(readFile(target), "new bytes");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"topics.rtf"});

    // A failed rename keeps it prepared; the next commit puts it in place.
    auto occupied = dir / "occupied";
    std::filesystem::create_directories(occupied / "inside");
    AtomicFile late(occupied, std::filesystem::path(), Durability::Deferred);
    late.prepare([](OutputBuffer& out) { out.append("late"); });
    EXPECT_THROW(late.commit(), VbError);
    EXPECT_TRUE(late.prepared());
    std::filesystem::remove_all(occupied);
    late.commit();
    EXPECT_EQ(readFile(occupied), "late");

    AtomicFile locked(target, std::filesystem::path(), Durability::Flush, Locking::Exclusive);
    EXPECT_THROW(locked.prepare([](OutputBuffer&) {}), VbError); // its lock belongs to the replace
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
    auto held = ProcessMarker::tryTake(dir / "data.txt.lock", "save");
    ASSERT_TRUE(held);
    AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
    file.setLockWait(std::chrono::milliseconds(50));
    file.write("new");
    try {
        file.commit();
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_NE(error.description().find("'" + target.string() + "' is being saved by another program (process " +
                                           std::to_string(::getpid())),
                  std::string::npos)
            << error.description();
        EXPECT_NE(error.description().find((dir / "data.txt.lock").string()), std::string::npos);
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_TRUE(std::filesystem::exists(dir / "data.txt.lock")); // not ours to remove
    held->release(); // that save ended
    file.commit();
    EXPECT_EQ(readFile(target), "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "data.txt.lock"));
}

// A save killed in the middle leaves its lock and temporary file: the next save takes the lock
// over, removes what that save left (only that: other files of similar names stay) and says so.
TEST(AtomicFile, ALockLeftByAKilledSaveIsTakenOverAndItsTemporaryFilesRemoved) {
    TempDir dir;
    auto target = dir / "data.txt";
    writeFile(target, "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) { // a save that is killed after writing its temporary file
        AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
        file.setBeforeReplace([&] {
            char byte = 'x';
            (void)::write(ready[1], &byte, 1);
        });
        file.commit([&](OutputBuffer& out) {
            out.append("never in place");
            out.flush();
            for (;;)
                ::pause();
        });
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    // Wait for the temporary file, then kill the save.
    for (int i = 0; i < 1000 && filesIn(dir.path()).size() < 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // A file of the same shape that was there before that save is not its.
    writeFile(dir / "data.txt.backup.tmp", "the user's own file");
    std::filesystem::last_write_time(dir / "data.txt.backup.tmp",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_EQ(filesIn(dir.path()).size(), 4u);

    std::vector<std::string> notices;
    NoticeSink previous = setNoticeSink([&](const std::string& text) { notices.push_back(text); });
    AtomicFile file(target, {}, Durability::Flush, Locking::Exclusive);
    file.setLockWait(std::chrono::milliseconds(50)); // no waiting: the lock's program has ended
    file.write("new");
    file.commit();
    setNoticeSink(previous);
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"data.txt", "data.txt.backup.tmp"}));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].starts_with("A save of '" + target.string() + "' by process " + std::to_string(child) + " on "))
        << notices[0];
    EXPECT_NE(notices[0].find(" did not finish; its lock was taken over and its temporary file was removed."),
              std::string::npos)
        << notices[0];
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
    // Nor is a FIFO (or a device) replaced by a file: it stays what it is.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    try {
        replaceFileAtomically(dir / "pipe", "new");
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.description(), "'" + (dir / "pipe").string() + "' is a FIFO (named pipe), not a regular file; it was not replaced.");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));

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
    try {
        replaceFileAtomically(target, "x");
        FAIL() << "a save into a missing folder succeeded";
    } catch (const VbError& error) {
        // The file being saved and its folder are named, not the lock beside it.
        EXPECT_EQ(error.number(), 75);
        EXPECT_EQ(error.description(), "Cannot save '" + target.string() + "': its folder '" +
                                           (dir / "missing-folder").string() +
                                           "' does not exist or cannot be reached (No such file or directory)");
    }
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
