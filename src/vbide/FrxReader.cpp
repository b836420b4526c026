#include "vbide/FrxReader.h"

#include "vbruntime/VbError.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace corvane::vbide {

namespace {

uint32_t readLittleEndian(std::string_view bytes, size_t pos, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    return value;
}

std::string hex(uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%04llX", static_cast<unsigned long long>(value));
    return buffer;
}

// Texts hold no control characters but tabs and line breaks; a length that points into other
// data (a record out of step) almost always takes some in.
bool isText(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n';
    });
}

// The text of a record whose `width`-byte length sits at `offset` after `skip` marker
// bytes, when it is not empty, fits the room up to `end` and is text.
std::optional<std::string_view> textOfKind(std::string_view frx, uint64_t offset, uint64_t end, size_t skip,
                                           size_t width) {
    uint64_t header = skip + width;
    if (end - offset < header)
        return std::nullopt;
    uint64_t length = readLittleEndian(frx, offset + skip, width);
    if (length == 0 || length > end - offset - header)
        return std::nullopt;
    std::string_view text = frx.substr(offset + header, length);
    return isText(text) ? std::optional(text) : std::nullopt;
}

} // namespace

std::string readFrxText(std::string_view frx, uint32_t offset, uint64_t end) {
    end = std::min<uint64_t>(end, frx.size());
    if (offset >= frx.size())
        throw VbError(vberr::InvalidCall, "the offset " + hex(offset) + " lies past the end of the file (" +
                                              std::to_string(frx.size()) + " bytes)");
    if (offset >= end)
        end = frx.size(); // two lines name the same record: it ends where the file does
    auto first = static_cast<unsigned char>(frx[offset]);
    // Only texts of 255 bytes and more are written with the 0xFF mark.
    if (first == 0xFF)
        if (auto text = textOfKind(frx, offset, end, 1, 2); text && text->size() >= 0xFF)
            return std::string(*text);
    // A 32-bit length of a text has two zero bytes on top; a short text's bytes are not zero.
    if (end - offset >= 4 && frx[offset + 2] == '\0' && frx[offset + 3] == '\0')
        if (auto text = textOfKind(frx, offset, end, 0, 4))
            return std::string(*text);
    if (auto text = textOfKind(frx, offset, end, 0, 1))
        return std::string(*text);
    throw VbError(vberr::InvalidCall, "the record at offset " + hex(offset) +
                                          " is not a text that fits before the next record (" +
                                          std::to_string(end - offset) + " bytes)");
}

} // namespace corvane::vbide
