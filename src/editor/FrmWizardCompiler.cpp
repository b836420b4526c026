// frmWizard: locating a help compiler (GetCompilerPath) through the association of its
// project files (CompilerLocation.h), asking the user for it when the association names none.
#include "addin/StringTable.h"
#include "controls/WindowSystem.h"
#include "editor/FrmWizard.h"
#include "generate/CompilerLocation.h"
#include "generate/CompilerRegistration.h"
#include "generate/TextReplace.h"
#include "registry/RegistryAccess.h"

namespace corvane {

std::string FrmWizard::GetCompilerPath(bool HHC) {
    std::string s;
    std::string Caption;
    std::string Filter;
    std::string command;
    ErrorScope scope("frmWizard", "GetCompilerPath");
    scope.moduleVariables(*this).parameters({watch("HHC", HHC)}).locals(
        {watch("s", s), watch("Caption", Caption), watch("Filter", Filter), watch("command", command)});
    return scope.run([&]() -> std::string {
        const CompilerKind& kind = HHC ? htmlHelpCompilerKind() : winHelpCompilerKind();
        RegistryAccess& reg = registry();
        s = reg.GetValue(RegistryRoot::LocalMachine, kind.commandKey, "");
        // The workshop's name is matched in any letter case; the rest of the command, the
        // folder above all, keeps its own spelling.
        const bool namesWorkshop = containsIgnoreCase(s, kind.lookFor);
        command = namesWorkshop ? replaceAllIgnoreCase(s, kind.lookFor, kind.replaceWith) : s;
        if (namesWorkshop && commandCanStart(command))
            return command;
        // An association whose program is gone (moved, deleted) leads to our own front end.
        if (HHC && !s.empty() && !commandCanStart(command)) {
            std::string ours = scope.value([&] { return replaceStaleAssociation(commandProgram(command)); });
            if (!ours.empty())
                return ours;
        }

        // With no WinHelp compiler associated at all (always so outside Windows) there is no
        // file to correct: the run says so once, without asking for one.
        if (!HHC && s.empty())
            return std::string();

        Caption = LoadResString(kind.title);
        Filter = Caption + std::string(kind.filterSuffix);
        controls::WindowSystem::get().MsgBox(LoadResString(kind.prompt), controls::vbExclamation + controls::vbOKOnly,
                                             Caption);
        const bool existing = true;
        s = GetFileName(FileDialog(), Caption, Filter, std::string(), existing);
        if (s.empty())
            return std::string();

        command = quotedArgument(replaceAllIgnoreCase(s, kind.replaceWith, kind.lookFor)) + " %1";
        for (std::string_view key : {kind.classKey, kind.shellKey, kind.openKey, kind.commandKey})
            ErrorScope::ignoringFailures([&] { reg.CreateKey(RegistryRoot::LocalMachine, key); });
        scope.step([&] { reg.SetValue(RegistryRoot::LocalMachine, kind.commandKey, "", command, REG_SZ); });
        // The chosen file as it was chosen: the association names the workshop beside it.
        return quotedArgument(s) + " %1";
    });
}

// Points the association of HTML Help project files at our compiler front end, when it
// exists, in place of an association whose program `gone` no longer exists, and says so in the
// compile log; the front end's command template, or "" when there is none to point at.
std::string FrmWizard::replaceStaleAssociation(const std::string& gone) {
    const std::filesystem::path folder = helpCompilerFolder();
    CompilerRegistrationResult why = CompilerRegistrationResult::Registered;
    auto association = frontEndCommand(folder, why);
    if (!association)
        return std::string();
    writeHtmlHelpAssociation(registry(), *association);
    const std::string frontEnd = (folder / "hhc.exe").string();
    compileNotes_ += "Note: The HTML Help compiler \"" + gone +
                     "\" named by the association of HTML Help project files no longer exists; the "
                     "association now names the compiler front end \"" + frontEnd + "\".\n";
    return replaceAllIgnoreCase(*association, htmlHelpCompilerKind().lookFor, htmlHelpCompilerKind().replaceWith);
}

} // namespace corvane
