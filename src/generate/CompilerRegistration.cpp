#include "generate/CompilerRegistration.h"

#include "generate/TextReplace.h"
#include "platform/ChildProcess.h"
#include "process/CommandLineSplit.h"
#include "process/ProcessRunner.h"
#include "registry/RegistryAccess.h"

#include <cstdlib>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

// What the association lookup makes of a command, split into program and arguments: the
// workshop's name, in any letter case, becomes the compiler's; the rest keeps its spelling.
std::vector<std::string> lookedUp(const std::string& command) {
    return splitWindowsCommandLine(replaceAllIgnoreCase(command, "hhw.exe", "hhc.exe"));
}

fs::path programFolder() {
    std::error_code error;
    const fs::path program = platform::currentProgramFile();
    return program.empty() ? fs::current_path(error) : program.parent_path();
}

} // namespace

fs::path helpCompilerFolder() {
    if (const char* value = std::getenv("CORVANE_HELP_COMPILERS"); value != nullptr && *value != '\0')
        return value;
    fs::path bin = programFolder();
    std::error_code error;
    fs::path installed = bin.parent_path() / "lib" / "corvane" / "helpcompilers";
    if (fs::is_directory(installed, error))
        return installed;
    return bin / "helpcompilers";
}

std::optional<std::string> workshopCommand(const fs::path& folder) {
    std::string workshop = (folder / "hhw.exe").string();
    bool hasQuote = workshop.find('"') != std::string::npos;
    bool hasBlank = workshop.find_first_of(" \t") != std::string::npos;
    if (hasQuote && hasBlank)
        return std::nullopt;
    std::string command = (hasQuote ? workshop : "\"" + workshop + "\"") + " %1";
    auto parts = lookedUp(command);
    if (parts.size() != 2 || parts[0] != (folder / "hhc.exe").string() || parts[1] != "%1")
        return std::nullopt;
    return command;
}

std::optional<std::string> frontEndCommand(const fs::path& folder, CompilerRegistrationResult& why) {
    auto command = workshopCommand(folder);
    std::error_code error;
    if (!command)
        why = CompilerRegistrationResult::FolderUnusable;
    else if (!fs::is_regular_file(folder / "hhc.exe", error))
        why = CompilerRegistrationResult::FrontEndMissing;
    else
        return command;
    return std::nullopt;
}

void writeHtmlHelpAssociation(RegistryAccess& registry, const std::string& command) {
    for (auto key : {HhpClassKey, HhpShellKey, HhpOpenKey, HhpCommandKey})
        registry.CreateKey(RegistryRoot::LocalMachine, key);
    registry.SetValue(RegistryRoot::LocalMachine, HhpCommandKey, "", command, REG_SZ);
}

CompilerRegistrationResult registerHtmlHelpCompiler(RegistryAccess& registry, const fs::path& folder) {
    if (!registry.GetValue(RegistryRoot::LocalMachine, HhpCommandKey, "").empty())
        return CompilerRegistrationResult::KeptExisting;
    CompilerRegistrationResult result = CompilerRegistrationResult::Registered;
    if (auto command = frontEndCommand(folder, result))
        writeHtmlHelpAssociation(registry, *command);
    return result;
}

std::string commandProgram(std::string_view command) {
    auto parts = splitWindowsCommandLine(command);
    return parts.empty() ? std::string() : parts.front();
}

bool commandCanStart(std::string_view command) { return ProcessRunner::CanStart(commandProgram(command)); }

CompilerRegistrationResult registerHtmlHelpCompiler() {
    return registerHtmlHelpCompiler(registry(), helpCompilerFolder());
}

std::string registrationProblem(CompilerRegistrationResult result, const fs::path& folder) {
    switch (result) {
    case CompilerRegistrationResult::FolderUnusable:
        return "The HTML Help compiler front end in \"" + folder.string() +
               "\" cannot be registered: the association lookup needs a folder without \"hhw.exe\" "
               "in its name and without both quotes and blanks.";
    case CompilerRegistrationResult::FrontEndMissing:
        return "The HTML Help compiler front end \"" + (folder / "hhc.exe").string() + "\" does not exist.";
    case CompilerRegistrationResult::Registered:
    case CompilerRegistrationResult::KeptExisting:
        break;
    }
    return {};
}

} // namespace corvane
