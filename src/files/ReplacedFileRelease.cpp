#include "files/ReplacedFileRelease.h"

#include "platform/SystemFiles.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

namespace corvane {

namespace {

// Set once the releasing thread has ended with the process: a file replaced after that (by
// the destructor of another static object) is let go where it is. Constant-initialised, so it
// can be read at any time.
std::atomic<bool> releasingEnded{false};

// The thread that closes the descriptors handed to it, in order. It starts with the first one
// and ends with the process, after closing what is left.
class ReleasingThread {
public:
    ~ReleasingThread() {
        releasingEnded = true;
        {
            std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        if (worker_.joinable())
            worker_.join();
    }

    void add(int fd) {
        std::unique_lock lock(mutex_);
        if (!worker_.joinable()) {
            try {
                worker_ = std::thread([this] { run(); });
            } catch (...) {
                lock.unlock();
                platform::closeFile(fd); // no thread: freed here, as without one
                return;
            }
        }
        queue_.push_back(fd);
        lock.unlock();
        changed_.notify_all();
    }

    void waitForAll() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.empty() && busy_ == 0; });
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return ending_ || !queue_.empty(); });
            if (queue_.empty())
                return; // ending, with nothing left
            int fd = queue_.front();
            queue_.pop_front();
            ++busy_;
            lock.unlock();
            platform::closeFile(fd); // the old file is freed here, waiting for the disk where it must
            lock.lock();
            --busy_;
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> queue_;
    int busy_ = 0; // descriptors taken from the queue and not yet closed
    bool ending_ = false;
    std::thread worker_;
};

ReleasingThread& releasingThread() {
    static ReleasingThread thread;
    return thread;
}

} // namespace

ReplacedFileRelease::Held::Held(Held&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

ReplacedFileRelease::Held& ReplacedFileRelease::Held::operator=(Held&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            platform::closeFile(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ReplacedFileRelease::Held::~Held() {
    if (fd_ >= 0)
        platform::closeFile(fd_);
}

ReplacedFileRelease::Held ReplacedFileRelease::hold(const std::filesystem::path& path) {
    int fd = platform::openReference(path);
    if (fd < 0)
        return Held();
    platform::FileStatus status;
    if (!platform::statusOf(fd, status) || status.kind != platform::FileKind::Regular) {
        platform::closeFile(fd);
        return Held();
    }
    return Held(fd);
}

void ReplacedFileRelease::release(Held held) {
    if (held.fd_ < 0 || releasingEnded)
        return; // nothing held, or too late for the thread: let go here, as `held` ends
    releasingThread().add(std::exchange(held.fd_, -1));
}

void ReplacedFileRelease::waitForAll() {
    if (!releasingEnded)
        releasingThread().waitForAll();
}

} // namespace corvane
