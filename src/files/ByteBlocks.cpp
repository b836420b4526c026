#include "files/ByteBlocks.h"

#include <algorithm>
#include <mutex>

namespace corvane {

namespace {

constexpr size_t BlockSize = size_t{1} << 20;

// The blocks kept for the next collection.
class BlockPool {
public:
    static BlockPool& instance() {
        static BlockPool* pool = new BlockPool; // never destroyed: blocks may come back at exit
        return *pool;
    }
    // A block of BlockSize bytes.
    std::unique_ptr<char[]> take() {
        {
            std::lock_guard lock(mutex_);
            if (!free_.empty()) {
                std::unique_ptr<char[]> block = std::move(free_.back());
                free_.pop_back();
                return block;
            }
        }
        return std::unique_ptr<char[]>(new char[BlockSize]); // pages are touched only when written
    }
    // Keeps a block for later, up to MaxKept of them.
    void give(std::unique_ptr<char[]> block) {
        std::lock_guard lock(mutex_);
        if (free_.size() < MaxKept)
            free_.push_back(std::move(block));
    }

private:
    static constexpr size_t MaxKept = 8;
    std::mutex mutex_;
    std::vector<std::unique_ptr<char[]>> free_;
};

} // namespace

ByteBlocks::ByteBlocks(ByteBlocks&& other) noexcept
    : takenOver_(std::move(other.takenOver_)), blocks_(std::move(other.blocks_)), next_(other.next_),
      end_(other.end_) {
    other.takenOver_.clear();
    other.blocks_.clear();
    other.next_ = other.end_ = nullptr;
}

ByteBlocks& ByteBlocks::operator=(ByteBlocks&& other) noexcept {
    if (this != &other) {
        giveBack();
        takenOver_ = std::move(other.takenOver_);
        blocks_ = std::move(other.blocks_);
        next_ = other.next_;
        end_ = other.end_;
        other.takenOver_.clear();
        other.blocks_.clear();
        other.next_ = other.end_ = nullptr;
    }
    return *this;
}

ByteBlocks::~ByteBlocks() {
    giveBack();
}

void ByteBlocks::appendToNewBlocks(std::string_view bytes) {
    while (!bytes.empty()) {
        size_t room = static_cast<size_t>(end_ - next_);
        if (room == 0) {
            if (!blocks_.empty())
                blocks_.back().size = BlockSize;
            blocks_.push_back({BlockPool::instance().take(), 0});
            next_ = blocks_.back().data.get();
            end_ = next_ + BlockSize;
            room = BlockSize;
        }
        size_t part = std::min(room, bytes.size());
        std::memcpy(next_, bytes.data(), part);
        next_ += part;
        bytes.remove_prefix(part);
    }
}

void ByteBlocks::append(std::string&& bytes) {
    if (takenOver_.empty() && blocks_.empty())
        takenOver_ = std::move(bytes);
    else
        append(std::string_view(bytes));
}

void ByteBlocks::append(const ByteBlocks& other) {
    for (std::string_view piece : other.pieces())
        append(piece);
}

void ByteBlocks::append(ByteBlocks&& other) {
    if (&other == this)
        return;
    if (takenOver_.empty() && blocks_.empty()) {
        *this = std::move(other);
        return;
    }
    append(std::string_view(other.takenOver_));
    if (other.blocks_.empty()) {
        other.clear();
        return;
    }
    if (!blocks_.empty())
        blocks_.back().size = static_cast<size_t>(next_ - blocks_.back().data.get()); // no longer the last
    blocks_.reserve(blocks_.size() + other.blocks_.size());
    for (Block& block : other.blocks_)
        blocks_.push_back(std::move(block));
    next_ = other.next_;
    end_ = other.end_;
    other.blocks_.clear();
    other.next_ = other.end_ = nullptr;
    other.clear();
}

size_t ByteBlocks::size() const noexcept {
    size_t total = takenOver_.size();
    for (size_t i = 0; i + 1 < blocks_.size(); ++i)
        total += blocks_[i].size;
    if (!blocks_.empty())
        total += static_cast<size_t>(next_ - blocks_.back().data.get());
    return total;
}

void ByteBlocks::clear() {
    giveBack();
}

std::string ByteBlocks::str() const {
    std::string joined;
    joined.reserve(size());
    for (std::string_view piece : pieces())
        joined += piece;
    return joined;
}

std::vector<std::string_view> ByteBlocks::pieces() const {
    std::vector<std::string_view> result;
    result.reserve(blocks_.size() + 1);
    if (!takenOver_.empty())
        result.emplace_back(takenOver_);
    for (size_t i = 0; i < blocks_.size(); ++i) {
        size_t used = i + 1 < blocks_.size() ? blocks_[i].size : static_cast<size_t>(next_ - blocks_[i].data.get());
        result.emplace_back(blocks_[i].data.get(), used);
    }
    return result;
}

void ByteBlocks::giveBack() {
    for (Block& block : blocks_)
        BlockPool::instance().give(std::move(block.data));
    blocks_.clear();
    std::string().swap(takenOver_);
    next_ = end_ = nullptr;
}

} // namespace corvane
