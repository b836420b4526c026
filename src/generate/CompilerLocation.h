// CompilerLocation: finding the help compilers through the file associations of their
// project files, and the file dialog that asks for a compiler the association does not name.
//
// The association of a kind of help project normally runs the authoring workshop
// ("hhw.exe" for HTML Help, "hcw.exe" for WinHelp); the compiler ("hhc.exe", "hcrtf.exe")
// lies in the same folder. frmWizard's GetCompilerPath (editor/FrmWizardCompiler.cpp) turns the
// association's command into the compiler's command template, or asks the user for the
// compiler and rewrites the association so that the next lookup finds it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

namespace controls {
class FileDialog;
}

// What GetCompilerPath needs to know of one kind of help compiler.
struct CompilerKind {
    std::string_view classKey;   // association class key under HKEY_LOCAL_MACHINE
    std::string_view shellKey;   // its "shell" key
    std::string_view openKey;    // its "shell\open" key
    std::string_view commandKey; // its "shell\open\command" key (the default value is the command)
    std::string_view lookFor;    // the workshop program the association names
    std::string_view replaceWith; // the compiler program in the same folder
    int16_t prompt;              // string table entry of the question before the dialog
    int16_t title;               // string table entry of the message's and the dialog's title
    std::string_view filterSuffix; // appended to the title to make the dialog's filter
};

// The HTML Help compiler (hhc.exe) and the WinHelp compiler (hcrtf.exe).
const CompilerKind& htmlHelpCompilerKind();
const CompilerKind& winHelpCompilerKind();

// Shows the file dialog `cdlg` with the title `Caption` and the filter `Filter`, starting at
// `InitPath` (a full path, or "" for none); with `Existing` only an existing file can be
// chosen. Returns the chosen file's path, or "" when the dialog was cancelled.
std::string GetFileName(controls::FileDialog& cdlg, const std::string& Caption, const std::string& Filter,
                        const std::string& InitPath, const bool& Existing);

} // namespace corvane
