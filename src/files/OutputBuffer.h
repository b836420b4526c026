// OutputBuffer: collects small pieces of output in a fixed buffer and hands them on in large
// chunks, so that a writer that renders a big file piece by piece (a data file of 15 MB in
// hundreds of thousands of attributes) costs one system call per chunk and never holds the
// whole file in memory.
//
//   OutputBuffer out([&](std::string_view chunk) { writeAll(fd, chunk); });
//   out.append("<Root>"); ...
//   out.flush();                       // hands on what is left; the destructor does not
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace corvane {

class OutputBuffer {
public:
    // Where the chunks go; it is called with at most `capacity` bytes at a time.
    using Drain = std::function<void(std::string_view chunk)>;

    // A buffer of `capacity` bytes that hands full chunks to `drain`.
    explicit OutputBuffer(Drain drain, size_t capacity = size_t{1} << 16);
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Appends bytes; a full buffer is handed on first.
    void append(std::string_view bytes) {
        if (bytes.size() <= capacity_ - used_) {
            std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
        } else {
            appendSlow(bytes);
        }
    }
    // Appends one byte.
    void append(char byte) {
        if (used_ == capacity_)
            flush();
        buffer_[used_++] = byte;
    }
    // Hands on the bytes collected so far.
    void flush();

private:
    void appendSlow(std::string_view bytes);

    Drain drain_;
    size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    size_t used_ = 0;
};

} // namespace corvane
