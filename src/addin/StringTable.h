// StringTable: the program's captions and messages by number (entries 101 to 158).
//
// The table is built into the program from resources/strings.txt. Translators may give a file
// of their own in the same format through $CORVANE_STRINGS; its entries replace the built-in
// ones. Format: one entry a line, the number, a tab and the text exactly as shown (trailing
// spaces count; a CR before the line feed and a UTF-8 BOM are dropped); lines starting with
// "#" and blank lines are skipped. Bad lines raise VbError 5 naming the file and the line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>

namespace corvane {

// The VB run-time number of a missing resource.
inline constexpr int32_t ResourceNotFound = 326;

class StringTable {
public:
    // Reads a table from a stream; `source` names it in errors (a file name).
    static StringTable read(std::istream& in, std::string_view source);
    // Reads a table file; raises VbError 53 when it does not exist.
    static StringTable read(const std::filesystem::path& file);
    // The table built into the program.
    static StringTable builtIn();

    // Replaces entries by those of `overrides`; an entry this table does not have raises
    // VbError 5 naming the overrides' source and line.
    void override(const StringTable& overrides);

    // The text of an entry, or null when there is none.
    const std::string* find(int16_t number) const;
    // The text of an entry; raises VbError 326 "Resource with identifier 'N' not found".
    const std::string& text(int16_t number) const;
    // The number of entries.
    size_t size() const noexcept { return entries_.size(); }

private:
    struct Entry {
        std::string text;
        int line = 0; // where the entry stands in its source
    };
    std::string source_;
    std::map<int16_t, Entry> entries_;
};

// The program's table: the built-in entries with those of $CORVANE_STRINGS over them. Loaded on
// first use; a bad override file raises its error on every use until it loads.
const StringTable& programStringTable();
// Reads the program's table again (after $CORVANE_STRINGS changed); raises the file's errors
// and then keeps the table it had.
void reloadProgramStringTable();

// VB's LoadResString: the text of entry `number` of the program's table; raises 326 when missing.
std::string LoadResString(int16_t number);

// The text of entry `nRes` joined with the following entries as long as each ends with "_"
// (the "_" dropped); `nRes` is left at the number after the last entry used. Runs under the
// error report as modWizard's GetResString.
std::string GetResString(int16_t& nRes);

} // namespace corvane
