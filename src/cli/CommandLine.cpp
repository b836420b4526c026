#include "cli/CommandLine.h"

#include "cli/CompileCommand.h"
#include "cli/CoverageCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SpellCommand.h"
#include "support/AppPaths.h"
#include "support/AtomicFile.h"
#include "support/VbError.h"

#include <ostream>

namespace corvane::cli {

namespace {

// The program's own data files that every command reads ("languages.txt" at start-up): a
// missing or unreadable one ends the command with a message naming it.
bool programDataReadable(std::ostream& err) {
    for (const char* name : {"languages.txt", "languagecodes.txt", "controltypes.txt"}) {
        try {
            readFileBytes(dataDirectory() / name);
        } catch (const VbError& error) {
            err << "corvane: a data file of the program cannot be read: " << error.description()
                << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

std::string usageText() {
    return "Usage: corvane [--help] [--version] COMMAND [ARGUMENTS]\n"
           "\n"
           "Manages the popup (\"What's This\") help text of Visual Basic 6 projects.\n"
           "\n"
           "Commands:\n"
           "  scan PROJECT.vbp [--json] [--save]   read the project and its help text\n"
           "  compile PROJECT.vbp [--yes]          generate and compile the help files\n"
           "  edit PROJECT.vbp                     open the help text editor\n"
           "  spell PROJECT.vbp [--language NAME]  check the spelling of the help text\n"
           "\n"
           "Translation (XLIFF 1.2 or gettext PO files for translators' tools):\n"
           "  export PROJECT.vbp --language NAME [--format xliff|po] [-o FILE]\n"
           "                       write one language's help text for a translator\n"
           "  import PROJECT.vbp FILE [--dry-run]\n"
           "                       bring a translated file back; exits with 1 when a unit was\n"
           "                       skipped (conflict, unknown unit), 2 when nothing was imported\n"
           "  coverage PROJECT.vbp [--language NAME] [--json] [--min PERCENT]\n"
           "                       controls with and without help text, per module and language;\n"
           "                       exits with 1 when a language is below PERCENT\n"
           "\n"
           "spell prints one line for each questioned word and a count, changing nothing:\n"
           "  MODULE CONTROL LANGUAGE: \"WORD\" -> SUGGESTION, SUGGESTION\n"
           "  Questioned words: N\n"
           "and exits with 0 when no word was questioned, 1 when one was, 2 when it could not\n"
           "check (unknown language, dictionary not installed).\n"
           "\n"
           "Options:\n"
           "  --help      show this text and exit\n"
           "  --version   show the program's version and exit\n";
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << usageText();
        return 2;
    }
    const std::string& command = arguments.front();
    if (command == "--help" || command == "-h" || command == "help") {
        out << usageText();
        return 0;
    }
    if (command == "--version") {
        out << "corvane " << programVersion() << "\n";
        return 0;
    }
    std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);
    Command runCommand = command == "scan"       ? runScan
                         : command == "compile"  ? runCompile
                         : command == "spell"    ? runSpell
                         : command == "export"   ? runExport
                         : command == "import"   ? runImport
                         : command == "coverage" ? runCoverage
                                                 : nullptr;
    if (!runCommand) {
        err << "corvane: unknown command '" << command << "'\n"
            << "Run 'corvane --help' for the list of commands.\n";
        return 2;
    }
    if (!programDataReadable(err))
        return 2;
    try {
        return runCommand(rest, out, err);
    } catch (const std::exception& failure) {
        // A failure nothing else handled ends the command with its message, never an abort.
        err << "corvane: " << failure.what() << "\n";
        return 2;
    }
}

} // namespace corvane::cli
