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

struct HelpTextList::Entry {
    const std::string* language; // the pool's copy, kept for the run of the program
    uint32_t offset;             // of the text's first byte, from the start of the texts' bytes
    uint32_t length;
};

struct HelpTextList::Header {
    uint32_t count;
    uint32_t entryCapacity;
    uint32_t used; // bytes of text
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
    const uint32_t entryCapacity = narrowed(entries);
    const uint32_t byteCapacity = narrowed(bytes);
    void* memory = ::operator new(sizeof(Header) + entries * sizeof(Entry) + bytes);
    return Block(new (memory) Header{0, entryCapacity, 0, byteCapacity});
}

HelpTextList::Entry* HelpTextList::entries() const noexcept {
    return reinterpret_cast<Entry*>(reinterpret_cast<char*>(block_.get()) + sizeof(Header));
}

char* HelpTextList::bytes() const noexcept {
    return reinterpret_cast<char*>(entries() + block_->entryCapacity);
}

HelpTextList::Block HelpTextList::copied(size_t entryCount, size_t byteCount) const {
    Block block = allocate(entryCount, byteCount);
    if (block_) {
        Header& header = *block;
        header.count = block_->count;
        header.used = block_->used;
        std::memcpy(reinterpret_cast<char*>(&header) + sizeof(Header), entries(), block_->count * sizeof(Entry));
        std::memcpy(reinterpret_cast<char*>(&header) + sizeof(Header) + entryCount * sizeof(Entry), bytes(),
                    block_->used);
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
    : block_(other.block_ ? other.copied(other.block_->count, other.block_->used) : nullptr) {}

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
    const Entry& entry = entries()[index];
    return {bytes() + entry.offset, entry.length};
}

std::string_view HelpTextList::Item(std::string_view language) const {
    const size_t index = indexOf(language);
    const Entry& entry = entries()[index];
    return {bytes() + entry.offset, entry.length};
}

const std::string& HelpTextList::KeyAt(int32_t position) const {
    const size_t index = checkedIndex(position);
    return *entries()[index].language;
}

int32_t HelpTextList::PositionOf(std::string_view language) const {
    const int32_t count = Count();
    const Entry* table = count > 0 ? entries() : nullptr;
    for (int32_t i = 0; i < count; ++i)
        if (equalsIgnoreCase(*table[i].language, language))
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
    const size_t used = block_ ? block_->used : 0;
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
    const size_t used = block_ ? block_->used : 0;
    narrowed(used + text.size());
    if (!block_ || block_->entryCapacity == count || block_->byteCapacity - used < text.size())
        reserve(1, text.size()); // the only step that can fail: the list is unchanged when it does
    if (!text.empty()) // an empty text may have no bytes at all
        std::memcpy(bytes() + used, text.data(), text.size());
    entries()[count] = Entry{name, static_cast<uint32_t>(used), static_cast<uint32_t>(text.size())};
    block_->used = static_cast<uint32_t>(used + text.size());
    ++block_->count;
}

void HelpTextList::Remove(int32_t position) {
    const size_t index = checkedIndex(position);
    Entry* table = entries();
    const Entry gone = table[index];
    char* text = bytes();
    // The bytes after the text move down over it; the texts behind it in the table move up.
    std::memmove(text + gone.offset, text + gone.offset + gone.length, block_->used - gone.offset - gone.length);
    for (size_t i = 0; i < block_->count; ++i)
        if (table[i].offset > gone.offset)
            table[i].offset -= gone.length;
    std::memmove(table + index, table + index + 1, (block_->count - index - 1) * sizeof(Entry));
    block_->used -= gone.length;
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
