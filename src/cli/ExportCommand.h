// ExportCommand: `corvane export PROJECT.vbp --language L [--format xliff|po] [-o FILE]`:
// writes the help text of language L for a translator: one unit per control that has text in
// the primary language, that text as source, L's text as target (empty when missing), the
// module, control, type and caption as context, and the unit id MODULE/CONTROLKEY.
//
// Without -o the file goes to standard output; with it, the file is written atomically and
// one line says so: "Exported N texts of L to FILE". The format is XLIFF 1.2 unless --format
// po is given. Exit status: 0 when exported, 2 when nothing was (usage, a project that cannot
// be opened or read completely, a language that is not the project's, a file not written).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "export"); returns the exit status.
int runExport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
