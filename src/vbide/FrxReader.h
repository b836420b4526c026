// FrxReader: values kept in a form's binary companion file (.frx), which has no header; a
// property line names the byte offset of its record. Every length read is bounded by the
// file's size, so a damaged file gives an error and never a read past its end.
//
// Text records come in three kinds, told apart by their first bytes:
//   0xFF, 16-bit length, bytes      (texts of 255 bytes and more)
//   32-bit length, bytes            (long captions; the length has a zero byte in practice)
//   8-bit length, bytes             (short texts)
// Pictures start with a 12-byte header: 32-bit size, "lt\0\0", 32-bit data size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::vbide {

// The bytes of the text record at `offset` (not decoded). Raises VbError 5 describing the
// fault (offset or length past the end of the file) without naming the file.
std::string readFrxText(std::string_view frx, uint32_t offset);

// Checks that a binary record (picture or other) at `offset` lies inside the file; raises
// VbError 5 as readFrxText does.
void checkFrxRecord(std::string_view frx, uint32_t offset);

} // namespace corvane::vbide
