// Files are read only when they are regular files, found out without blocking: a FIFO, a
// folder or a device is refused naming the file, and the stream reader refuses a file beyond
// its limit before reading it.
#include "files/FileInputStream.h"
#include "files/FileReading.h"
#include "files/RegularFile.h"
#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::errorOf;

// Runs `action` on a thread of its own and waits up to ten seconds for it; false when it has
// not ended by then. The thread is not waited for (it owns what it uses): a reader blocked on
// a FIFO returns once release() opens the FIFO for writing.
bool endsSoon(std::function<void()> action) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ended = done->get_future();
    std::thread([action = std::move(action), done] {
        action();
        done->set_value();
    }).detach();
    return ended.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
}

// Opens the FIFO for writing and at once closes it, so that a reader blocked on it returns.
void release(const fs::path& fifo) {
    int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
}

TEST(RegularFile, AFifoAFolderAndADeviceAreRefusedNamingTheFileWithoutBlocking) {
    test::TempDir dir;
    const fs::path fifo = dir / "ContextHelp.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    auto error = std::make_shared<std::string>();
    EXPECT_TRUE(endsSoon([fifo, error] { *error = errorOf([&] { readFileBytes(fifo); }).description(); }))
        << "reading a FIFO blocked";
    release(fifo);
    EXPECT_EQ(*error, "'" + fifo.string() + "' is a FIFO (named pipe), not a regular file, so it is not read");
    EXPECT_TRUE(endsSoon([fifo] { EXPECT_THROW(checkRegularFile(fifo), VbError); }));
    release(fifo);
    EXPECT_TRUE(endsSoon([fifo] { EXPECT_EQ(openIfRegularFile(fifo), -1); }));
    release(fifo);
    EXPECT_TRUE(endsSoon([fifo] { EXPECT_THROW(FileInputStream{fifo}, VbError); }));
    release(fifo);

    EXPECT_EQ(errorOf([&] { readFileBytes(dir.path()); }).description(),
              "'" + dir.path().string() + "' is a folder, not a regular file, so it is not read");
    EXPECT_EQ(errorOf([] { FileInputStream zero("/dev/zero"); }).description(),
              "'/dev/zero' is a character device, not a regular file, so it is not read");
    EXPECT_EQ(errorOf([&] { readFileBytes(dir / "missing.txt"); }).number(), vberr::FileNotFound);
    EXPECT_EQ(openRegularFileIfExists(dir / "missing.txt"), -1);
    EXPECT_NO_THROW(checkRegularFile(dir / "missing.txt")); // its reader reports it

    // A link to a regular file is read as the file.
    test::writeFile(dir / "real.txt", "bytes");
    fs::create_symlink(dir / "real.txt", dir / "link.txt");
    EXPECT_EQ(readFileBytes(dir / "link.txt"), "bytes");
    EXPECT_NO_THROW(checkRegularFile(dir / "link.txt"));
}

TEST(RegularFile, TheStreamReadsInBlocksAndRefusesAFileBeyondItsLimit) {
    test::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "line " + std::to_string(i) + "\n";
    test::writeFile(dir / "lines.txt", bytes);
    FileInputStream in(dir / "lines.txt", bytes.size());
    EXPECT_EQ(in.size(), bytes.size());
    std::string line, read;
    while (std::getline(in, line))
        read += line + "\n";
    EXPECT_EQ(read, bytes);

    // A sparse file of 3 GB takes no room and is refused before a byte is read.
    const fs::path huge = dir / "huge.xlf";
    test::writeFile(huge, "");
    fs::resize_file(huge, 3ull << 30);
    EXPECT_EQ(errorOf([&] { FileInputStream stream(huge, 1ull << 30); }).description(),
              "'" + huge.string() + "' holds 3221225472 bytes (3.0 GB); files larger than 1.0 GB are not read");
    EXPECT_EQ(byteCountText(1), "1 byte");
    EXPECT_EQ(byteCountText(1536), "1.5 KB");
    EXPECT_EQ(byteCountText(600ull << 20), "600 MB");
}

} // namespace
} // namespace corvane
