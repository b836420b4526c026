#include "vbruntime/HelpTextList.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/NamePool.h"
#include "vbruntime/VbError.h"

#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <vector>

namespace corvane {

// The block: the header; `entryCapacity` languages (the pool's copies, kept for the run of the
// program); as many lengths; `byteCapacity` bytes, the texts one after the other.
struct HelpTextList::Header {
    uint16_t count;
    uint16_t entryCapacity;
    uint32_t byteCapacity;
};

namespace {

// A size as the list's 32-bit fields hold it; raises 6 beyond them.
uint32_t narrowed(size_t size) {
    if (size > std::numeric_limits<uint32_t>::max())
        throw VbError(vberr::Overflow);
    return static_cast<uint32_t>(size);
}

} // namespace

void HelpTextList::BlockDeleter::operator()(Header* header) const noexcept {
    ::operator delete(header);
}

HelpTextList::Block HelpTextList::allocate(size_t entries, size_t bytes) {
    static_assert(MaxCount == std::numeric_limits<uint16_t>::max());
    if (entries > MaxCount)
        throw VbError(vberr::Overflow);
    const uint32_t byteCapacity = narrowed(bytes);
    const size_t entryBytes = sizeof(const std::string*) + sizeof(uint32_t);
    void* memory = ::operator new(sizeof(Header) + entries * entryBytes + bytes);
    return Block(new (memory) Header{0, static_cast<uint16_t>(entries), byteCapacity});
}

const std::string** HelpTextList::languages() const noexcept {
    return reinterpret_cast<const std::string**>(reinterpret_cast<char*>(block_.get()) + sizeof(Header));
}

uint32_t* HelpTextList::lengths() const noexcept {
    return reinterpret_cast<uint32_t*>(languages() + block_->entryCapacity);
}

char* HelpTextList::bytes() const noexcept {
    return reinterpret_cast<char*>(lengths() + block_->entryCapacity);
}

size_t HelpTextList::offsetOf(size_t index) const noexcept {
    if (!block_)
        return 0;
    size_t offset = 0;
    const uint32_t* length = lengths();
    for (size_t i = 0; i < index; ++i)
        offset += length[i];
    return offset;
}

HelpTextList::Block HelpTextList::copied(size_t entryCount, size_t byteCount) const {
    Block block = allocate(entryCount, byteCount);
    if (block_) {
        HelpTextList copy;
        copy.block_ = std::move(block);
        copy.block_->count = block_->count;
        std::memcpy(copy.languages(), languages(), block_->count * sizeof(const std::string*));
        std::memcpy(copy.lengths(), lengths(), block_->count * sizeof(uint32_t));
        std::memcpy(copy.bytes(), bytes(), offsetOf(block_->count));
        block = std::move(copy.block_);
    }
    return block;
}

HelpTextList::HelpTextList(std::initializer_list<std::pair<std::string_view, std::string_view>> texts) {
    size_t bytes = 0;
    for (const auto& text : texts)
        bytes += text.second.size();
    if (texts.size() > 0)
        reserve(texts.size(), bytes);
    for (const auto& [language, text] : texts)
        Add(text, language);
}

HelpTextList::HelpTextList(const HelpTextList& other)
    : block_(other.block_ ? other.copied(other.block_->count, other.offsetOf(other.block_->count)) : nullptr) {}

HelpTextList& HelpTextList::operator=(const HelpTextList& other) {
    if (this != &other)
        *this = HelpTextList(other);
    return *this;
}

int32_t HelpTextList::Count() const noexcept {
    return block_ ? static_cast<int32_t>(block_->count) : 0;
}

size_t HelpTextList::checkedIndex(int32_t position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return static_cast<size_t>(position - 1);
}

std::string_view HelpTextList::Item(int32_t position) const {
    const size_t index = checkedIndex(position); // before the table is read: an empty list has none
    return {bytes() + offsetOf(index), lengths()[index]};
}

std::string_view HelpTextList::Item(std::string_view language) const {
    const size_t index = indexOf(language);
    return {bytes() + offsetOf(index), lengths()[index]};
}

const std::string& HelpTextList::KeyAt(int32_t position) const {
    const size_t index = checkedIndex(position);
    return *languages()[index];
}

int32_t HelpTextList::PositionOf(std::string_view language) const {
    const int32_t count = Count();
    const std::string* const* table = count > 0 ? languages() : nullptr;
    for (int32_t i = 0; i < count; ++i)
        if (equalsIgnoreCase(*table[i], language))
            return i + 1;
    return 0;
}

size_t HelpTextList::indexOf(std::string_view language) const {
    const int32_t position = PositionOf(language);
    if (position == 0)
        throw VbError(vberr::InvalidCall);
    return static_cast<size_t>(position - 1);
}

void HelpTextList::reserve(size_t texts, size_t textBytes) {
    const size_t count = static_cast<size_t>(Count());
    const size_t used = offsetOf(count);
    if (block_ && block_->entryCapacity >= count + texts && block_->byteCapacity >= used + textBytes)
        return;
    block_ = copied(count + texts, used + textBytes);
}

void HelpTextList::Add(std::string_view text, std::string_view language) {
    if (Contains(language))
        throw VbError(vberr::DuplicateKey);
    const std::less<const char*> before;
    if (block_ && !before(text.data(), bytes()) && before(text.data(), bytes() + block_->byteCapacity))
        return Add(std::string(text), language); // a text of this list: copied before its block moves
    const std::string* name = &pooledName(language);
    const size_t count = static_cast<size_t>(Count());
    const size_t used = offsetOf(count);
    narrowed(used + text.size());
    if (!block_ || block_->entryCapacity == count || block_->byteCapacity - used < text.size())
        reserve(1, text.size()); // the only step that can fail: the list is unchanged when it does
    if (!text.empty()) // an empty text may have no bytes at all
        std::memcpy(bytes() + used, text.data(), text.size());
    languages()[count] = name;
    lengths()[count] = static_cast<uint32_t>(text.size());
    ++block_->count;
}

void HelpTextList::Remove(int32_t position) {
    const size_t index = checkedIndex(position);
    const size_t count = block_->count;
    const size_t offset = offsetOf(index);
    const size_t length = lengths()[index];
    char* text = bytes();
    // The bytes after the text move down over it; the languages and lengths behind it move up.
    std::memmove(text + offset, text + offset + length, offsetOf(count) - offset - length);
    std::memmove(languages() + index, languages() + index + 1, (count - index - 1) * sizeof(const std::string*));
    std::memmove(lengths() + index, lengths() + index + 1, (count - index - 1) * sizeof(uint32_t));
    --block_->count;
}

void HelpTextList::Remove(std::string_view language) {
    Remove(static_cast<int32_t>(indexOf(language)) + 1);
}

Variant toVariant(const HelpTextList& texts) {
    std::vector<Variant> values;
    values.reserve(static_cast<size_t>(texts.Count()));
    for (std::string_view text : texts)
        values.emplace_back(text);
    return Variant::collection(std::move(values));
}

} // namespace corvane
