// XliffWriter: writes an exchange document as an XLIFF 1.2 file, the version every
// translation tool reads.
//
//   <xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2" xmlns:corvane="...">
//     <file original="OrderEntry.vbp" datatype="plaintext" source-language="en-US"
//           target-language="de-DE" corvane:source-language="English"
//           corvane:target-language="German">
//       <body>
//         <trans-unit id="frmOrder/cmdOK" resname="cmdOK" xml:space="preserve">
//           <source>..</source> <target state="translated">..</target>
//           <context-group> module, control, type, caption </context-group> <note>..</note>
//
// Texts are written exactly: CR as "&#13;" so that CR LF survives a reader's line-end
// normalisation, white space kept by xml:space="preserve". The corvane: attributes name the
// project's languages as the project spells them; the import needs them.
#pragma once

#include "exchange/ExchangeDocument.h"

#include <filesystem>
#include <iosfwd>

namespace corvane::exchange {

// Writes the document's header and the units `units` gives as XLIFF 1.2 text, each unit as
// it comes.
void writeXliff(std::ostream& out, const ExchangeDocument& header, const UnitSource& units);
// Writes the document as XLIFF 1.2 text.
void writeXliff(std::ostream& out, const ExchangeDocument& document);
// Writes the header and units to a file as a stream, replacing it atomically; raises VbError
// 75 when it cannot (OutputFile.h).
void writeXliffFile(const std::filesystem::path& path, const ExchangeDocument& header, const UnitSource& units);
// Writes the document to a file so.
void writeXliffFile(const std::filesystem::path& path, const ExchangeDocument& document);

// The namespace of the corvane: attributes.
inline constexpr const char* CorvaneXliffNamespace = "urn:corvane:exchange:1";

} // namespace corvane::exchange
