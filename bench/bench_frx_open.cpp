// Measures opening a project whose forms keep pictures and captions in their .frx files (200
// forms x 20 buttons, a 4 KB picture and a caption per button), reading every caption and
// help id. Prints the best of several runs.
#include "Timing.h"

#include "vbide/VBProject.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace corvane;
using bench::bestOf;

namespace {

std::string u32(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string hex4(size_t offset) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "%04zX", offset);
    return buffer;
}

// One form and its .frx: per button a picture record, then its caption as a long text.
void writeForm(const std::filesystem::path& folder, int index, int buttons) {
    std::string name = "frmPictures" + std::to_string(index);
    std::string form = "VERSION 5.00\r\nBegin VB.Form " + name + " \r\n   Caption         =   \"Pictures\"\r\n";
    std::string frx;
    std::string bitmap = "BM" + std::string(4094, '\x7F');
    for (int b = 0; b < buttons; ++b) {
        std::string n = std::to_string(b);
        form += "   Begin VB.CommandButton cmdPicture" + n + " \r\n      Caption         =   $\"" + name +
                ".frx\":" + hex4(frx.size() + 12 + bitmap.size()) + "\r\n      Picture         =   \"" + name +
                ".frx\":" + hex4(frx.size()) + "\r\n      Style           =   1  'Graphical\r\n"
                "      WhatsThisHelpID =   " + std::to_string(index * 100 + b) + "\r\n   End\r\n";
        frx += u32(static_cast<uint32_t>(bitmap.size() + 8)) + std::string("lt\0\0", 4) +
               u32(static_cast<uint32_t>(bitmap.size())) + bitmap;
        std::string caption = "Picture button " + n + "\r\nwith a second line";
        frx += u32(static_cast<uint32_t>(caption.size())) + caption;
    }
    form += "End\r\nAttribute VB_Name = \"" + name + "\"\r\n";
    std::ofstream(folder / (name + ".frm"), std::ios::binary) << form;
    std::ofstream(folder / (name + ".frx"), std::ios::binary) << frx;
}

} // namespace

int main() {
    constexpr int forms = 200;
    constexpr int buttons = 20;
    auto folder = std::filesystem::temp_directory_path() / ("corvane-bench-frx-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string projectText = "Type=Exe\r\n";
    for (int i = 0; i < forms; ++i) {
        writeForm(folder, i, buttons);
        projectText += "Form=frmPictures" + std::to_string(i) + ".frm\r\n";
    }
    std::ofstream(folder / "Pictures.vbp", std::ios::binary) << projectText + "Name=\"Pictures\"\r\n";
    vbide::ControlTypeTable::standard();

    size_t captionBytes = 0;
    double open = bestOf(5, [&] {
        captionBytes = 0;
        auto project = vbide::VBProject::open(folder / "Pictures.vbp");
        for (const auto& component : project->VBComponents())
            for (const auto& control : component->Designer()->VBControls())
                captionBytes += control->Properties().Item("Caption").Value().toText().size() +
                                (control->Properties().Item("WhatsThisHelpID").Value().toLong() >= 0);
    });
    std::filesystem::remove_all(folder);
    std::printf("frx project: %d forms x %d buttons with pictures, %zu caption bytes read\n", forms, buttons,
                captionBytes);
    std::printf("open project + captions:    %8.1f ms\n", open);
    return 0;
}
