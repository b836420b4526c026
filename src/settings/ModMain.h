// ModMain: the settings every window and the help generator share while the add-in is loaded,
// and the start-up routine `main` that reads the list of languages.
#pragma once

#include "addin/ErrorScope.h"
#include "support/KeyedCollection.h"

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

class ModMain : public ReportsVariables {
public:
    // The shared settings, in declaration order.

    // The languages of the current project's help text; null until the connect object exists.
    std::shared_ptr<NameList> SelectedLanguages;
    // Every language name the user can choose from ("languages.txt").
    NameList Languages;
    // The language whose text is shown as a reference while another is edited.
    std::string mPrimaryLanguage;
    // The language being edited.
    std::string mCurrentLanguage;
    // Create WinHelp help projects.
    bool mGenerateWinHelp = false;
    // Create HTML Help help projects.
    bool mGenerateHTML = false;
    // Compile the generated WinHelp projects.
    bool mCompileWinHelp = false;
    // Compile the generated HTML Help projects.
    bool mCompileHTML = false;
    // The shared busy window, created by main.
    std::shared_ptr<controls::BusyWindow> Busy;

    // Start-up: creates the busy window of the current window system and reads
    // "languages.txt" from the data folder.
    void main();

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

    // Replaces SelectedLanguages with a new, empty list.
    void newSelectedLanguages() { SelectedLanguages = std::make_shared<NameList>(); }

    // The settings as an error report renders them.
    NamedValues moduleVariables() const override;
};

} // namespace corvane
