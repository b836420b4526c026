// FileInputStream: a file read as a stream a block at a time, for readers that must not hold
// the whole file (an exchange file of hundreds of megabytes).
//
// The file is opened as a regular file only (RegularFile.h: a FIFO or a device is refused
// without blocking), and one larger than the limit the caller states is refused before a byte
// is read, naming the file, its size and the limit. The stream can go back (seekg) to read
// its start again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace corvane {

class FileInputStream : public std::istream {
public:
    // Opens `path` for reading; VbError 53 when it does not exist, 75 when it is no regular
    // file, cannot be opened or holds more than `sizeLimit` bytes.
    explicit FileInputStream(const std::filesystem::path& path, uint64_t sizeLimit = UINT64_MAX);
    ~FileInputStream() override;
    FileInputStream(const FileInputStream&) = delete;
    FileInputStream& operator=(const FileInputStream&) = delete;

    // The file's size when it was opened.
    uint64_t size() const noexcept { return size_; }

private:
    class Buffer;
    std::unique_ptr<Buffer> buffer_;
    uint64_t size_ = 0;
};

// A byte count in words for messages: "512 bytes", "1.5 MB", "2.0 GB" (powers of 1024).
std::string byteCountText(uint64_t bytes);

} // namespace corvane
