// corvane_edit_driver: the editor, worked as a user works it, in a process of its own, so that
// tests can race it against other programs that write the same help data.
//
//   corvane_edit_driver PROJECT [--guard] [--set MODULE/CONTROL/LANGUAGE=TEXT]...
//                       [--ready FILE] [--go FILE] [--hang]
//
// It opens the project in the editor (the headless window system; message boxes get their
// negative answer and are printed), types each text into the help text box of its control,
// and commits the row. With --guard the editor guards shared use as the desktop program's
// does (the marker, the recovery file a few seconds after a change, the watch on the data
// file); the virtual clock is then moved on until the recovery file is written. It writes
// --ready's file, waits for --go's file to exist (at most a minute), and closes the editor with
// its close box (the save). --hang waits after --ready until it is killed.
// Exit status: 0 when the editor saved and closed, 1 when it stayed open, 2 on a usage error.
#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using corvane::FrmWizard;

struct Edit {
    std::string module, control, language, text;
};

struct Options {
    std::string project;
    bool guard = false, hang = false;
    std::vector<Edit> edits;
    std::string ready, go;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (word == "--guard") {
            options.guard = true;
        } else if (word == "--hang") {
            options.hang = true;
        } else if (word == "--ready") {
            options.ready = next();
        } else if (word == "--go") {
            options.go = next();
        } else if (word == "--set") {
            std::string edit = next();
            size_t first = edit.find('/'), second = edit.find('/', first + 1), equals = edit.find('=');
            if (first == std::string::npos || second == std::string::npos || equals == std::string::npos)
                return false;
            options.edits.push_back({edit.substr(0, first), edit.substr(first + 1, second - first - 1),
                                     edit.substr(second + 1, equals - second - 1), edit.substr(equals + 1)});
        } else if (options.project.empty()) {
            options.project = word;
        } else {
            return false;
        }
    }
    return !options.project.empty();
}

// Types the text into the help text box of its control, in its language, as the user does.
bool type(FrmWizard& window, const Edit& edit) {
    auto& combo = window.ActiveBar().Bands(0).Tools().Item("selectedlanguage");
    for (int32_t i = 0; i < combo.ComboList().Count(); ++i)
        if (combo.ComboList().Item(i) == edit.language && combo.ComboListIndex() != i)
            window.ActiveBar().pickComboEntry(combo, i);
    auto& list = window.lbxModules();
    for (int32_t i = 0; i < list.ListCount(); ++i)
        if (list.List(i) == edit.module && list.ListIndex() != i)
            list.SetListIndex(i);
    auto& grid = window.Grid();
    for (int32_t row = 0; row < grid.RowCount(); ++row)
        if (window.currentForm()->Item(grid.RowIndex(row))->ControlName == edit.control) {
            grid.SetRow(row);
            window.txtHelpText().SetText(edit.text);
            grid.Update();
            return true;
        }
    return false;
}

void waitFor(const std::string& file) {
    for (int i = 0; i < 12000 && !fs::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::cerr << "Usage: corvane_edit_driver PROJECT [--guard] [--set MODULE/CONTROL/LANGUAGE=TEXT]... "
                     "[--ready FILE] [--go FILE] [--hang]\n";
        return 2;
    }
    corvane::cli::HeadlessSession session(std::cout, std::cerr, true);
    session.addin().modMain().guardsSharedUse = options.guard; // kept by the load that open() runs
    if (!session.open(options.project) || !session.editor())
        return 1;
    FrmWizard& window = *session.editor();
    for (const Edit& edit : options.edits)
        if (!type(window, edit)) {
            std::cerr << "corvane_edit_driver: no control " << edit.module << "/" << edit.control << "\n";
            return 1;
        }
    if (options.guard) // the recovery file is written a few (virtual) seconds after the edits
        for (int i = 0; i < 4 && window.timAutoSave().Enabled(); ++i)
            session.windows().runPendingEvents();
    if (!options.ready.empty())
        std::ofstream(options.ready) << "ready\n";
    if (options.hang)
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    if (!options.go.empty())
        waitFor(options.go);
    return session.closeAndSave() ? 0 : 1;
}
