// ProjectFile: a project file (.vbp) in memory. It reads the component lines in order and
// the project's Name and HelpFile, keeps every other line (and every [Section] after the
// main one) byte for byte, and changes only the lines it is asked to change.
#pragma once

#include "vbide/TextLines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::vbide {

// VB's run-time error for a file that is not in the expected format.
constexpr int32_t InvalidFileFormat = 321;

// One component line of the project file.
struct ProjectEntry {
    size_t line = 0;   // index of the line
    int type = 0;      // VBComponent type (5 for every Form= line; 6 is known only from the file)
    std::string key;   // "Form", "Module", "RelatedDoc" ...
    std::string name;  // the name given on Module= and Class= lines, else ""
    std::string path;  // the path as written (UTF-8), without quotes
};

class ProjectFile {
public:
    // Reads a project file from its bytes; raises VbError 321 naming `sourceName` and the line
    // of a line that cannot be read.
    ProjectFile(std::string_view bytes, int codePage, std::string sourceName);

    // The component lines in file order.
    const std::vector<ProjectEntry>& entries() const noexcept { return entries_; }
    // The project's Name setting ("" when the file has none).
    const std::string& name() const noexcept { return name_; }
    // The project's HelpFile setting ("" when the file has none).
    const std::string& helpFile() const noexcept { return helpFile_; }

    // Sets HelpFile: replaces its line in the main section or inserts one where the IDE
    // writes it. Raises VbError 5 for a text the code page cannot hold.
    void setHelpFile(const std::string& helpFile);
    // Adds a "RelatedDoc=" line after the component lines; returns its entry.
    const ProjectEntry& addRelatedDocument(const std::string& vbPath);

    // True when a line was changed since the file was read or saved.
    bool isDirty() const noexcept { return dirty_; }
    // The file's bytes with the changes.
    std::string render() const { return joinLines(lines_); }
    // The changes written onto `current`, the file's bytes on disk now. When another program
    // saved the file since it was read, the help file line is written where the file still
    // holds the setting read, and each related document added is added where the file does not
    // name it yet; every other line stays as that program wrote it. Raises VbError 75 naming the
    // file and the setting when the other program changed the help file setting too, or saying
    // why `current` cannot be read; the caller then writes nothing.
    std::string renderOnto(std::string_view current) const;
    // Takes `written` (rendered onto the file's bytes) as the file on disk: its lines are read
    // anew and nothing is changed any more.
    void markSaved(std::string_view written);
    // Takes over the unsaved changes of `earlier`, the same file read in another code page, whose
    // render() this one was read from.
    void takeChangesOf(const ProjectFile& earlier);

private:
    void parse();
    void parseLine(size_t index);
    std::string decodeValue(size_t index, std::string_view raw) const;
    [[noreturn]] void fault(size_t index, const std::string& what) const;
    size_t mainSectionEnd() const;
    size_t findKey(std::string_view key) const;
    void insertLine(size_t before, const std::string& utf8Text);
    void insertEncodedLine(size_t before, std::string text);
    size_t helpFileLineAt() const;
    size_t relatedDocumentLineAt() const;
    bool holdsLine(std::string_view text) const;

    // One changed line, as encoded text: a setting replaced (its line before, if the file had
    // one) or a related document added.
    struct LineChange {
        std::string key;
        std::optional<std::string> before;
        std::string after;
    };

    std::string sourceName_;
    int codePage_;
    std::string read_; // the bytes read or last saved
    std::vector<LineChange> changes_;
    std::vector<TextLine> lines_;
    std::vector<ProjectEntry> entries_;
    std::string name_;
    std::string helpFile_;
    bool haveName_ = false;
    bool haveHelpFile_ = false;
    bool dirty_ = false;
};

} // namespace corvane::vbide
