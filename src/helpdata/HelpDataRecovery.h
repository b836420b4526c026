// HelpDataRecovery: the editor's unsaved help texts, kept beside the data file in
// "ContextHelp.txt.recovery" a few seconds after each change, so that a program that ends
// without saving (killed, crashed, the machine gone) loses none of them: the next editor of the
// project offers them back.
//
//   HelpDataRecovery recovery(dataFile);
//   recovery.write(forms, formNames);        // every text that differs from the data file's,
//                                            // with the file's text it replaces and when it
//                                            // was first kept
//   ...                                      // after a save, or when the user drops the edits:
//   recovery.remove();
//   std::vector<RecoveredText> texts = recovery.read();   // the next session, after a crash
//
// The file is an XML document like the data file, holding only the changed texts; it is
// written through AtomicFile, so a crash while writing leaves the previous one.
#pragma once

#include "helpdata/HelpItem.h"
#include "vbruntime/KeyedCollection.h"

#include <filesystem>
#include <string>
#include <vector>

namespace corvane {

// One unsaved text: where it belongs, what it was, what it replaced and since when it was kept.
struct RecoveredText {
    std::string module;
    std::string control;
    std::string language;
    std::string text;
    std::string replaced;      // the data file's text it replaced ("" when the file had none)
    long long keptSince = 0;   // when it was first kept with this text (seconds since 1970, UTC)

    bool operator==(const RecoveredText&) const = default;
    // True when both are the same text of the same control and language.
    bool sameText(const RecoveredText& other) const {
        return module == other.module && control == other.control && language == other.language && text == other.text;
    }
};

class HelpDataRecovery {
public:
    // The recovery file of the data file `dataFile`.
    explicit HelpDataRecovery(const std::filesystem::path& dataFile);

    // The recovery file's path: the data file's + ".recovery".
    const std::filesystem::path& path() const noexcept { return path_; }
    // True when a recovery file exists.
    bool exists() const;

    // The texts of the records that differ from the data file's, in record order.
    static std::vector<RecoveredText> unsavedTexts(const ModuleRecords& forms, const NameList& formNames);
    // Writes the unsaved texts of the records (removes the file when there are none); a text
    // the file already keeps keeps its time, a new one is kept since now. VbError 75 naming the
    // file on failure.
    void write(const ModuleRecords& forms, const NameList& formNames);
    // Writes the texts as the file's content (the stream overload's bytes, through AtomicFile).
    void write(const std::vector<RecoveredText>& texts);
    // The texts the file holds (none when there is no file); VbError 5 naming the file when it
    // is not a recovery file.
    std::vector<RecoveredText> read() const;
    // Removes the file (nothing when there is none); VbError 75 naming it when it stays.
    void remove();

    // The file's bytes for `texts`.
    static std::string render(const std::vector<RecoveredText>& texts);
    // The texts of a recovery file's bytes; VbError 5 naming `name` when they are not one.
    static std::vector<RecoveredText> parse(std::string_view bytes, const std::string& name);

private:
    std::filesystem::path path_;
};

} // namespace corvane
