// Measures the peak memory of the translator exchange at scale, each command run as a fresh
// process as a user starts it: `scan` for the cost of the project itself, `export` of the
// German texts as XLIFF and PO, `import` of the exported XLIFF, and `import` of an XLIFF many
// times larger than the project (its extra units name no control), whose memory must not grow
// with the file. Usage: bench_exchange_memory [FORMS [CONTROLS-PER-FORM [EXTRA-MB]]]
// (default 2000 x 50 = 100,000 records and a 400 MB file).
#include "ProcessMeasure.h"
#include "SyntheticHelpData.h"
#include "SyntheticProject.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

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

void print(const char* what, const bench::Measure& measure) {
    std::printf("  %-34s %9.1f ms  %8.1f MB peak\n", what, measure.ms, measure.peakKiB / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    const int forms = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int controlsPerForm = argc > 2 ? std::atoi(argv[2]) : 50;
    const int extraMegabytes = argc > 3 ? std::atoi(argv[3]) : 400;
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const std::string corvane = (self.parent_path().parent_path() / "bin" / "corvane").string();
    const fs::path folder = fs::temp_directory_path() / ("corvane-bench-exchange-memory-" + std::to_string(::getpid()));
    const fs::path project = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    ::setenv("CORVANE_REGISTRY", (folder / "registry.reg").c_str(), 1);
    ::setenv("CORVANE_ERROR_LOG", (folder / "errors.log").c_str(), 1);
    bench::writeThreeLanguageHelpData(project, "English");
    const std::string vbp = project.string();
    const fs::path xliff = folder / "German.xlf";
    const fs::path po = folder / "German.po";

    bench::Measure scan, exportXliff, exportPo, import, importLarge;
    bench::runProcess({corvane, "scan", vbp}, scan);
    bench::runProcess({corvane, "export", vbp, "--language", "German", "-o", xliff.string()}, exportXliff);
    bench::runProcess({corvane, "export", vbp, "--language", "German", "--format", "po", "-o", po.string()}, exportPo);
    bench::runProcess({corvane, "import", vbp, xliff.string()}, import);
    const fs::path large = padded(xliff, folder / "Large.xlf", extraMegabytes);
    const double exportedMb = static_cast<double>(fs::file_size(xliff)) / (1024 * 1024);
    const double largeMb = static_cast<double>(fs::file_size(large)) / (1024 * 1024);
    // The extra units are skipped: the command exits with 1.
    bench::runProcess({corvane, "import", vbp, large.string()}, importLarge, nullptr, 1);

    std::printf("exchange memory, %d forms x %d controls (%d records), English, German and French\n", forms,
                controlsPerForm, forms * controlsPerForm);
    print("scan (the project alone)", scan);
    print("export XLIFF", exportXliff);
    print("export PO", exportPo);
    std::printf("  %-34s %9.1f MB\n", "the exported XLIFF", exportedMb);
    print("import of the exported XLIFF", import);
    char label[64];
    std::snprintf(label, sizeof label, "import of a %.0f MB XLIFF", largeMb);
    print(label, importLarge);
    fs::remove_all(folder);
    return 0;
}
