// The layout preview of a large form: 500 controls (50 frames in a grid, each holding nine
// buttons, text boxes, labels and check boxes) and a menu of 700 entries (10 top-level menus of
// 69 entries each). Measures building the sketch from the IDE model and drawing it into an
// image as the preview window does (goal: under 50 ms to draw).
#include "Timing.h"
#include "app/preview/SketchPainter.h"
#include "preview/SketchBuilder.h"
#include "vbide/ControlTypeTable.h"
#include "vbide/VBProject.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace corvane;
using bench::bestOf;

namespace {

constexpr int Frames = 50;
constexpr int PerFrame = 9;
constexpr int TopMenus = 10;
constexpr int EntriesPerMenu = 69;

std::string property(int indent, const std::string& name, const std::string& value) {
    size_t column = 16 + static_cast<size_t>(indent) * 3; // where the IDE puts the "="
    std::string line = std::string(static_cast<size_t>(indent) * 3, ' ') + name;
    line.resize(std::max(column, line.size() + 1), ' ');
    return line + "=   " + value + "\r\n";
}

std::string place(int indent, int left, int top, int width, int height) {
    return property(indent, "Height", std::to_string(height)) + property(indent, "Left", std::to_string(left)) +
           property(indent, "Top", std::to_string(top)) + property(indent, "Width", std::to_string(width));
}

std::string child(int frame, int i) {
    static const char* const types[] = {"CommandButton", "TextBox", "Label", "CheckBox"};
    static const char* const prefixes[] = {"cmd", "txt", "lbl", "chk"};
    std::string n = std::to_string(frame * PerFrame + i);
    std::string text = "      Begin VB." + std::string(types[i % 4]) + " " + prefixes[i % 4] + "Item" + n + "\r\n";
    text += property(2, i % 4 == 1 ? "Text" : "Caption", "\"Item " + n + "\"");
    text += place(2, 120 + (i % 3) * 1200, 300 + (i / 3) * 420, 1100, 360);
    text += property(2, "WhatsThisHelpID", std::to_string(frame * PerFrame + i + 1));
    return text + "      End\r\n";
}

std::string largeForm() {
    std::string text = "VERSION 5.00\r\nBegin VB.Form frmLarge\r\n" + property(1, "Caption", "\"Large\"") +
                       property(1, "ClientHeight", "12000") + property(1, "ClientWidth", "20000");
    for (int frame = 0; frame < Frames; ++frame) {
        text += "   Begin VB.Frame fraGroup" + std::to_string(frame) + "\r\n" + property(2, "Caption", "\"Group\"");
        text += place(2, 120 + (frame % 5) * 3900, 120 + (frame / 5) * 1800 - (frame % 2) * 60, 3800, 1700);
        for (int i = 0; i < PerFrame; ++i)
            text += child(frame, i);
        text += "   End\r\n";
    }
    for (int menu = 0; menu < TopMenus; ++menu) {
        text += "   Begin VB.Menu mnuTop" + std::to_string(menu) + "\r\n" +
                property(2, "Caption", "\"&Menu " + std::to_string(menu) + "\"");
        for (int entry = 0; entry < EntriesPerMenu; ++entry)
            text += "      Begin VB.Menu mnuEntry" + std::to_string(menu * 100 + entry) + "\r\n" +
                    property(3, "Caption", "\"Entry " + std::to_string(entry) + "\"") + "      End\r\n";
        text += "   End\r\n";
    }
    return text + "End\r\nAttribute VB_Name = \"frmLarge\"\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    auto folder = std::filesystem::temp_directory_path() / ("corvane-bench-preview-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "frmLarge.frm", std::ios::binary) << largeForm();
    std::ofstream(folder / "Large.vbp", std::ios::binary) << "Type=Exe\r\nForm=frmLarge.frm\r\nName=\"Large\"\r\n";
    vbide::ControlTypeTable::standard();
    auto project = vbide::VBProject::open(folder / "Large.vbp");
    auto component = project->VBComponents().Item("frmLarge");
    preview::FormSketch sketch;
    double build = bestOf(10, [&] { sketch = preview::SketchBuilder(project.get()).build(*component); });

    app::SketchPaintOptions options;
    options.language = "English";
    options.coverage = [](const preview::SketchItem& item) {
        return item.key.size() % 2 ? app::Coverage::WithText : app::Coverage::WithoutText;
    };
    options.highlighted = 7;
    QSize size = app::SketchLayout(sketch).size();
    QImage image(size, QImage::Format_RGB32);
    double draw = bestOf(20, [&] {
        QPainter painter(&image);
        app::paintSketch(painter, sketch, options);
    });
    QImage half(size / 2, QImage::Format_RGB32);
    double drawScaled = bestOf(20, [&] {
        QPainter painter(&half);
        painter.scale(0.5, 0.5);
        app::paintSketch(painter, sketch, options);
    });
    std::filesystem::remove_all(folder);
    std::printf("form of %zu controls, %zu top-level menus of %d menu entries; picture %dx%d\n", sketch.items.size(),
                sketch.menu.size(), TopMenus * (EntriesPerMenu + 1), size.width(), size.height());
    std::printf("build sketch: %.2f ms\n", build);
    std::printf("draw 1:1:     %.2f ms (goal under 50 ms)\n", draw);
    std::printf("draw at 1/2:  %.2f ms\n", drawScaled);
    return 0;
}
