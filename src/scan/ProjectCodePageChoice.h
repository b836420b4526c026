// ProjectCodePageChoice: the code page a project's files are read in, settled once its help
// data file is loaded, and the way stored keys written in another code page are found again.
//
// The code page the host was given (the command line's --codepage) holds and becomes the
// project's setting, so that it is chosen once; else the project's setting ("CodePage" of the
// data file) holds; else the code page its files tell, weighed with the code pages of its help
// languages (ProjectCodePage::choose). When that is not the code page the project was opened
// in, the project is read again before its controls are walked.
//
// Earlier versions of the program read every project as Windows-1252 and stored non-ASCII
// module and control names as that reading spelled them; KeyRecoding finds such a key again
// (and the editor's change of code page finds the keys of the earlier one).
#pragma once

#include "helpdata/HelpDataSettings.h"
#include "vbruntime/KeyedCollection.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

namespace vbide {
class VBProject;
} // namespace vbide

// The spelling a name had when it was read in another code page.
struct KeyRecoding {
    int keysCodePage = 1252;    // the code page the stored keys were read in
    int projectCodePage = 1252; // the code page the project's names are read in now

    // The name as the keys' code page spelled it; none when it is spelled the same (ASCII,
    // the same code page) or cannot be.
    std::optional<std::string> earlierSpelling(std::string_view name) const;
};

// The code pages of the help languages (languagecodes.txt), in the list's order; "Neutral" and
// the languages that take its facts state none.
std::vector<int> statedCodePages(const NameList& languages);

// The code page the project's setting asks for: the one chosen, else the one its files tell
// weighed with its help languages, else (a code page given when it was opened) its own.
int wantedCodePage(const vbide::VBProject& project, const HelpDataSettings& settings);

// Settles the code page of `project` as described above and reads the project again when it
// changes; returns the recoding of the keys stored before (from Windows-1252, the reading of
// earlier versions). Raises VbError 5 for a code page the system cannot convert and as
// VBProject::setCodePage does.
KeyRecoding settleProjectCodePage(vbide::VBProject& project, HelpDataSettings& settings);

} // namespace corvane
