#include "addin/StringTable.h"

#include "addin/ErrorScope.h"
#include "files/FileReading.h"
#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <memory>
#include <optional>
#include <sstream>

namespace corvane::embedded {
std::string_view stringTableText();
} // namespace corvane::embedded

namespace corvane {

namespace {

VbError badLine(std::string_view source, int line, const std::string& what) {
    return VbError(vberr::InvalidCall, "'" + std::string(source) + "' line " + std::to_string(line) + ": " + what,
                   std::string(source));
}

bool isBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// The entry number before the tab, or nothing when it is not a 16-bit number.
std::optional<int16_t> entryNumber(std::string_view digits) {
    int16_t number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || digits[0] == '-')
        return std::nullopt;
    return number;
}

} // namespace

StringTable StringTable::read(std::istream& in, std::string_view source) {
    StringTable table;
    table.source_ = source;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('#') || isBlank(line))
            continue;
        auto tab = line.find('\t');
        if (tab == std::string::npos)
            throw badLine(source, lineNumber, "expected the entry number, a tab and the text");
        auto number = entryNumber(std::string_view(line).substr(0, tab));
        if (!number)
            throw badLine(source, lineNumber, "'" + line.substr(0, tab) + "' is not an entry number");
        std::string text = line.substr(tab + 1);
        if (!isValidUtf8(text))
            throw badLine(source, lineNumber, "the text is not valid UTF-8");
        auto [it, added] = table.entries_.try_emplace(*number, Entry{std::move(text), lineNumber});
        if (!added)
            throw badLine(source, lineNumber,
                          "entry " + std::to_string(*number) + " is given twice (first on line " +
                              std::to_string(it->second.line) + ")");
    }
    return table;
}

StringTable StringTable::read(const std::filesystem::path& file) {
    std::istringstream in(readFileBytes(file));
    return read(in, file.string());
}

StringTable StringTable::builtIn() {
    std::istringstream in{std::string(embedded::stringTableText())};
    return read(in, "resources/strings.txt");
}

void StringTable::override(const StringTable& overrides) {
    for (const auto& [number, entry] : overrides.entries_) {
        if (entries_.count(number) == 0)
            throw badLine(overrides.source_, entry.line, "the program has no entry " + std::to_string(number));
    }
    for (const auto& [number, entry] : overrides.entries_)
        entries_[number].text = entry.text;
}

const std::string* StringTable::find(int16_t number) const {
    auto it = entries_.find(number);
    return it == entries_.end() ? nullptr : &it->second.text;
}

const std::string& StringTable::text(int16_t number) const {
    if (const std::string* found = find(number))
        return *found;
    throw VbError(ResourceNotFound, "Resource with identifier '" + std::to_string(number) + "' not found");
}

namespace {

std::unique_ptr<StringTable>& currentTable() {
    static std::unique_ptr<StringTable> table;
    return table;
}

StringTable loadProgramTable() {
    StringTable table = StringTable::builtIn();
    const char* overrideFile = std::getenv("CORVANE_STRINGS");
    if (overrideFile && *overrideFile)
        table.override(StringTable::read(std::filesystem::path(overrideFile)));
    return table;
}

} // namespace

const StringTable& programStringTable() {
    if (!currentTable())
        currentTable() = std::make_unique<StringTable>(loadProgramTable());
    return *currentTable();
}

void reloadProgramStringTable() { currentTable() = std::make_unique<StringTable>(loadProgramTable()); }

std::string LoadResString(int16_t number) { return programStringTable().text(number); }

namespace {
// nRes + 1 in VB's Integer arithmetic: raises 6 past 32767.
int16_t nextNumber(int16_t number) {
    if (number == INT16_MAX)
        throw VbError(vberr::Overflow);
    return static_cast<int16_t>(number + 1);
}
} // namespace

std::string GetResString(int16_t& nRes) {
    std::string sTmp;
    std::string sRetStr;
    ErrorScope scope("modWizard", "GetResString");
    scope.parameters({watch("nRes", nRes)}).locals({watch("sTmp", sTmp), watch("sRetStr", sRetStr)});
    return scope.run([&] {
        bool continued = false;
        do {
            sTmp.clear(); // an entry skipped after a failure ends the joining
            scope.step([&] { sTmp = LoadResString(nRes); });
            continued = sTmp.ends_with('_');
            sRetStr += continued ? sTmp.substr(0, sTmp.size() - 1) : sTmp;
            scope.step([&] { nRes = nextNumber(nRes); });
        } while (continued);
        return sRetStr;
    });
}

} // namespace corvane
