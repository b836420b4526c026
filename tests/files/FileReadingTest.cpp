// Opening a file for reading while another program saves it: a reader finds the old file or
// the new one, also where a save moves the old file aside before the new one moves in.
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "files/FileVersion.h"
#include "files/SaveLock.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs `save` on a thread of its own once it holds the save lock of `file` (as another
// program's save would), and returns that thread.
std::thread saveElsewhere(const fs::path& file, std::function<void(SaveLock&)> save) {
    std::atomic<bool> locked{false};
    std::thread saver([&locked, file, save = std::move(save)] {
        SaveLock lock(file, 0ms);
        locked = true;
        save(lock);
    });
    while (!locked)
        std::this_thread::yield();
    return saver;
}

TEST(FileReading, AFileMissingWhileItsSaveHoldsTheLockIsOpenedOnceTheSaveHasPutItBack) {
    TempDir dir;
    const fs::path file = dir / "ContextHelp.txt";
    EXPECT_FALSE(openFileVersion(file).exists()) << "no file and no save";

    // A save between its two moves: the old file is gone and the new one not yet in place.
    std::thread saver = saveElsewhere(file, [&](SaveLock& lock) {
        std::this_thread::sleep_for(100ms);
        writeFile(dir / "ContextHelp.txt.new", "the new version");
        fs::rename(dir / "ContextHelp.txt.new", file);
        std::this_thread::sleep_for(50ms);
        lock.release(file);
    });
    FileVersion version = openFileVersion(file);
    saver.join();
    ASSERT_TRUE(version.exists()) << "the reader came back before the new file was in place";
    EXPECT_EQ(readFileBytes(version, file), "the new version");

    // A save that fails leaves no file: the reader finds none once the lock is gone.
    const fs::path never = dir / "Other.txt";
    std::atomic<bool> failed{false};
    std::thread failing = saveElsewhere(never, [&](SaveLock&) {
        std::this_thread::sleep_for(100ms);
        failed = true;
    }); // the lock goes without release(), as after a failed save
    FileVersion none = openFileVersion(never);
    const bool sawFailure = failed;
    failing.join();
    EXPECT_TRUE(sawFailure) << "the reader did not wait for the save";
    EXPECT_FALSE(none.exists());

    // A save reading its own file under its lock does not wait for itself.
    const fs::path own = dir / "Own.txt";
    SaveLock lock(own, 0ms);
    std::thread mover([&] {
        std::this_thread::sleep_for(300ms);
        writeFile(own, "written later");
    });
    EXPECT_FALSE(openFileVersion(own).exists());
    mover.join();
    lock.release(own);
}

// Real saves, each replacing the file while the reader holds the version before it open.
TEST(FileReading, AReaderNeverFindsTheFileMissingWhileSavesReplaceIt) {
    TempDir dir;
    const fs::path file = dir / "ContextHelp.txt";
    writeFile(file, "version 0");
    std::atomic<bool> done{false};
    std::thread saver([&] {
        for (int n = 1; n <= 150; ++n) {
            AtomicFile save(file, {}, Durability::Deferred, Locking::Exclusive);
            save.setLockWait(10s);
            save.write("version " + std::to_string(n));
            save.commit();
        }
        done = true;
    });
    int reads = 0, missing = 0;
    std::string wrong;
    while (!done) {
        FileVersion version = openFileVersion(file);
        ++reads;
        if (!version.exists()) {
            ++missing;
            continue;
        }
        const std::string bytes = readFileBytes(version, file);
        if (bytes.rfind("version ", 0) != 0)
            wrong = bytes;
        std::this_thread::sleep_for(1ms); // held open while the next save replaces it
    }
    saver.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(missing, 0) << "of " << reads << " reads";
    EXPECT_EQ(wrong, "");
    EXPECT_EQ(readFileBytes(openFileVersion(file), file), "version 150");
}

} // namespace
} // namespace corvane::test
