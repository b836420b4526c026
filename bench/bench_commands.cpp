// Measures the command-line program as a user runs it: `corvane scan`, `scan --json` and
// `scan --save` on a synthetic project of 400 forms x 50 controls with help text in three
// languages, each run a fresh process. The baselines run as processes of their own too, cold:
// open = read every file of the project + pugixml parse of the data file + a walk over its
// nodes; save = the parsed data file serialised by pugixml, written to a temporary file,
// flushed to disk and renamed. The best of several runs counts; for each command the page
// faults (minor, getrusage) and the peak memory (maxrss) of its best run are shown.
// Save is `scan --save` after one change of the data file, minus the best `corvane scan`.
// Then the same open on a project shaped like a large real one (546 designers, 13,876 controls,
// long code sections after the designer blocks; see writeRealisticProject), with help text in
// three languages too.
// Then each command a user runs, five times, on a real-shaped project (see RealShapedProject.h):
// `scan`, `compile --yes` with nothing to change (the compilers off, so that the figure is the
// program's own work), `export` and `edit --screenshot` (the editor opened offscreen); each run
// is printed with its time and peak memory against the goals of a project of that size.
// With --real-shaped only that part runs. With --keep the projects stay in the temporary
// folder (their names are printed) for a profiler.
#include "ProcessMeasure.h"
#include "RealShapedProject.h"
#include "SyntheticHelpData.h"
#include "SyntheticProject.h"

#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "settings/ModMain.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corvane;
using bench::Measure;
namespace fs = std::filesystem;

constexpr int Runs = 9;
constexpr int RealShapedRuns = 5;

namespace {

// The cold baseline of opening: every file read, the data file parsed and walked.
int baselineOpen(const fs::path& folder) {
    size_t bytes = 0, attributes = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != "ContextHelp.txt")
            bytes += readFileBytes(entry.path()).size();
    std::string data = readFileBytes(folder / "ContextHelp.txt");
    pugi::xml_document document;
    document.load_buffer(data.data(), data.size());
    for (pugi::xml_node node : document.document_element().children())
        for (pugi::xml_node item : node.children()) {
            for (pugi::xml_attribute attribute : item.attributes())
                attributes += *attribute.value() ? 1 : 0;
            for (pugi::xml_node text : item.children())
                attributes += *text.child_value() ? 1 : 0;
        }
    return bytes > 0 && attributes > 0 ? 0 : 1;
}

// The cold baseline of saving: the parsed file serialised, written, flushed and renamed; prints
// the milliseconds of that part.
int baselineSave(const fs::path& folder) {
    pugi::xml_document document;
    document.load_file((folder / "ContextHelp.txt").c_str());
    auto start = std::chrono::steady_clock::now();
    std::ostringstream text;
    document.save(text, "  ");
    replaceFileAtomically(folder / "baseline.txt", text.str());
    std::printf("%f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    return 0;
}


// One change the save must write: an attribute spaced as the program never writes it.
void changeDataFile(const fs::path& file) {
    std::string bytes = readFileBytes(file);
    size_t at = bytes.find("<HelpText Language=");
    bytes.insert(at + 9, " ");
    replaceFileAtomically(file, bytes);
}


// The synthetic project of 400 forms: open, scan --json and save against their cold baselines.
void measureSynthetic(const std::string& self, const std::string& corvane, bool keep) {
    auto folder = fs::temp_directory_path() / ("corvane-bench-commands-" + std::to_string(::getpid()));
    auto projectFile = bench::writeSyntheticProject(folder, 400, 50);
    bench::writeThreeLanguageHelpData(projectFile);
    const fs::path data = folder / "ContextHelp.txt";
    const std::string vbp = projectFile.string();

    Measure openBase, scan, json, saveBase, save, unchangedSave;
    for (int run = 0; run < Runs; ++run) {
        bench::runProcess({self, "--baseline-open", folder.string()}, openBase);
        bench::runProcess({corvane, "scan", vbp}, scan);
        bench::runProcess({corvane, "scan", vbp, "--json"}, json);
        double reported = 0;
        bench::runProcess({self, "--baseline-save", folder.string()}, saveBase, &reported);
        changeDataFile(data);
        bench::runProcess({corvane, "scan", vbp, "--save"}, save);
        bench::runProcess({corvane, "scan", vbp, "--save"}, unchangedSave); // nothing to write
    }
    std::printf("project: 400 forms x 50 controls, 3 languages, data file %zu bytes; best of %d runs\n",
                static_cast<size_t>(fs::file_size(data)), Runs);
    bench::printComparison("open (corvane scan)", scan, openBase);
    bench::printComparison("corvane scan --json", json, openBase);
    Measure saveOnly = save;
    saveOnly.ms = save.ms - scan.ms;
    bench::printComparison("save (scan --save - scan)", saveOnly, saveBase);
    std::printf("  scan --save: %.1f ms in all; with nothing changed: %.1f ms, %ld faults, %.1f MB peak\n", save.ms,
                unchangedSave.ms, unchangedSave.minorFaults, unchangedSave.peakKiB / 1024.0);
    if (keep)
        std::printf("project kept in %s\n", folder.c_str());
    else
        fs::remove_all(folder);
}

// The large project of long code sections: its open against the cold baseline.
void measureLargeSynthetic(const std::string& self, const std::string& corvane, bool keep) {
    auto realFolder = fs::temp_directory_path() / ("corvane-bench-realistic-" + std::to_string(::getpid()));
    auto realProject = bench::writeRealisticProject(realFolder);
    bench::writeThreeLanguageHelpData(realProject);
    Measure realBase, realScan;
    for (int run = 0; run < Runs; ++run) {
        bench::runProcess({self, "--baseline-open", realFolder.string()}, realBase);
        bench::runProcess({corvane, "scan", realProject.string()}, realScan);
    }
    size_t formBytes = 0;
    for (const auto& entry : fs::directory_iterator(realFolder))
        if (entry.path().extension() == ".frm")
            formBytes += static_cast<size_t>(entry.file_size());
    std::printf("large real-shaped project: 546 designers, 13876 controls, forms %zu bytes, data file %zu bytes\n",
                formBytes, static_cast<size_t>(fs::file_size(realFolder / "ContextHelp.txt")));
    bench::printComparison("open large (corvane scan)", realScan, realBase);
    if (keep)
        std::printf("large project kept in %s\n", realFolder.c_str());
    else
        fs::remove_all(realFolder);
}

// One command on the real-shaped project: its goal and the worst of its runs so far.
struct CommandGoal {
    const char* name;
    std::vector<std::string> arguments;
    double goalMs;
    Measure worst{0, 0, 0};
    bool met = true;
};

// The commands a user runs on a project like the real ones, each run printed against its goals:
// a time on 2 cores, and a peak of at most the project's bytes + 64 MB.
void measureRealShaped(const std::string& corvane, bool keep) {
    auto folder = fs::temp_directory_path() / ("corvane-bench-real-shaped-" + std::to_string(::getpid()));
    const bench::RealShape shape;
    const std::string vbp = bench::writeRealShapedProject(folder, shape).string();
    bench::writeThreeLanguageHelpData(vbp);
    bench::generateWithoutCompilers(vbp);
    Measure first;
    bench::runProcess({corvane, "compile", vbp, "--yes"}, first); // numbers handed out: later ones change nothing
    const size_t bytes = bench::projectBytes(folder);
    const long peakGoalKiB = static_cast<long>(bytes / 1024) + 64 * 1024;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string exported = (folder / "German.xlf").string(), picture = (folder / "editor.png").string();
    std::vector<CommandGoal> commands = {
        {"scan", {corvane, "scan", vbp}, 600},
        {"compile --yes (unchanged)", {corvane, "compile", vbp, "--yes"}, 1500},
        {"export", {corvane, "export", vbp, "--language", "German", "-o", exported}, 800},
        {"edit --screenshot", {corvane, "edit", vbp, "--screenshot", picture}, 2000},
    };
    std::printf("real-shaped project: %d forms in a folder of %d files, %d in another; %zu bytes read "
                "(peak goal %.1f MB); %d runs\n",
                shape.mainForms, shape.mainFolderFiles, shape.secondForms, bytes, peakGoalKiB / 1024.0,
                RealShapedRuns);
    for (int run = 1; run <= RealShapedRuns; ++run)
        for (CommandGoal& command : commands) {
            Measure one;
            bench::runProcess(command.arguments, one);
            const bool met = one.ms <= command.goalMs && one.peakKiB <= peakGoalKiB;
            command.met = command.met && met;
            command.worst = {std::max(command.worst.ms, one.ms), 0, std::max(command.worst.peakKiB, one.peakKiB)};
            std::printf("  run %d %-26s %8.1f ms (goal %6.0f)  %7.1f MB peak  %s\n", run, command.name, one.ms,
                        command.goalMs, one.peakKiB / 1024.0, met ? "met" : "MISSED");
        }
    for (const CommandGoal& command : commands)
        std::printf("%-28s worst %8.1f ms  %7.1f MB peak  goals %s in every run\n", command.name, command.worst.ms,
                    command.worst.peakKiB / 1024.0, command.met ? "met" : "NOT met");
    if (keep)
        std::printf("real-shaped project kept in %s\n", folder.c_str());
    else
        fs::remove_all(folder);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--baseline-open")
        return baselineOpen(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--baseline-save")
        return baselineSave(argv[2]);
    bool keep = false, realShapedOnly = false;
    for (int i = 1; i < argc; ++i) {
        keep = keep || std::string(argv[i]) == "--keep";
        realShapedOnly = realShapedOnly || std::string(argv[i]) == "--real-shaped";
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string corvane = (self.parent_path().parent_path() / "bin" / "corvane").string();
    auto settings = fs::temp_directory_path() / ("corvane-bench-settings-" + std::to_string(::getpid()));
    fs::create_directories(settings);
    ::setenv("CORVANE_REGISTRY", (settings / "registry.reg").c_str(), 1);
    ::setenv("CORVANE_ERROR_LOG", (settings / "errors.log").c_str(), 1);
    if (!realShapedOnly) {
        measureSynthetic(self.string(), corvane, keep);
        measureLargeSynthetic(self.string(), corvane, keep);
    }
    measureRealShaped(corvane, keep);
    if (!keep)
        fs::remove_all(settings);
    return 0;
}
