// PoWriter: writes an exchange document as a gettext PO file.
//
//   msgid ""  msgstr ""  header: Project-Id-Version, Language ... and
//       X-Corvane-Project, X-Corvane-Source-Language, X-Corvane-Language (read by the import)
//   #. Module frmOrder, control cmdOK (CommandButton), caption "OK"
//   msgctxt "frmOrder/cmdOK"
//   msgid "primary language's text"
//   msgstr "the language's text"
//
// Texts are written exactly, CR as "\r". gettext requires a translation to begin and end
// with a line feed when its source does; an entry whose texts differ there is marked fuzzy
// so that the file still passes `msgfmt --check` (the import applies such a text only when
// it was changed and the mark removed).
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>

namespace corvane::exchange {

// Writes the document's header and the units `units` gives as PO text, each unit as it comes;
// `revisionDate` fills the header's PO-Revision-Date ("2026-12-06 23:10+0000").
void writePo(std::ostream& out, const ExchangeDocument& header, const UnitSource& units,
             const std::string& revisionDate);
// Writes the document as PO text.
void writePo(std::ostream& out, const ExchangeDocument& document, const std::string& revisionDate);
// Writes the header and units to a file as a stream, with the current time as revision date,
// replacing the file atomically; raises VbError 75 when it cannot (OutputFile.h).
void writePoFile(const std::filesystem::path& path, const ExchangeDocument& header, const UnitSource& units);
// Writes the document to a file so.
void writePoFile(const std::filesystem::path& path, const ExchangeDocument& document);

// The current time as a PO revision date, in UTC ("2026-12-06 23:10+0000").
std::string currentPoRevisionDate();

// True when gettext would refuse `target` as the translation of `source`: one of them begins
// (or ends) with a line feed and the other does not.
bool lineFeedsDiffer(const std::string& source, const std::string& target);

} // namespace corvane::exchange
