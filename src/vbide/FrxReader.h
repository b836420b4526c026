// FrxReader: text values kept in a form's binary companion file (.frx), which has no header;
// a property line names the byte offset of its record. Only texts the program needs are read
// (captions, a text box's text); every other record (pictures, lists, stream-saved ActiveX
// data, bindings) stays in the file as it is and is never read, so its layout cannot fail a
// form.
//
// A text record is one of:
//   0xFF, 16-bit length, bytes      (texts of 255 bytes and more)
//   32-bit length, bytes            (long or multi-line texts)
//   8-bit length, bytes             (short texts)
// A record ends at the latest where the next record the form refers to begins (or at the end
// of the file). The first kind whose length fits that room and whose bytes are text is taken;
// a record that fits none of them (a .frx out of step with its form, a damaged file) is an
// error. Every length is bounded by the file's size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::vbide {

// The bytes of the text record at `offset` (not decoded), which ends at or before `end` (the
// next record's offset, or the file's size). Raises VbError 5 describing the fault without
// naming the file.
std::string readFrxText(std::string_view frx, uint32_t offset, uint64_t end);

} // namespace corvane::vbide
