#include "cli/CommandLine.h"

#include "cli/AddinCommand.h"
#include "cli/CompileCommand.h"
#include "cli/CoverageCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/SpellCommand.h"
#include "files/AppPaths.h"
#include "files/FileReading.h"
#include "files/Notice.h"
#include "vbruntime/VbError.h"

#include <new>
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
    return "Usage: corvane [--help] [--version] [COMMAND [ARGUMENTS]]\n"
           "\n"
           "Manages the popup (\"What's This\") help text of Visual Basic 6 projects.\n"
           "Without a command, corvane opens its project window (a display is needed).\n"
           "\n"
           "Commands:\n"
           "  scan PROJECT.vbp [--json] [--save]\n"
           "      Reads the project and its help data file (ContextHelp.txt beside the project)\n"
           "      and prints what the editor holds: languages, modules, controls, help text.\n"
           "      --json   print it as one JSON object\n"
           "      --save   then close and save as the editor's close box does: rewrites\n"
           "               ContextHelp.txt (the help text of controls and modules that\n"
           "               are gone is kept, marked \"gone\" in --json), stores the editor's\n"
           "               layout settings and saves the project's changed files (the\n"
           "               project file lists ContextHelp.txt)\n"
           "      Without --save nothing on disk changes.\n"
           "      Exit status: 0 done; 1 the project could not be opened, a module's designer\n"
           "      could not be read (a line names it), an error was reported or the save\n"
           "      failed; 2 wrong arguments.\n"
           "\n"
           "  compile PROJECT.vbp [--yes] [--time-limit SECONDS]\n"
           "      Generates the help projects of every selected language in the folder\n"
           "      \"Corvane\" beside the project and compiles them as the options ask; then\n"
           "      saves ContextHelp.txt with every context number handed out, writes the\n"
           "      numbers into the project's form and user control files, copies the primary\n"
           "      language's help file beside the project (one not produced leaves the one\n"
           "      there and the project's setting as they were) and writes the project file\n"
           "      (its help file setting), in that order. A file another program (the VB6\n"
           "      IDE) saved meanwhile gets the changes written onto its new version; where\n"
           "      that program changed what the compile changes too, no form and not the\n"
           "      project file is written, and a line names the file.\n"
           "      Message boxes and the compile log are printed; questions are answered No.\n"
           "      --yes    answer Yes to the questions instead\n"
           "      --time-limit SECONDS   stop a help compiler that runs longer (0: never;\n"
           "               the default is the options' limit, 10 minutes unless set); a\n"
           "               compiler stopped so is named, and its files count as not produced\n"
           "      Exit status: 0 every file the options ask for was produced and saved, and\n"
           "      the primary language's help file was placed beside the project; 1 the\n"
           "      project could not be opened, a module's designer could not be read, a\n"
           "      file was not produced or placed (a line names each one), an error was\n"
           "      reported or the save failed; 2 wrong arguments.\n"
           "\n"
           "  spell PROJECT.vbp [--language NAME]\n"
           "      Checks the spelling of the help text of every selected language (or of NAME\n"
           "      only). Prints one line for each questioned word and a count, changing nothing:\n"
           "        MODULE CONTROL LANGUAGE: \"WORD\" -> SUGGESTION, SUGGESTION\n"
           "        Questioned words: N\n"
           "      Exit status: 0 no word was questioned; 1 a word was; 2 it could not check\n"
           "      (wrong arguments, project not opened or its scan failed, unknown language,\n"
           "      dictionary missing).\n"
           "\n"
           "  edit PROJECT.vbp [--screenshot FILE.png [SET-UP OPTIONS]]\n"
           "      Opens the project and its help text editor (a display is needed). Closing the\n"
           "      editor with its close box saves ContextHelp.txt and the editor's settings.\n"
           "      --screenshot FILE.png   save a picture of the editor to FILE.png and exit;\n"
           "               no user is asked: every message is printed to standard error with\n"
           "               its default answer, and without a display none is needed.\n"
           "               The project and its help data are not saved.\n"
           "      With --screenshot, these set the editor up before the picture:\n"
           "      --module NAME           select a module\n"
           "      --view table|card       the grid's view\n"
           "      --group-by COLUMN       group the grid by a column (ControlType, ...)\n"
           "      --during spellcheck     picture the spell check's first question\n"
           "      --during compile        picture the help file creation under way; this\n"
           "               run writes what compile writes (see above)\n"
           "      --during preview        picture the editor with the layout preview beside it\n"
           "      --during save           save the help text and picture the error report\n"
           "               over the editor should the save fail (no error: exit status 1)\n"
           "      Exit status: 0 done (or the window was closed); 1 the project could not be\n"
           "      opened or the picture not written; 2 wrong arguments or no display.\n"
           "\n"
           "  preview PROJECT.vbp --module NAME -o FILE.png [--language NAME]\n"
           "      Draws the layout of a form to FILE.png, marking the controls that have help\n"
           "      text in the language (the current one unless NAME). Writes only FILE.png,\n"
           "      which is never a file of the project, a folder, a device or a FIFO, nor\n"
           "      Corvane's own lock, marker or recovery files.\n"
           "      Exit status: 0 written; 1 the designer could not be read (a picture saying\n"
           "      why is still written) or the file not written; 2 wrong arguments, unknown\n"
           "      module or language.\n"
           "\n"
           "  addin register|unregister\n"
           "      Windows only: registers the VB6 add-in (corvane-addin.dll beside corvane.exe)\n"
           "      for the current user, so that the VB6 IDE shows \"Corvane ...\" in its\n"
           "      Add-Ins menu, or removes it again, through the system's regsvr32.\n"
           "      Exit status: 0 done; 1 regsvr32 failed; 2 wrong arguments, not Windows, or\n"
           "      no add-in beside the program.\n"
           "\n"
           "Translation (XLIFF 1.2 or gettext PO files for translators' tools):\n"
           "  export PROJECT.vbp --language NAME [--format xliff|po] [-o FILE]\n"
           "      Writes one unit per control with help text in the primary language (source)\n"
           "      and NAME's text (target) to FILE, or to standard output. Writes only FILE,\n"
           "      which is never a file of the project, a folder, a device or a FIFO, nor\n"
           "      Corvane's own lock, marker or recovery files.\n"
           "      Exit status: 0 written; 2 wrong arguments (FILE one of those above),\n"
           "      project not opened or its scan failed, nothing to export (then no FILE is\n"
           "      written), or FILE could not be written.\n"
           "\n"
           "  import PROJECT.vbp FILE [--dry-run]\n"
           "      Brings a translated file back: changes only the file's language in\n"
           "      ContextHelp.txt, and only where the primary text is still the exported\n"
           "      source; lists what it changed and what it skipped, and why.\n"
           "      --dry-run   list what would change and write nothing\n"
           "      FILE is read as a stream in the encoding it declares (XLIFF: UTF-8, UTF-16,\n"
           "      ISO-8859-1; PO: UTF-8); it must be a regular file of at most 1 GB.\n"
           "      Exit status: 0 nothing skipped; 1 a unit was skipped (conflict, unknown\n"
           "      unit); 2 nothing imported (wrong arguments, project not opened or its scan\n"
           "      failed, a file for another project or language or for the primary\n"
           "      language, a malformed file or one in another encoding, a file that is no\n"
           "      regular file or is too large, the data file not writable).\n"
           "\n"
           "  coverage PROJECT.vbp [--language NAME] [--json] [--min PERCENT]\n"
           "      Counts the controls with and without help text, per module and language,\n"
           "      and lists those without. Changes nothing. A module whose designer could\n"
           "      not be read is marked; its controls are those its help text names.\n"
           "      Exit status: 0 done; 1 a language is below PERCENT; 2 wrong arguments,\n"
           "      project not opened or its scan failed.\n"
           "\n"
           "What the scan shows in a message box (a module that could not be read, a\n"
           "damaged settings file) is printed; export, import, coverage and spell print it\n"
           "as a warning on standard error and go on with what was read. Commands that\n"
           "change nothing (scan without --save, coverage, export, preview, spell) write no\n"
           "file besides the one they are asked to write, not even the error log: what they\n"
           "would log is printed on standard error.\n"
           "\n"
           "Every command that reads a project also takes:\n"
           "  --codepage N   read the project's files (project, forms, .frx texts) in the\n"
           "               Windows code page N (874, 932, 936, 949, 950, 1250 to 1258 ...)\n"
           "               instead of the one detected from them (1252 where they leave\n"
           "               doubt). A command that saves ContextHelp.txt stores N there\n"
           "               (CodePage=\"N\"), so that later runs and the editor read so too.\n"
           "\n"
           "Options:\n"
           "  --help      show this text and exit (status 0)\n"
           "  --version   show the program's version and exit (status 0)\n"
           "An unknown command exits with status 2, and so does a command that runs out of\n"
           "memory or fails in a way no status above names (with a message saying why).\n";
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
    if (command == "addin") // the add-in's registration reads no project and no program data
        return runAddin(rest, out, err);
    if (command == "preview") {
        err << "corvane: 'preview' draws with Qt; this program was built without the desktop program\n";
        return 2;
    }
    if (!runCommand) {
        err << "corvane: unknown command '" << command << "'\n"
            << "Run 'corvane --help' for the list of commands.\n";
        return 2;
    }
    if (!programDataReadable(err))
        return 2;
    // Notes on the side (a stale lock taken over) go where the command's messages go.
    struct NoticesTo {
        explicit NoticesTo(std::ostream& err)
            : previous(setNoticeSink([&err](const std::string& text) { err << "corvane: note: " << text << "\n"; })) {}
        ~NoticesTo() { setNoticeSink(std::move(previous)); }
        NoticeSink previous;
    } notices(err);
    try {
        return runCommand(rest, out, err);
    } catch (const std::bad_alloc&) {
        err << "corvane: out of memory: the command needed more memory than the system gives it; it "
               "ended without finishing\n";
        return 2;
    } catch (const std::exception& failure) {
        // A failure nothing else handled ends the command with its message, never an abort.
        err << "corvane: " << failure.what() << "\n";
        return 2;
    }
}

} // namespace corvane::cli
