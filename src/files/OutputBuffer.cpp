#include "files/OutputBuffer.h"

#include <algorithm>

namespace corvane {

OutputBuffer::OutputBuffer(Drain drain, size_t capacity)
    : drain_(std::move(drain)), capacity_(capacity > 0 ? capacity : 1),
      buffer_(new char[capacity_]) {} // not zero-filled: only written bytes are handed on

void OutputBuffer::flush() {
    if (used_ == 0)
        return;
    std::string_view chunk(buffer_.get(), used_);
    used_ = 0;
    drain_(chunk);
}

void OutputBuffer::appendSlow(std::string_view bytes) {
    while (!bytes.empty()) {
        if (used_ == capacity_)
            flush();
        size_t take = std::min(bytes.size(), capacity_ - used_);
        std::memcpy(buffer_.get() + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
    }
}

} // namespace corvane
