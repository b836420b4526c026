// PoReader: reads a gettext PO file that `corvane export` wrote and a translation tool
// filled in: the header's X-Corvane fields, and one unit per entry (msgctxt = unit id,
// msgid = source, msgstr = target, flag "fuzzy" = needs review). Obsolete entries ("#~")
// and comments are passed over; texts are read exactly.
// The file is read line by line and each entry handed on when it ends, so that memory holds
// one entry, never the file. It must be UTF-8: a byte that is not is refused naming its line,
// and a header that declares another character set is refused.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace corvane::exchange {

// Reads the document into `sink` (entries before the header wait for it); raises
// ExchangeFormatError naming `sourceName` and the line when the text is not a PO file of one
// project and language, and whatever the sink raises. An entry corvane cannot use (no
// msgctxt, plural forms) gets a `problem` instead of failing the file.
void readPo(std::istream& in, const std::string& sourceName, ExchangeSink& sink);
// Reads the whole document.
ExchangeDocument readPo(std::istream& in, const std::string& sourceName);
// Reads a file; raises VbError 53/75 when it cannot be read.
ExchangeDocument readPoFile(const std::filesystem::path& path);

} // namespace corvane::exchange
