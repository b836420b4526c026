// CompilerRegistration: makes the association lookup for HTML Help project files find our
// compiler front end, as an installer would on first use.
//
// The lookup reads the open command of HTML Help project files, replaces "hhw.exe" (the
// authoring workshop, in any letter case) by "hhc.exe" (the compiler), keeping the spelling of
// everything else, and runs that, with "%1" replaced by the quoted project path. Our front end
// is a program named "hhc.exe" in a folder of ours that runs chmcmd; so the association we
// write names "hhw.exe" in that folder. An association the user has set is not touched here;
// the lookup replaces one whose program no longer exists (editor/FrmWizardCompiler.cpp).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class RegistryAccess;

// The association keys of HTML Help project files under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view HhpClassKey = "SOFTWARE\\Classes\\hhp.file";
inline constexpr std::string_view HhpShellKey = "SOFTWARE\\Classes\\hhp.file\\shell";
inline constexpr std::string_view HhpOpenKey = "SOFTWARE\\Classes\\hhp.file\\shell\\open";
inline constexpr std::string_view HhpCommandKey = "SOFTWARE\\Classes\\hhp.file\\shell\\open\\command";

// What registering did.
enum class CompilerRegistrationResult {
    Registered,      // the association was empty and now names our workshop program
    KeptExisting,    // an association was already set (by the user or an earlier run)
    FolderUnusable,  // the lookup could not turn a command for this folder into our front end
    FrontEndMissing, // the folder holds no "hhc.exe"
};

// The folder of our compiler front end: $CORVANE_HELP_COMPILERS when set; else
// <program dir>/../lib/corvane/helpcompilers when it exists (installed); else
// <program dir>/helpcompilers (the build tree's bin folder).
std::filesystem::path helpCompilerFolder();

// The association command naming the workshop program of `folder`: `"<folder>/hhw.exe" %1`,
// or `<folder>/hhw.exe %1` for a folder holding a double quote but no blank. Nothing when the
// lookup would not turn it into exactly `<folder>/hhc.exe` and "%1": a folder with "hhw.exe"
// in its name (any letter case), or with both quotes and blanks (a Windows command line
// cannot hold that program name). Capital letters are no trouble.
std::optional<std::string> workshopCommand(const std::filesystem::path& folder);

// The association command for our front end in `folder` when it can be written there (the
// folder is usable and holds "hhc.exe"); else nothing, and `why` says what is wrong.
std::optional<std::string> frontEndCommand(const std::filesystem::path& folder, CompilerRegistrationResult& why);

// Creates the four association keys and sets the command key's default value to `command`.
// Raises VbError from the registry store.
void writeHtmlHelpAssociation(RegistryAccess& registry, const std::string& command);

// Writes the association for `folder` when the open command is empty: creates the four keys
// and sets the command key's default value. Raises VbError from the registry store.
CompilerRegistrationResult registerHtmlHelpCompiler(RegistryAccess& registry,
                                                    const std::filesystem::path& folder);

// The program a command line starts: its first part, split by the Windows rules ("" for none).
std::string commandProgram(std::string_view command);
// True when the program of the command line can be started (ProcessRunner::CanStart).
bool commandCanStart(std::string_view command);

// registerHtmlHelpCompiler with the program's registry and helpCompilerFolder().
CompilerRegistrationResult registerHtmlHelpCompiler();

// A sentence for the compile output or a log that says why nothing was registered ("" for
// Registered and KeptExisting).
std::string registrationProblem(CompilerRegistrationResult result, const std::filesystem::path& folder);

} // namespace corvane
