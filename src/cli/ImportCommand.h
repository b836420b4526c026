// ImportCommand: `corvane import PROJECT.vbp FILE [--dry-run]`: brings a translator's XLIFF
// or PO file (as `corvane export` wrote it) back into the project's help data file.
//
// Only the file's language changes, only for controls whose primary language text is still
// the unit's source; no record is created. Output, one line per unit that changes or is left:
//     Changed MODULE/CONTROL
//     Skipped MODULE/CONTROL: REASON
// then "LANGUAGE: N changed, N unchanged, N skipped." and what was written ("Saved FILE",
// "Dry run: nothing was written.", "Nothing to change; FILE was not written.").
// Exit status: 0 when no unit was skipped, 1 when any was (the others are saved), 2 when
// nothing was imported: usage, a project that cannot be opened or read completely, a file
// that cannot be read, is not well-formed, or belongs to another project, language or
// primary language (the message says which), a data file that cannot be written.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "import"); returns the exit status.
int runImport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
