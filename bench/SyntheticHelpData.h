// SyntheticHelpData: gives every control of a benchmark project help text in three languages
// and saves the project's data file once, through the program's own save; sets a project up
// for a compile that generates both help formats without running the compilers.
#pragma once

#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <filesystem>
#include <sstream>
#include <string>

namespace corvane::bench {

// Writes English, German and French help text for every control of the project and saves it;
// `primary`, when given, becomes the primary language.
inline void writeThreeLanguageHelpData(const std::filesystem::path& projectFile, const char* primary = nullptr) {
    std::ostringstream sink;
    cli::HeadlessSession session(sink, sink, false);
    session.open(projectFile);
    ModMain& settings = session.addin().modMain();
    settings.SelectedLanguages->Clear();
    for (const char* language : {"English", "German", "French"})
        settings.SelectedLanguages->Add(language, language);
    if (primary)
        settings.mPrimaryLanguage = primary;
    int n = 0;
    for (const auto& module : *session.editor()->formsData())
        for (const auto& record : *module) {
            ++n;
            record->SetHelpText("English", "Explains control " + std::to_string(n) + " of the form & <what> it does.");
            record->SetHelpText("German", "Erklärt das Steuerelement " + std::to_string(n) + " und was es tut.");
            record->SetHelpText("French", "Explique le contrôle " + std::to_string(n) + " et ce qu'il fait.");
        }
    session.closeAndSave();
}

// Turns generation of both help formats on and compiling off, saved in the data file, so that a
// compile measures the program's own work.
inline void generateWithoutCompilers(const std::filesystem::path& projectFile) {
    std::ostringstream sink;
    cli::HeadlessSession session(sink, sink, false);
    session.open(projectFile);
    ModMain& settings = session.addin().modMain();
    settings.mGenerateHTML = settings.mGenerateWinHelp = true;
    settings.mCompileHTML = settings.mCompileWinHelp = false;
    settings.mPrimaryLanguage = "English";
    session.closeAndSave();
}

} // namespace corvane::bench
