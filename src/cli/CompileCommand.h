// CompileCommand: `corvane compile PROJECT.vbp [--yes]`: the toolbar's "compile" without
// windows. The project is scanned as `corvane scan` does, the creation run generates (and
// compiles) the help files of every selected language, each message box and the compile log
// are printed, Yes/No questions are answered No (Yes with --yes), and the editor is then
// closed and saved as the user would. Exit status 0 only when every file the project's
// options ask for was produced by this run and everything was saved; a scan that failed or did
// not load the whole data file ends it with status 1 before anything is generated or saved.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "compile"); returns the exit status.
int runCompile(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
