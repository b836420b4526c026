// RegFile: the registry store's text form, the regedit export format.
//
//   Windows Registry Editor Version 5.00
//   <blank line>
//   [HKEY_CURRENT_USER\Software\Halvex]
//   "CorvaneSplitMain"="2400"
//   @="the default value"
//   <blank line>
//
// Written as UTF-8 without BOM and with CR LF line ends, as regedit ends its lines. Read as
// UTF-8 (a BOM is skipped) or as UTF-16 with BOM, which is what regedit itself writes; line
// ends may be CR LF or LF.
//
// String values and value names are quoted; inside the quotes "\\" stands for a backslash
// and "\"" for a quote. So that every text reads back exactly, a line feed is written as
// "\n", a carriage return as "\r" and any other control character except the tab as "\xHH".
// Values of other types ("dword:", "hex:", "hex(N):", with "\" line continuations) are kept as
// raw text and written back unchanged. Blank lines and ";" comments are skipped; a key is
// written after its parent, and a key without values is written as an empty section (a root
// key only when it holds values). Deletions ("[-...]", "name"=-) are not part of a store.
//
// A malformed text raises VbError 75 whose description names the file, the line and what
// is wrong: "Malformed registry file '<file>', line 3: unterminated quote".
#pragma once

#include "registry/RegistryModel.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The header line that starts every registry file.
inline constexpr std::string_view RegFileHeader = "Windows Registry Editor Version 5.00";

// Parses the bytes of a registry file; `fileName` names it in error messages.
RegistryModel parseRegistryText(std::string_view bytes, std::string_view fileName);
// Parses what is sound of the bytes of a registry file: each malformed line is skipped (the
// values of a malformed key with it) and its description, as parseRegistryText gives it, is
// added to `problems`.
RegistryModel parseSoundRegistryText(std::string_view bytes, std::string_view fileName,
                                     std::vector<std::string>& problems);
// Parses a registry file from a stream; `fileName` names it in error messages.
RegistryModel readRegistryText(std::istream& in, std::string_view fileName);
// Reads a registry file from disk (VbError 53 when it does not exist, 75 when unreadable).
RegistryModel readRegistryFile(const std::filesystem::path& file);

// The text of a registry file holding the model.
std::string registryText(const RegistryModel& model);
// Writes the text of a registry file holding the model to a stream.
void writeRegistryText(std::ostream& out, const RegistryModel& model);
// Replaces a registry file on disk through AtomicFile.
void writeRegistryFile(const std::filesystem::path& file, const RegistryModel& model);

} // namespace corvane
