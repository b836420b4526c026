// Measures the peak memory of the commands that load a project's help data, each run as a fresh
// process as a user starts it: `scan` for the cost of the project itself, `compile --yes` (both
// help formats generated, the compilers off), `export` of the German texts as XLIFF and PO,
// `import` of the exported XLIFF, and `import` of an XLIFF many times larger than the project
// (its extra units name no control), whose memory must not grow with the file. Each command
// runs three times; the fastest run's peak is shown, with the peak beyond the data file's size
// per record. Usage: bench_exchange_memory [FORMS [CONTROLS-PER-FORM [EXTRA-MB]]] [--keep]
// (default 2000 x 50 = 100,000 records and a 400 MB file; 400 50 is the project of 20,000
// records the program is measured on). With --keep the project stays (its folder is printed).
#include "ProcessMeasure.h"
#include "SyntheticHelpData.h"
#include "SyntheticProject.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corvane;
namespace fs = std::filesystem;

namespace {

// The exported XLIFF with `megabytes` of units that name no control added before its end,
// written as a stream.
fs::path padded(const fs::path& exported, const fs::path& target, int megabytes) {
    std::ifstream in(exported, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t end = text.rfind("    </body>");
    std::ofstream out(target, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(end));
    const std::string filler(200, 'x');
    const long long units = static_cast<long long>(megabytes) * 1024 * 1024 / 330;
    for (long long i = 0; i < units; ++i)
        out << "      <trans-unit id=\"frmGone/cmdGone" << i << "\"><source>" << filler << "</source><target>"
            << filler.substr(0, 40) << "</target></trans-unit>\n";
    out.write(text.data() + end, static_cast<std::streamsize>(text.size() - end));
    return target;
}

// Runs of each command; the fastest counts.
constexpr int Runs = 3;

// What a command's peak holds beyond the data file's bytes, per record.
double bytesPerRecord(const bench::Measure& measure, double dataBytes, int records) {
    return (static_cast<double>(measure.peakKiB) * 1024 - dataBytes) / records;
}

void print(const char* what, const bench::Measure& measure, double dataBytes, int records) {
    std::printf("  %-34s %9.1f ms  %8.1f MB peak  %6.0f bytes/record beyond the data file\n", what, measure.ms,
                measure.peakKiB / 1024.0, bytesPerRecord(measure, dataBytes, records));
}

void runTimes(const std::vector<std::string>& arguments, bench::Measure& best, int highestGoodStatus = 0) {
    for (int run = 0; run < Runs; ++run)
        bench::runProcess(arguments, best, nullptr, highestGoodStatus);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> numbers;
    bool keep = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--keep")
            keep = true;
        else
            numbers.emplace_back(argv[i]);
    const int forms = numbers.size() > 0 ? std::atoi(numbers[0].c_str()) : 2000;
    const int controlsPerForm = numbers.size() > 1 ? std::atoi(numbers[1].c_str()) : 50;
    const int extraMegabytes = numbers.size() > 2 ? std::atoi(numbers[2].c_str()) : 400;
    const int records = forms * controlsPerForm;
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string corvane = (self.parent_path().parent_path() / "bin" / "corvane").string();
    const fs::path folder = fs::temp_directory_path() / ("corvane-bench-exchange-memory-" + std::to_string(::getpid()));
    const fs::path project = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    ::setenv("CORVANE_REGISTRY", (folder / "registry.reg").c_str(), 1);
    ::setenv("CORVANE_ERROR_LOG", (folder / "errors.log").c_str(), 1);
    bench::writeThreeLanguageHelpData(project, "English");
    bench::generateWithoutCompilers(project);
    const std::string vbp = project.string();
    const fs::path xliff = folder / "German.xlf";
    const fs::path po = folder / "German.po";

    bench::Measure scan, compile, exportXliff, exportPo, import, importLarge;
    runTimes({corvane, "scan", vbp}, scan);
    runTimes({corvane, "compile", vbp, "--yes"}, compile);
    const double dataBytes = static_cast<double>(fs::file_size(folder / "ContextHelp.txt"));
    runTimes({corvane, "export", vbp, "--language", "German", "-o", xliff.string()}, exportXliff);
    runTimes({corvane, "export", vbp, "--language", "German", "--format", "po", "-o", po.string()}, exportPo);
    runTimes({corvane, "import", vbp, xliff.string()}, import);
    const fs::path large = padded(xliff, folder / "Large.xlf", extraMegabytes);
    const double exportedMb = static_cast<double>(fs::file_size(xliff)) / (1024 * 1024);
    const double largeMb = static_cast<double>(fs::file_size(large)) / (1024 * 1024);
    // The extra units are skipped: the command exits with 1.
    bench::runProcess({corvane, "import", vbp, large.string()}, importLarge, nullptr, 1);

    std::printf("exchange memory, %d forms x %d controls (%d records), English, German and French; "
                "data file %.1f MB; fastest of %d runs\n",
                forms, controlsPerForm, records, dataBytes / (1024 * 1024), Runs);
    print("scan (the project alone)", scan, dataBytes, records);
    print("compile --yes (compilers off)", compile, dataBytes, records);
    print("export XLIFF", exportXliff, dataBytes, records);
    print("export PO", exportPo, dataBytes, records);
    std::printf("  %-34s %9.1f MB\n", "the exported XLIFF", exportedMb);
    print("import of the exported XLIFF", import, dataBytes, records);
    char label[64];
    std::snprintf(label, sizeof label, "import of a %.0f MB XLIFF", largeMb);
    print(label, importLarge, dataBytes, records);
    if (keep)
        std::printf("project kept in %s\n", folder.c_str());
    else
        fs::remove_all(folder);
    return 0;
}
