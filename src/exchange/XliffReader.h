// XliffReader: reads an XLIFF 1.2 file that `corvane export` wrote and a translation tool
// filled in. Lenient where tools differ (namespace prefixes, groups, segment markers, a
// missing target), exact in texts: CR LF written as "&#13;" and LF stays CR LF.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace corvane::exchange {

// Reads the document; raises ExchangeFormatError naming `sourceName` (and the line, for XML
// that is not well-formed) when it is not an XLIFF file of one project and language.
// A unit whose text holds inline markup gets a `problem` instead of failing the file.
ExchangeDocument readXliff(std::istream& in, const std::string& sourceName);
// Reads a file; raises VbError 53/75 when it cannot be read.
ExchangeDocument readXliffFile(const std::filesystem::path& path);

} // namespace corvane::exchange
