// Measures the help file creation run for a synthetic project of 400 forms x 50 controls in
// three languages (HTML Help and WinHelp projects written, compilers off) against writing
// the same bytes into the same files through AtomicFile (as the program writes every file)
// and through plain streams. Prints the best of several runs and the ratios.
#include "SyntheticProject.h"
#include "Timing.h"

#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "settings/ModMain.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace corvane;
using bench::bestOf;
namespace fs = std::filesystem;

namespace {

// Every generated file with its bytes.
std::map<fs::path, std::string> generatedFiles(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "Corvane"))
        if (entry.is_regular_file())
            files[entry.path()] = readFileBytes(entry.path());
    return files;
}

// Help text in each language, so every record gets a topic.
void addHelpTexts(FrmWizard& editor, const std::vector<std::string>& languages) {
    int n = 0;
    for (const auto& records : *editor.formsData())
        for (const auto& record : *records)
            for (const std::string& language : languages)
                record->SetHelpText(language, language + " help for " + record->ControlName.str() + " number " +
                                                  std::to_string(++n) + ": press {F1} \\ read on.");
}

} // namespace

// Runs of each measurement; the best counts (timings on a shared machine vary a lot).
constexpr int Runs = 9;

int main() {
    constexpr int forms = 400;
    constexpr int controlsPerForm = 50;
    const std::vector<std::string> languages = {"English", "German", "French"};
    fs::path folder = fs::temp_directory_path() / ("corvane-bench-generate-" + std::to_string(::getpid()));
    fs::path projectFile = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    ::setenv("CORVANE_REGISTRY", (folder / "registry.reg").c_str(), 1);

    std::ostringstream out, err;
    cli::HeadlessSession session(out, err, false);
    if (!session.open(projectFile) || !session.editor()) {
        std::cerr << "the project did not open: " << err.str();
        return 1;
    }
    FrmWizard& editor = *session.editor();
    ModMain& settings = session.addin().modMain();
    settings.newSelectedLanguages();
    for (const std::string& language : languages)
        settings.SelectedLanguages->Add(language, language);
    settings.mPrimaryLanguage = languages.front();
    settings.mGenerateHTML = settings.mGenerateWinHelp = true;
    settings.mCompileHTML = settings.mCompileWinHelp = false;
    addHelpTexts(editor, languages);

    double generate = bestOf(Runs, [&] { editor.CreateHelpFiles(); });
    if (session.reportsMade() != 0) {
        std::cerr << "the run made error reports: " << err.str();
        return 1;
    }
    auto files = generatedFiles(folder);
    size_t bytes = 0;
    for (const auto& [path, content] : files)
        bytes += content.size();
    double atomic = bestOf(Runs, [&] {
        for (const auto& [path, content] : files)
            replaceFileAtomically(path, content);
    });
    double plain = bestOf(Runs, [&] {
        for (const auto& [path, content] : files)
            std::ofstream(path, std::ios::binary | std::ios::trunc).write(content.data(),
                                                                            static_cast<std::streamsize>(content.size()));
    });

    std::printf("generate %d languages, %d forms x %d controls: %zu files, %zu bytes\n",
                static_cast<int>(languages.size()), forms, controlsPerForm, files.size(), bytes);
    std::printf("  creation run            %8.1f ms\n", generate);
    std::printf("  same bytes, AtomicFile  %8.1f ms   (run / this = %.2f)\n", atomic, generate / atomic);
    std::printf("  same bytes, ofstream    %8.1f ms   (run / this = %.2f)\n", plain, generate / plain);
    fs::remove_all(folder);
    return 0;
}
