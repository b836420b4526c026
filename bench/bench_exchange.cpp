// Measures the translator exchange on a synthetic project of 400 forms x 50 controls with
// English and German help text: `corvane export` (PO and XLIFF), `corvane import` of a file
// whose every German text changed, and `corvane coverage`. Each command opens and scans the
// project, as it does from the command line. Prints the best of several runs.
#include "SyntheticProject.h"
#include "Timing.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "settings/ModMain.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <unistd.h>

using namespace corvane;
using bench::bestOf;
namespace fs = std::filesystem;

namespace {

constexpr int Runs = 5;

// Gives every control English and German text and saves the help data file.
bool writeHelpData(const fs::path& projectFile) {
    std::ostringstream out, err;
    cli::HeadlessSession session(out, err, false);
    if (!session.open(projectFile) || !session.editor())
        return false;
    ModMain& settings = session.addin().modMain();
    settings.newSelectedLanguages();
    for (const char* language : {"English", "German"})
        settings.SelectedLanguages->Add(language, language);
    settings.mPrimaryLanguage = "English";
    for (const auto& records : *session.editor()->formsData())
        for (const auto& record : *records) {
            record->SetHelpText("English", "Help for " + record->ControlName.str() + ".\r\nSecond line.");
            record->SetHelpText("German", "Hilfe zu " + record->ControlName.str() + ".\r\nZweite Zeile.");
        }
    return session.closeAndSave();
}

int command(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    int status = cli::run(arguments, out, err);
    if (status > 1)
        std::cerr << err.str();
    return status;
}

// Replaces every occurrence of `from` in `text`.
std::string replacedAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

int main() {
    constexpr int forms = 400;
    constexpr int controlsPerForm = 50;
    fs::path folder =
        fs::temp_directory_path() / ("corvane-bench-exchange-" + std::to_string(::getpid()));
    fs::path projectFile = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    ::setenv("CORVANE_REGISTRY", (folder / "registry.reg").c_str(), 1);
    if (!writeHelpData(projectFile)) {
        std::cerr << "the help data could not be written\n";
        return 1;
    }
    std::string project = projectFile.string();
    std::string po = (folder / "German.po").string(), xliff = (folder / "German.xlf").string();
    double exportPo = bestOf(Runs, [&] {
        command({"export", project, "--language", "German", "--format", "po", "-o", po});
    });
    double exportXliff = bestOf(Runs, [&] {
        command({"export", project, "--language", "German", "-o", xliff});
    });
    std::string changed =
        replacedAll(readFileBytes(po), "msgstr \"Hilfe zu ", "msgstr \"Neue Hilfe zu ");
    replaceFileAtomically(folder / "Changed.po", changed);
    fs::path dataFile = folder / "ContextHelp.txt";
    std::string data = readFileBytes(dataFile);
    double import = 1e9;
    for (int i = 0; i < Runs; ++i) {
        replaceFileAtomically(dataFile, data);
        import = std::min(import, bench::millisecondsOf([&] { command({"import", project, (folder / "Changed.po").string()});
    }));
}
double coverage = bestOf(Runs, [&] { command({"coverage", project, "--min", "90"}); });
double scan = bestOf(Runs, [&] { command({"scan", project, "--json"}); });

std::printf("exchange, %d forms x %d controls, English and German (best of %d)\n", forms,
            controlsPerForm, Runs);
std::printf("  export PO               %8.1f ms\n", exportPo);
std::printf("  export XLIFF            %8.1f ms\n", exportXliff);
std::printf("  import, all changed     %8.1f ms\n", import);
std::printf("  coverage                %8.1f ms\n", coverage);
std::printf("  scan --json (for scale) %8.1f ms\n", scan);
fs::remove_all(folder);
return 0;
}
