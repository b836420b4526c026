#include "spelling/SpellingEditSuggester.h"

#include "platform/SystemFiles.h"
#include "platform/Utf8Path.h"

#include <cctype>
#include <fstream>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

namespace {

// The keyword of an ".aff" line ("COMPOUNDRULE"), or the empty text.
std::string_view keywordOf(std::string_view line) {
    size_t end = line.find_first_of(" \t\r");
    return line.substr(0, end);
}

// The text after the keyword of an ".aff" line, up to the next blank.
std::string_view argumentOf(std::string_view line) {
    size_t start = line.find_first_not_of(" \t", keywordOf(line).size());
    if (start == std::string_view::npos)
        return {};
    return line.substr(start, line.find_first_of(" \t\r", start) - start);
}

// The settings the copy replaces: a second definition would fail the whole file.
bool isReplaced(std::string_view keyword) { return keyword == "MAXNGRAMSUGS" || keyword == "MAXCPDSUGS"; }

} // namespace

bool compoundsOnlyNumbers(const std::filesystem::path& folder, const std::string& name) {
    std::ifstream aff(folder / (name + ".aff"), std::ios::binary);
    std::set<char> ruleFlags;
    bool countRead = false; // the first COMPOUNDRULE line gives the number of rules
    for (std::string line; std::getline(aff, line);) {
        std::string_view keyword = keywordOf(line);
        if (keyword == "FLAG")
            return false; // flags of two letters or numbers: not read here
        if (keyword.starts_with("COMPOUND") && keyword != "COMPOUNDRULE" && keyword != "COMPOUNDMIN")
            return false; // COMPOUNDFLAG, COMPOUNDBEGIN ...: words join
        if (keyword == "COMPOUNDRULE" && std::exchange(countRead, true))
            for (char flag : argumentOf(line))
                if (flag != '*' && flag != '?')
                    ruleFlags.insert(flag);
    }
    std::ifstream dic(folder / (name + ".dic"), std::ios::binary);
    std::string line;
    std::getline(dic, line); // the number of words
    while (std::getline(dic, line)) {
        size_t slash = line.find('/');
        if (slash == std::string::npos || slash == 0 || std::isdigit(static_cast<unsigned char>(line[0])))
            continue;
        std::string_view flags = std::string_view(line).substr(slash + 1);
        flags = flags.substr(0, flags.find_first_of(" \t\r"));
        for (char flag : flags)
            if (ruleFlags.count(flag) != 0)
                return false;
    }
    return true;
}

HunspellHandle openEditSuggester(const std::filesystem::path& folder, const std::string& name) {
    std::ifstream in(folder / (name + ".aff"), std::ios::binary);
    std::string text;
    for (std::string line; std::getline(in, line);)
        if (!isReplaced(keywordOf(line)))
            text += line + '\n';
    if (!in.eof())
        return nullptr;
    text += "MAXNGRAMSUGS 0\n";
    if (compoundsOnlyNumbers(folder, name))
        text += "MAXCPDSUGS 0\n";
    std::error_code error;
    const auto folderOfCopies = std::filesystem::temp_directory_path(error);
    if (error)
        return nullptr;
    std::string copy = (folderOfCopies / ("corvane-" + name + ".XXXXXX.aff")).string();
    const int fd = platform::createUniqueFile(copy, 4, 0600); // made anew: no other file is written
    if (fd < 0)
        return nullptr;
    const bool written = platform::writeAll(fd, text);
    platform::closeFile(fd);
    HunspellHandle suggester = written ? openHunspellFiles(copy, folder / (name + ".dic")) : nullptr;
    platform::removeFile(platform::pathFromUtf8(copy));
    return suggester;
}

} // namespace corvane
