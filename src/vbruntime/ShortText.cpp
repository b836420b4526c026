#include "vbruntime/ShortText.h"

#include "vbruntime/VbError.h"

#include <cstring>
#include <limits>
#include <ostream>
#include <utility>

namespace corvane {

static_assert(sizeof(ShortText) == 16);

ShortText::ShortText(std::string_view text) {
    bytes_.fill(0);
    if (text.size() <= InPlace) {
        if (!text.empty())
            std::memcpy(bytes_.data(), text.data(), text.size());
        bytes_[InPlace] = static_cast<char>(text.size());
        return;
    }
    if (text.size() > std::numeric_limits<uint32_t>::max())
        throw VbError(vberr::Overflow);
    char* block = new char[text.size()];
    std::memcpy(block, text.data(), text.size());
    const auto length = static_cast<uint32_t>(text.size());
    std::memcpy(bytes_.data(), &block, sizeof block);
    std::memcpy(bytes_.data() + sizeof block, &length, sizeof length);
    bytes_[InPlace] = static_cast<char>(Outside);
}

ShortText& ShortText::operator=(const ShortText& other) {
    if (this != &other)
        *this = ShortText(other);
    return *this;
}

ShortText& ShortText::operator=(ShortText&& other) noexcept {
    if (this != &other) {
        release();
        bytes_ = std::exchange(other.bytes_, {});
    }
    return *this;
}

char* ShortText::outsideData() const noexcept {
    char* block = nullptr;
    std::memcpy(&block, bytes_.data(), sizeof block);
    return block;
}

const char* ShortText::data() const noexcept {
    return inPlace() ? bytes_.data() : outsideData();
}

size_t ShortText::size() const noexcept {
    if (inPlace())
        return static_cast<unsigned char>(bytes_[InPlace]);
    uint32_t length = 0;
    std::memcpy(&length, bytes_.data() + sizeof(char*), sizeof length);
    return length;
}

void ShortText::release() noexcept {
    if (!inPlace())
        delete[] outsideData();
    bytes_.fill(0);
}

std::ostream& operator<<(std::ostream& out, const ShortText& text) {
    return out << text.view();
}

} // namespace corvane
