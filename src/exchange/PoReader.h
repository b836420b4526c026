// PoReader: reads a gettext PO file that `corvane export` wrote and a translation tool
// filled in: the header's X-Corvane fields, and one unit per entry (msgctxt = unit id,
// msgid = source, msgstr = target, flag "fuzzy" = needs review). Obsolete entries ("#~")
// and comments are passed over; texts are read exactly.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace corvane::exchange {

// Reads the document; raises ExchangeFormatError naming `sourceName` and the line when the
// text is not a PO file of one project and language. An entry corvane cannot use (no
// msgctxt, plural forms) gets a `problem` instead of failing the file.
ExchangeDocument readPo(std::istream& in, const std::string& sourceName);
// Reads a file; raises VbError 53/75 when it cannot be read.
ExchangeDocument readPoFile(const std::filesystem::path& path);

} // namespace corvane::exchange
