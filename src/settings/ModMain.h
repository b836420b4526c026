// ModMain: the settings every window and the help generator share while the add-in is loaded,
// and the start-up routine `main` that reads the list of languages.
#pragma once

#include "addin/ErrorScope.h"
#include "helpdata/HelpDataSettings.h"
#include "process/ProcessRunner.h"
#include "vbruntime/KeyedCollection.h"

#include <memory>
#include <string>

namespace corvane {

namespace controls {
class ActiveBar;
class BusyWindow;
class Form;
class Grid;
class Splitter;
} // namespace controls

// The shared settings: those of the open project (HelpDataSettings), the language list and
// the busy window. Error reports render them in the order SelectedLanguages, Languages, the
// project's other settings, Busy.
class ModMain : public ReportsVariables, public HelpDataSettings {
public:
    // Every language name the user can choose from ("languages.txt").
    NameList Languages;
    // The editor works for a person at a desktop (the desktop program): it tells a second
    // editor that the project is open, watches the data file for other programs' saves and
    // keeps unsaved edits in a recovery file, and it names every module whose controls cannot
    // be read in one message after loading. The command line's editor does none of these (it
    // prints a message per module, and its own line naming the designer file).
    bool guardsSharedUse = false;
    // The shared busy window, created by main.
    std::shared_ptr<controls::BusyWindow> Busy;
    // The longest a help compiler may run, in seconds (0: no limit): from the registry value
    // "CompilerTimeLimit" (minutes) that the options dialog keeps, or set for one run.
    int32_t mCompilerTimeLimit = DefaultCompilerTimeLimit;
    // Ten minutes: far more than a compiler needs for the largest project.
    static constexpr int32_t DefaultCompilerTimeLimit = 600;
    // The registry key and value of the time limit (whole minutes).
    static constexpr std::string_view OptionsKey = "Software\\Halvex\\Corvane";
    static constexpr std::string_view CompilerTimeLimitValue = "CompilerTimeLimit";

    // Start-up: creates the busy window of the current window system, reads "languages.txt"
    // from the data folder and the help compilers' time limit from the registry.
    void main();

    // What a help compiler's run stops at: the time limit and the busy window's Cancel.
    RunLimits compilerRunLimits() const;

    // Restores a window's placement, its grid's view and grouping from the registry
    // ("Software\Halvex\Corvane\WindowPosition_" + Window); nothing when none is stored.
    void LoadWindowPosition(const std::string& Window, controls::Form& TargetForm, controls::Grid& grid,
                            controls::ActiveBar& bar, controls::Splitter& Split);
    // Stores a window's placement, its grid's view and grouping in the registry.
    void SaveWindowPosition(const std::string& Window, controls::Form& TargetForm, controls::Grid& grid,
                            controls::Splitter& Split);
    // The grid's grouping as text: "column:order" items joined by ",".
    std::string SaveGridGroups(controls::Grid& grid);
    // Adds the grouping levels of a text that SaveGridGroups made.
    void LoadGridGroups(const std::string& s, controls::Grid& grid);

    // The settings as an error report renders them.
    NamedValues moduleVariables() const override;
};

} // namespace corvane
