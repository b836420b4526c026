#include "text/LanguageTable.h"

#include "files/AppPaths.h"
#include "files/FileReading.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <istream>
#include <sstream>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view NeutralLanguage = "Neutral";

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    return fields;
}

[[noreturn]] void badLine(const std::string& source, int lineNumber, const std::string& what) {
    throw VbError(vberr::InvalidCall,
                  source + ", line " + std::to_string(lineNumber) + ": " + what, source);
}

int parseInt(const std::string& text, int base, const std::string& source, int lineNumber) {
    size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used, base);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < 0)
        badLine(source, lineNumber, "'" + text + "' is not a number");
    return static_cast<int>(value);
}

} // namespace

LanguageTable LanguageTable::read(std::istream& in, const std::string& sourceName) {
    LanguageTable table;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        auto fields = splitTabs(line);
        if (fields.size() != 4)
            badLine(sourceName, lineNumber, "expected 4 fields separated by tabs");
        LanguageInfo info;
        info.name = fields[0];
        info.codePage = parseInt(fields[1], 10, sourceName, lineNumber);
        info.lcid = static_cast<uint32_t>(parseInt(fields[2], 16, sourceName, lineNumber));
        info.dictionary = fields[3];
        info.ownCodePage = !equalsIgnoreCase(info.name, NeutralLanguage);
        if (table.languages_.Contains(info.name))
            badLine(sourceName, lineNumber, "the language '" + info.name + "' is listed twice");
        std::string key = info.name;
        table.languages_.Add(std::move(info), key);
    }
    return table;
}

LanguageTable LanguageTable::readFile(const std::filesystem::path& path) {
    std::istringstream in(readFileBytes(path));
    return read(in, path.string());
}

const LanguageTable& LanguageTable::installed() {
    static const LanguageTable table = readFile(dataDirectory() / "languagecodes.txt");
    return table;
}

LanguageInfo LanguageTable::lookup(std::string_view language) const {
    if (languages_.Contains(language))
        return languages_.Item(language);
    if (languages_.Contains(NeutralLanguage))
        return languages_.Item(NeutralLanguage);
    return LanguageInfo{std::string(language), 1252, 0x409, "en_US", false};
}

LanguageInfo LanguageTable::forProject(std::string_view language, int projectCodePage) const {
    LanguageInfo info = lookup(language);
    if (info.ownCodePage || info.codePage == projectCodePage)
        return info;
    info.codePage = projectCodePage;
    for (const LanguageInfo& other : languages_)
        if (other.ownCodePage && other.codePage == projectCodePage) {
            info.lcid = other.lcid;
            break;
        }
    return info;
}

} // namespace corvane
