// Measures opening a synthetic project of 400 forms x 50 controls (reading every control's
// properties) against reading the same files' bytes, and saving after a change on every
// control; what finding the code page of the files adds to an open (against an open in a code
// page given), and its detection on the largest sample it takes, of Japanese text. Prints the
// best of several runs.
#include "SyntheticProject.h"
#include "Timing.h"

#include "files/FileReading.h"
#include "text/TextCodec.h"
#include "vbide/ProjectCodePage.h"
#include "vbide/VBProject.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace corvane;
using bench::bestOf;
using bench::millisecondsOf;


int main() {
    constexpr int forms = 400;
    constexpr int controlsPerForm = 50;
    auto folder = std::filesystem::temp_directory_path() / ("corvane-bench-vbide-" + std::to_string(::getpid()));
    auto projectFile = bench::writeSyntheticProject(folder, forms, controlsPerForm);
    vbide::ControlTypeTable::standard();

    size_t bytes = 0;
    double readBytes = bestOf(5, [&] {
        bytes = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            bytes += readFileBytes(entry.path()).size();
    });
    long controls = 0;
    auto openAndRead = [&](std::optional<int> codePage) {
        controls = 0;
        auto project = vbide::VBProject::open(projectFile, codePage);
        for (const auto& component : project->VBComponents())
            for (const auto& control : component->Designer()->VBControls())
                controls += control->Properties().Item("WhatsThisHelpID").Value().toLong() >= 0;
    };
    double open = bestOf(5, [&] { openAndRead(std::nullopt); });
    double openGiven = bestOf(5, [&] { openAndRead(WindowsLatin1); });
    // The most detection ever reads: a full sample of lines beyond ASCII.
    std::string japanese;
    for (int line = 0; japanese.size() < vbide::ProjectCodePage::SampleLimit; ++line)
        japanese += encodeCodePage("      Caption         =   \"受注入力 " + std::to_string(line) + " を開く(&O)...\"\r\n", 932);
    int chosen = 0;
    double detectFull = bestOf(5, [&] {
        vbide::ProjectCodePage detection;
        detection.addFile(japanese);
        detection.detect();
        chosen = detection.choose({WindowsLatin1, 1251});
    });
    double save = bestOf(3, [&] {
        auto project = vbide::VBProject::open(projectFile);
        for (const auto& component : project->VBComponents())
            for (const auto& control : component->Designer()->VBControls()) {
                auto& id = control->Properties().Item("WhatsThisHelpID");
                id.SetValue(Variant(id.Value().toLong() + 1));
            }
        std::printf("  (one save of %d files: %.1f ms)\n", forms, millisecondsOf([&] { project->save(); }));
    });
    std::filesystem::remove_all(folder);

    std::printf("synthetic project: %d forms x %d controls, %ld controls read, %zu bytes\n", forms,
                controlsPerForm, controls, bytes);
    std::printf("read the same bytes:        %8.1f ms\n", readBytes);
    std::printf("open project + properties:  %8.1f ms  (ratio %.1f)\n", open, open / readBytes);
    std::printf("open in a code page given:  %8.1f ms  (detection adds %.1f %%)\n", openGiven,
                100.0 * (open - openGiven) / openGiven);
    std::printf("detect a full sample:       %8.1f ms  (%zu bytes, code page %d)\n", detectFull, japanese.size(),
                chosen);
    std::printf("open, change all, save:     %8.1f ms\n", save);
    return 0;
}
