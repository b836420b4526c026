// Measures opening a project in the editor (start-up, menu command, scan of the project and
// of its help data file) and saving the help data (ExitApp), on a synthetic project of
// 400 forms x 50 controls with help text in three languages for every control. The baseline
// reads the same bytes from disk and parses the data file with pugixml alone, measured right
// before each run in the same process state. Prints the best of several runs, and the peak
// memory of a separate process that only opens and saves the project.
#include "SyntheticHelpData.h"
#include "SyntheticProject.h"
#include "Timing.h"

#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace corvane;
using bench::millisecondsOf;

// Runs of each measurement; the best counts. Timings on a shared machine vary a lot from run
// to run, so the best of several is the figure that measures the program rather than its
// neighbours. Fifteen: with nine, the best baseline alone still moved by a fifth between
// bench runs.
constexpr int Runs = 15;

namespace {

long peakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}


// Opens and saves the project once in this process and prints the process's peak memory in
// KiB: run in a process of its own, so that nothing but the session counts.
int measureSessionMemory(const std::filesystem::path& projectFile) {
    std::ostringstream sink;
    {
        cli::HeadlessSession session(sink, sink, false);
        if (!session.open(projectFile) || !session.closeAndSave())
            return 1;
    }
    std::printf("%ld\n", peakMemoryKiB());
    return 0;
}

// Runs this program again to measure one session's peak memory; 0 when that fails.
long sessionPeakMemoryKiB(const std::filesystem::path& projectFile) {
    std::string command = "'" + std::filesystem::read_symlink("/proc/self/exe").string() +
                          "' --session-memory '" + projectFile.string() + "'";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return 0;
    long kib = 0;
    if (std::fscanf(child, "%ld", &kib) != 1)
        kib = 0;
    return ::pclose(child) == 0 ? kib : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--session-memory")
        return measureSessionMemory(argv[2]);
    constexpr int forms = 400;
    constexpr int controlsPerForm = 50;
    auto folder = std::filesystem::temp_directory_path() / ("corvane-bench-open-" + std::to_string(::getpid()));
    auto projectFile = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    ::setenv("CORVANE_REGISTRY", (folder / "registry.reg").c_str(), 1);
    ::setenv("CORVANE_ERROR_LOG", (folder / "errors.log").c_str(), 1);
    bench::writeThreeLanguageHelpData(projectFile);
    auto dataFile = folder / "ContextHelp.txt";

    double baselineOpen = 1e9, open = 1e9, baselineSave = 1e9, save = 1e9;
    size_t records = 0;
    for (int run = 0; run < Runs; ++run) {
        baselineOpen = std::min(baselineOpen, millisecondsOf([&] {
            size_t bytes = 0;
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                if (entry.is_regular_file())
                    bytes += readFileBytes(entry.path()).size();
            pugi::xml_document document;
            document.load_file(dataFile.c_str());
            if (bytes == 0)
                std::abort();
        }));
        std::ostringstream sink;
        cli::HeadlessSession session(sink, sink, false);
        open = std::min(open, millisecondsOf([&] { session.open(projectFile); }));
        records = 0;
        for (const auto& module : *session.editor()->formsData())
            records += static_cast<size_t>(module->Count());

        std::string bytes = readFileBytes(dataFile);
        baselineSave = std::min(baselineSave, millisecondsOf([&] {
            pugi::xml_document document;
            document.load_buffer(bytes.data(), bytes.size());
            std::ostringstream text;
            document.save(text, "  ");
            replaceFileAtomically(folder / "baseline.txt", text.str());
        }));
        save = std::min(save, millisecondsOf([&] { session.closeAndSave(); }));
    }
    std::printf("project: %d forms x %d controls, %zu records with text in 3 languages, data file %zu bytes\n",
                forms, controlsPerForm, records, static_cast<size_t>(std::filesystem::file_size(dataFile)));
    std::printf("open (start-up + scan):  %8.1f ms   baseline (read bytes + pugixml parse): %8.1f ms   ratio %.2f\n",
                open, baselineOpen, open / baselineOpen);
    std::printf("save (ExitApp):          %8.1f ms   baseline (pugixml parse + write):      %8.1f ms   ratio %.2f\n",
                save, baselineSave, save / baselineSave);
    std::printf("peak memory of a process that opens and saves the project: %.1f MB\n",
                sessionPeakMemoryKiB(projectFile) / 1024.0);
    std::filesystem::remove_all(folder);
    return 0;
}
