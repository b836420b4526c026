#include "vbide/FrxReader.h"

#include "support/VbError.h"

#include <cstdio>

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

// True when `length` bytes starting at `start` lie inside the file (no overflow).
bool fits(std::string_view frx, uint64_t start, uint64_t length) {
    return start <= frx.size() && length <= frx.size() - start;
}

[[noreturn]] void pastEnd(std::string_view frx, uint32_t offset, uint64_t length) {
    throw VbError(vberr::InvalidCall, "the record at offset " + hex(offset) + " needs " +
                                          std::to_string(length) + " bytes but the file has " +
                                          std::to_string(frx.size()) + " bytes");
}

void checkOffset(std::string_view frx, uint32_t offset) {
    if (offset >= frx.size())
        throw VbError(vberr::InvalidCall, "the offset " + hex(offset) +
                                              " lies past the end of the file (" +
                                              std::to_string(frx.size()) + " bytes)");
}

} // namespace

std::string readFrxText(std::string_view frx, uint32_t offset) {
    checkOffset(frx, offset);
    uint64_t start = offset;
    if (static_cast<unsigned char>(frx[offset]) == 0xFF && fits(frx, start, 3)) {
        uint32_t length = readLittleEndian(frx, offset + 1, 2);
        if (fits(frx, start + 3, length))
            return std::string(frx.substr(offset + 3, length));
    }
    if (fits(frx, start, 4) && frx.substr(offset, 4).find('\0') != std::string_view::npos) {
        uint32_t length = readLittleEndian(frx, offset, 4);
        if (fits(frx, start + 4, length))
            return std::string(frx.substr(offset + 4, length));
        pastEnd(frx, offset, uint64_t{length} + 4);
    }
    uint32_t length = static_cast<unsigned char>(frx[offset]);
    if (!fits(frx, start + 1, length))
        pastEnd(frx, offset, uint64_t{length} + 1);
    return std::string(frx.substr(offset + 1, length));
}

void checkFrxRecord(std::string_view frx, uint32_t offset) {
    checkOffset(frx, offset);
    uint64_t start = offset;
    if (fits(frx, start, 12) && frx.substr(offset + 4, 4) == std::string_view("lt\0\0", 4)) {
        uint64_t size = readLittleEndian(frx, offset, 4);
        uint64_t dataSize = readLittleEndian(frx, offset + 8, 4);
        if (!fits(frx, start + 4, size))
            pastEnd(frx, offset, size + 4);
        if (!fits(frx, start + 12, dataSize))
            pastEnd(frx, offset, dataSize + 12);
        return;
    }
    if (fits(frx, start, 4)) {
        uint32_t length = readLittleEndian(frx, offset, 4);
        if (frx.substr(offset, 4).find('\0') != std::string_view::npos && !fits(frx, start + 4, length))
            pastEnd(frx, offset, uint64_t{length} + 4);
    }
}

} // namespace corvane::vbide
