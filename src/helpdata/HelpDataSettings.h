// HelpDataSettings: the settings of the open project that its help data file stores and its
// records read: the selected languages, the primary and the current language, and which help
// formats are generated and compiled. The add-in's shared settings (ModMain) hold them with
// the rest of what every window shares.
#pragma once

#include "vbruntime/KeyedCollection.h"

#include <memory>
#include <optional>
#include <string>

namespace corvane {

// The shared list of selected languages. The language dialog and a new scan replace the list
// by a new one: whoever holds a reference to this slot always sees the current list.
using SelectedLanguageList = std::shared_ptr<NameList>;

// The language of help text that was kept without one: a new project's only language, and
// that of the older data files' records.
inline const std::string Neutral = "Neutral";

struct HelpDataSettings {
    // The languages of the current project's help text; null until the connect object exists.
    SelectedLanguageList SelectedLanguages;
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
    // The code page the user chose for the project's files ("CodePage" of the data file's root);
    // none: the code page is detected from the files.
    std::optional<int> codePage;

    // Replaces SelectedLanguages with a new, empty list.
    void newSelectedLanguages() { SelectedLanguages = std::make_shared<NameList>(); }
    // A project that generates no format yet gets the one the IDE of `ideMajorVersion` knows:
    // WinHelp up to version 5, HTML Help after it; the chosen format is compiled, the other not.
    void chooseFormatsByVersion(double ideMajorVersion);
};

} // namespace corvane
