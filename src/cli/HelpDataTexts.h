// HelpDataTexts: changes help texts of one language in a project's help data file and
// writes it back through the same safe save as the editor (HelpDataFile: the lock beside the
// file, an atomic replace, read-only files refused, links written through). The texts are
// changed in the document as read, so everything else is written back as it was: records of
// controls the project no longer has, texts of languages not selected, settings.
#pragma once

#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataSettings.h"
#include "xml/XMLDocument.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane::cli {

class HelpDataTexts {
public:
    // Reads the data file (one that declares no encoding and is not UTF-8 in `ansiCodePage`, the
    // project's); raises VbError 5 naming the file and what is wrong when a save would lose
    // something it holds (unreadable, not well-formed, in no known encoding).
    explicit HelpDataTexts(const std::filesystem::path& dataFile, int ansiCodePage);

    // Sets the text of control `key` of `module` in `language` (names compared without regard
    // to letter case). False, changing nothing, when the file has no record for the control
    // or holds the record in the old form (its text without a language).
    bool setText(std::string_view module, std::string_view key, const std::string& language,
                 const std::string& text);
    // Writes the file; raises VbError 75 naming the file when it cannot. When another program
    // saved the file since it was read, the texts set here are set again in that version, which
    // is written with them; a text that program changed too (or whose record it removed) stops
    // the save with HelpDataConflictError, and nothing is written.
    void save();

private:
    // One text set, with the text the file held before.
    struct TextSet {
        std::string module, key, language, before, after;
    };
    void indexRecords();
    // The record of `key` in `module` (null when the file has none).
    XMLElement* recordOf(std::string_view module, std::string_view key);
    // Reads the version of the file another program saved and sets the texts again in it.
    void catchUp();

    HelpDataSettings settings_; // what HelpDataFile works with; not written by a save of texts
    HelpDataFile file_{settings_};
    XMLDocument document_;
    // The records by folded "module/key", the first of each (a large import looks up many).
    std::unordered_map<std::string, XMLElement> records_;
    std::vector<TextSet> sets_;
};

} // namespace corvane::cli
