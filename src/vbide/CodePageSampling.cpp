#include "vbide/CodePageSampling.h"

#include "files/FileReading.h"
#include "process/ParallelFor.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

namespace corvane::vbide {

namespace {

// Below this many files per thread, another thread costs more than it saves.
constexpr size_t FilesPerThread = 8;

// The memory of a file read for its lines, from the C library's heap.
void* allocateBytes(size_t size) { return std::malloc(size); }
void releaseBytes(void* bytes) { std::free(bytes); }
struct BytesRelease {
    void operator()(char* bytes) const { releaseBytes(bytes); }
};

// The files' lines as they come in, and how far the files read without a gap reach: once those
// fill a sample, no later file is needed.
class SampleParts {
public:
    SampleParts(size_t files, size_t room) : lines_(files), done_(files, false), room_(room) {}

    // True when the files before `index` already fill the sample.
    bool needless(size_t index) {
        std::lock_guard lock(mutex_);
        return readBytes_ >= room_ && readPrefix_ <= index;
    }
    // Keeps a file's lines and moves the prefix of files read past it.
    void keep(size_t index, std::string lines) {
        std::lock_guard lock(mutex_);
        lines_[index] = std::move(lines);
        done_[index] = true;
        while (readPrefix_ < done_.size() && done_[readPrefix_])
            readBytes_ += lines_[readPrefix_++].size();
    }
    // The lines of each file, in the files' order (empty for a file not read).
    const std::vector<std::string>& lines() const noexcept { return lines_; }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<bool> done_;
    size_t readPrefix_ = 0;
    size_t readBytes_ = 0;
    const size_t room_;
};

} // namespace

void addFilesToSample(ProjectCodePage& detection, const std::vector<std::filesystem::path>& files) {
    if (detection.full())
        return;
    const size_t room = ProjectCodePage::SampleLimit - detection.sample().size();
    SampleParts parts(files.size(), room);
    const size_t threads = std::min(parallelThreads(), files.size() / FilesPerThread + 1);
    forEachInParallel(
        files.size(),
        [&](size_t i) {
            if (parts.needless(i))
                return;
            std::string lines;
            try {
                // Read without zero-filling first: only the lines beyond ASCII are kept.
                FileBuffer bytes = readFileBuffer(files[i], allocateBytes, releaseBytes);
                std::unique_ptr<char, BytesRelease> held(bytes.data);
                lines = ProjectCodePage::linesBeyondAscii(std::string_view(bytes.data, bytes.size), room);
            } catch (const VbError&) {
                // a missing or unreadable file tells nothing; the component reports it when read
            }
            parts.keep(i, std::move(lines));
        },
        threads);
    for (const std::string& lines : parts.lines())
        if (!detection.addLines(lines))
            break;
}

} // namespace corvane::vbide
