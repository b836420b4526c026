// ByteBlocks: bytes collected in blocks of 1 MiB that are reused from one collection to the
// next, for the content of files written whole (AtomicFile, the popup file of a help project).
//
// Generated help projects write files of megabytes one after another. Growing one string per
// file touches fresh pages for every byte, twice over with the doubling, and those page faults
// cost more than writing the bytes to disk. Blocks given back when a collection is cleared or
// destroyed are kept (up to 8 MiB for the process) for the next one. The blocks are safe to use
// from several threads; one ByteBlocks object is not.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class ByteBlocks {
public:
    // Nothing collected.
    ByteBlocks() = default;
    ByteBlocks(ByteBlocks&& other) noexcept;
    ByteBlocks& operator=(ByteBlocks&& other) noexcept;
    ByteBlocks(const ByteBlocks&) = delete;
    ByteBlocks& operator=(const ByteBlocks&) = delete;
    // Gives the blocks back for reuse.
    ~ByteBlocks();

    // Appends bytes.
    void append(std::string_view bytes) {
        if (bytes.size() <= static_cast<size_t>(end_ - next_) && !bytes.empty()) {
            std::memcpy(next_, bytes.data(), bytes.size()); // the usual case: room in the last block
            next_ += bytes.size();
            return;
        }
        appendToNewBlocks(bytes);
    }
    // Appends bytes the caller gives up: taken over without a copy when nothing is collected yet.
    void append(std::string&& bytes);
    // Appends the bytes of another collection.
    void append(const ByteBlocks& other);
    // Appends the bytes of a collection the caller gives up: its blocks are taken over.
    void append(ByteBlocks&& other);
    ByteBlocks& operator+=(std::string_view bytes) {
        append(bytes);
        return *this;
    }
    ByteBlocks& operator+=(char byte) {
        append(std::string_view(&byte, 1));
        return *this;
    }

    // The number of bytes collected.
    size_t size() const noexcept;
    // True when nothing is collected.
    bool empty() const noexcept { return size() == 0; }
    // Forgets the bytes; the blocks are given back for reuse.
    void clear();
    // All bytes as one string (a copy).
    std::string str() const;
    // The bytes in order, as pieces that together are the whole content (valid until the next
    // change).
    std::vector<std::string_view> pieces() const;

private:
    struct Block {
        std::unique_ptr<char[]> data;
        size_t size = 0; // bytes used; for the last block next_ tells
    };

    void appendToNewBlocks(std::string_view bytes);
    void giveBack();

    std::string takenOver_;     // the first bytes, when a caller gave them up
    std::vector<Block> blocks_; // the bytes after them
    char* next_ = nullptr;      // where the last block's next byte goes
    char* end_ = nullptr;       // the end of the last block
};

} // namespace corvane
