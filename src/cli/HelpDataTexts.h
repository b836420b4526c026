// HelpDataTexts: changes help texts of one language in a project's help data file and
// writes it back through a temporary file beside it, renamed into place (AtomicFile), as the
// editor's save does. Everything else in the file is written back as it was read: records
// of controls the project no longer has, languages, settings.
//
// The exchange import's only way to write: when the help data file gets a component of its
// own (load without a window, locked save), this class is the one place to switch to it.
#pragma once

#include "support/XmlDocument.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace corvane::cli {

class HelpDataTexts {
public:
    // Reads the data file; raises VbError 53/75 when it cannot be read and VbError 5 when it
    // is not well-formed (naming the file, line and column).
    explicit HelpDataTexts(std::filesystem::path dataFile);

    // Sets the text of control `key` of `module` in `language` (names compared without regard
    // to letter case). False, changing nothing, when the file has no record for the control
    // or holds the record in the old form (its text without a language).
    bool setText(std::string_view module, std::string_view key, const std::string& language,
                 const std::string& text);
    // Writes the file; raises VbError 75 naming the file when it cannot.
    void save() const;

private:
    void indexRecords();

    std::filesystem::path file_;
    XMLDocument document_;
    // The records by folded "module/key", the first of each (a large import looks up many).
    std::unordered_map<std::string, XMLElement> records_;
};

} // namespace corvane::cli
