// XliffReader: reads an XLIFF 1.2 file that `corvane export` wrote and a translation tool
// filled in. Lenient where tools differ (namespace prefixes, groups, segment markers, a
// missing target), exact in texts: CR LF written as "&#13;" and LF stays CR LF.
//
// The file is read as a stream (expat), a block at a time: the header goes to the sink when
// the <file> element begins and each unit when it ends, so that memory holds one unit, never
// the file. The file is read in the encoding it declares or its byte-order mark shows: UTF-8,
// UTF-16, ISO-8859-1 or US-ASCII; another encoding is refused, naming it. A file that
// declares entities (a DTD's expansion bombs) is refused too.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>
#include <string>

namespace corvane::exchange {

// Reads the document into `sink`; raises ExchangeFormatError naming `sourceName` (and the
// line, where one is known) when it is not an XLIFF file of one project and language, and
// whatever the sink raises. A unit whose text holds inline markup gets a `problem` instead of
// failing the file.
void readXliff(std::istream& in, const std::string& sourceName, ExchangeSink& sink);
// Reads the whole document.
ExchangeDocument readXliff(std::istream& in, const std::string& sourceName);
// Reads a file; raises VbError 53/75 when it cannot be read.
ExchangeDocument readXliffFile(const std::filesystem::path& path);

} // namespace corvane::exchange
