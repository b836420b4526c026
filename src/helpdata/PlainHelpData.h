// PlainHelpData: a help data file read straight from its bytes into records, without a parsed
// document, when it is in the plain form the program writes (see HelpDataWriter):
//   - an optional declaration `<?xml version="1.0" encoding="UTF-8"?>`, then the "Root" element;
//   - in the root, "SelectedLanguage" elements (each with "Name") before "VBComponent" elements;
//   - in each "VBComponent" (with "ComponentName"), "HelpItem" records with the four key
//     attributes, holding "HelpText" elements (each with "Language") or nothing at all;
//   - white space between elements, the five named entities in texts and values.
// Anything else is not taken: comments, CDATA, character references, other elements, text
// where none belongs, white space in a value, and every record that loading would name as a
// problem (a missing attribute, a key or language given twice, a number out of range). The caller then parses the file as a document, which
// takes what can be taken and names what cannot, so that both ways load the same records.
//
//   PlainHelpData plain;
//   if (plain.read(bytes, settings.SelectedLanguages)) {   // every byte read, records too
//       ... plain.rootAttribute("CurrentLanguage"), plain.selectedLanguages() ...
//       if (plain.readRecords(forms, formNames)) ...
//   }                                                     // false: nothing was added
// Bytes that are not UTF-8, or hold a NUL byte, are not in the plain form. The bytes must
// outlive the object. A reader that owns them may let the read give back the memory of each
// module whose records it took, and of the markup around such modules (BytesRead::GiveBack),
// and may have the read take them from the file a piece at a time (MoreBytes): a file's records
// then never hold memory beside all of its bytes.
//
//   plain.read(buffer, fileSize, slot, BytesRead::GiveBack, [&](size_t from, size_t upTo) {
//       return from + readFileAt(fd, from, buffer + from, upTo - from);   // into place
//   });
#pragma once

#include "helpdata/HelpItem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class PlainHelpDataCursor;

class PlainHelpData {
public:
    // Reads the file's bytes; false when they are not in the plain form. The records are read
    // too, with the texts of every language (also those not selected); each reads the selected
    // languages from `slot` later, which outlives it.
    bool read(std::string_view bytes, const SelectedLanguageList& slot);
    // What a read does with the bytes of a module once its records are read.
    enum class BytesRead {
        Keep,     // they stay as they are
        GiveBack, // their memory pages go back to the system and read as zeros, once every
                  // module a page holds bytes of is read
    };
    // Reads the bytes [from, upTo) of the file into their place in the buffer given to read;
    // returns how far the buffer is then filled, less than `upTo` only where the file ends.
    using MoreBytes = std::function<size_t(size_t from, size_t upTo)>;
    // The same, `bytes` being memory the caller owns and lets the read give back as `use` says.
    // With `more`, the buffer's `size` bytes are read into it by `more` a piece at a time as the
    // read goes, each piece once its records are read ending where a module does; after a false
    // answer the bytes are then not all in place. Without it, they are all in place.
    bool read(char* bytes, size_t size, const SelectedLanguageList& slot, BytesRead use,
              const MoreBytes& more = {});
    // True when the last read gave bytes back: anything that reads the file's bytes after it
    // reads them from the file again.
    bool gaveBytesBack() const noexcept { return gaveBytesBack_; }

    // The value of the root's first attribute of that name, decoded; none when it has none.
    std::optional<std::string> rootAttribute(std::string_view name) const;
    // The "Name" of every "SelectedLanguage" element, decoded, in file order, each once (the
    // first spelling, letter case ignored).
    const NameList& selectedLanguages() const noexcept { return languages_; }
    // True when the root has no child element.
    bool isNew() const noexcept { return modules_.empty() && languages_.empty(); }

    // Adds every module with its records to `forms` and `formNames` (once). False, with
    // nothing added, when a module or record cannot be taken as it is.
    bool readRecords(ModuleRecords& forms, NameList& formNames);

private:
    // A "VBComponent" element: its name, where its content lies in the bytes, and its records
    // (null when one of them cannot be taken as it is).
    struct ModuleSpan {
        std::string name;
        size_t contentBegin = 0;
        size_t contentEnd = 0;
        std::shared_ptr<HelpItems> records;
    };

    // Where the piece of the bytes that starts at `begin` ends: after the last end tag of a
    // module in the bytes filled so far, once `more` has read the next ones; the end of all
    // bytes once they are all in place.
    size_t pieceEnd(size_t begin, size_t& filled, const MoreBytes& more) const;
    // True when the bytes [begin, end) are UTF-8 without NUL, the first piece without a byte
    // order mark or another declared encoding.
    bool isPlainPiece(size_t begin, size_t end) const;
    // Reads the declaration and the root's start tag; true when the root closes itself.
    bool readRootStart(PlainHelpDataCursor& cursor);
    // Reads the languages and where each module's content lies, up to the cursor's end (`end`);
    // true once the root's end tag is read. Before the end of all bytes, the piece ends between
    // two elements.
    bool readRootContent(PlainHelpDataCursor& cursor, size_t end);
    // Reads the records of the modules from `first` on, whose content lies in the bytes
    // [begin, end), giving back their memory where the owner lets it; false when one of them is
    // not in the plain form.
    bool readModules(size_t first, size_t begin, size_t end);
    // The records of one module, or null when one of them cannot be taken as it is;
    // `wellFormed` tells whether the content is in the plain form.
    std::shared_ptr<HelpItems> readModule(const ModuleSpan& module, bool& wellFormed) const;

    std::string_view bytes_;
    char* ownBytes_ = nullptr; // the same bytes when the read may give them back
    bool gaveBytesBack_ = false;
    const SelectedLanguageList* slot_ = nullptr;
    std::vector<std::pair<std::string, std::string>> rootAttributes_; // as written
    NameList languages_;
    std::vector<ModuleSpan> modules_;
};

} // namespace corvane
