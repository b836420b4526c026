// LanguageTable: what the program knows of each language name: the Windows code page and
// LCID of its help files and the name of its spelling dictionary ("languagecodes.txt").
#pragma once

#include "vbruntime/KeyedCollection.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

namespace corvane {

// The facts of one language.
struct LanguageInfo {
    std::string name;       // as written in the table
    int codePage = 1252;    // ANSI code page of its help files
    uint32_t lcid = 0x409;  // Windows locale identifier
    std::string dictionary; // Hunspell dictionary name ("en_US")
    bool ownCodePage = true; // false for "Neutral" and the languages that take its facts
};

class LanguageTable {
public:
    // A table that knows no language (every lookup gives the defaults).
    LanguageTable() = default;

    // Reads the table from a stream; raises VbError 5 naming `sourceName` and the line of a bad line.
    static LanguageTable read(std::istream& in, const std::string& sourceName);
    // Reads the table from a file; raises VbError 53/75 when it cannot be read.
    static LanguageTable readFile(const std::filesystem::path& path);
    // The table of the program's data folder, read once.
    static const LanguageTable& installed();

    // The facts of a language (letter case ignored); a language missing from the table gets
    // the facts of "Neutral", or 1252 / 0x409 / en_US when that is missing too.
    LanguageInfo lookup(std::string_view language) const;
    // The facts of a language for the help files of a project whose files are in
    // `projectCodePage`: a language without a code page of its own ("Neutral", one missing from
    // the table) writes in the project's, under the LCID of the first language of that code
    // page (so that a help viewer reads the text in it).
    LanguageInfo forProject(std::string_view language, int projectCodePage) const;

private:
    KeyedCollection<LanguageInfo> languages_;
};

} // namespace corvane
