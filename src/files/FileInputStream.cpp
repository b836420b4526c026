#include "files/FileInputStream.h"

#include "files/RegularFile.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace corvane {

// Reads the descriptor a block at a time; a read error sets the stream's badbit.
class FileInputStream::Buffer : public std::streambuf {
public:
    Buffer(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)), block_(64 * 1024) {}
    ~Buffer() override { platform::closeFile(fd_); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

protected:
    int_type underflow() override {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        long long count = platform::readAt(fd_, block_.data(), block_.size(), next_);
        if (count < 0)
            throw VbError(vberr::PathFileAccess, "Cannot read '" + path_.string() + "': " + std::strerror(errno),
                          path_.string());
        if (count == 0)
            return traits_type::eof();
        setg(block_.data(), block_.data(), block_.data() + count);
        next_ += static_cast<uint64_t>(count);
        return traits_type::to_int_type(*gptr());
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode) override {
        off_type position = offset;
        if (direction == std::ios_base::cur)
            position += static_cast<off_type>(next_) - (egptr() - gptr());
        else if (direction == std::ios_base::end)
            return pos_type(off_type(-1)); // not needed: a stream is read from its start
        return seekpos(pos_type(position), std::ios_base::in);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        if (off_type(position) < 0)
            return pos_type(off_type(-1));
        next_ = static_cast<uint64_t>(off_type(position));
        setg(block_.data(), block_.data(), block_.data()); // read again from there
        return position;
    }

private:
    int fd_;
    std::filesystem::path path_;
    std::vector<char> block_;
    uint64_t next_ = 0; // the offset of the byte after the block read last
};

FileInputStream::FileInputStream(const std::filesystem::path& path, uint64_t sizeLimit) : std::istream(nullptr) {
    int fd = openRegularFile(path);
    platform::FileStatus info;
    if (!platform::statusOf(fd, info)) {
        int error = errno;
        platform::closeFile(fd);
        throw VbError(vberr::PathFileAccess, "Cannot examine '" + path.string() + "': " + std::strerror(error),
                      path.string());
    }
    size_ = info.size;
    if (size_ > sizeLimit) {
        platform::closeFile(fd);
        throw VbError(vberr::PathFileAccess,
                      "'" + path.string() + "' holds " + std::to_string(size_) + " bytes (" + byteCountText(size_) +
                          "); files larger than " + byteCountText(sizeLimit) + " are not read",
                      path.string());
    }
    buffer_ = std::make_unique<Buffer>(fd, path);
    rdbuf(buffer_.get());
    exceptions(std::ios::badbit); // a read error is a failure, not the end of the file
}

FileInputStream::~FileInputStream() = default;

std::string byteCountText(uint64_t bytes) {
    if (bytes < 1024)
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    const char* units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < std::size(units)) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, units[unit]);
    return text;
}

} // namespace corvane
