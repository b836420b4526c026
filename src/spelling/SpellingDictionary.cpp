#include "spelling/SpellingDictionary.h"

#include "files/AppPaths.h"
#include "files/RegularFile.h"
#include "platform/AppFolders.h"
#include "spelling/SpellingEditSuggester.h"
#include "text/TextCodec.h"
#include "vbruntime/VbError.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace corvane {

namespace {

std::string checkedName(std::string_view name) {
    bool plain = !name.empty() && name.front() != '.' &&
                 name.find_first_of("/\\:") == std::string_view::npos;
    if (!plain)
        throw VbError(vberr::InvalidCall,
                      "\"" + std::string(name) + "\" is not the name of a spelling dictionary");
    return std::string(name);
}

std::string folderList(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const auto& folder : folders)
        list += (list.empty() ? "" : ", ") + folder.string();
    return list.empty() ? "(no folder)" : list;
}

std::filesystem::path locate(const std::string& name, const std::vector<std::filesystem::path>& folders) {
    auto folder = SpellingDictionary::findFolder(name, folders);
    if (folder.empty())
        throw VbError(vberr::FileNotFound,
                      "The spelling dictionary \"" + name + "\" is not installed: " + name + ".aff and " +
                          name + ".dic were not found in " + folderList(folders) +
                          ". Install its Hunspell dictionary package or add its folder to "
                          "CORVANE_DICTIONARY_PATH.",
                      name);
    return folder;
}

// Hunspell reads a ".dic" whose first line is not the word count as an empty dictionary.
void checkWordCount(const std::filesystem::path& dic) {
    std::ifstream in(dic, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line))
        throw VbError(vberr::PathFileAccess, dic.string() + ": the spelling dictionary cannot be read",
                      dic.string());
    if (line.starts_with("\xEF\xBB\xBF"))
        line.erase(0, 3);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    bool isCount = !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
    if (!isCount)
        throw VbError(vberr::InvalidCall,
                      dic.string() + ", line 1: a spelling dictionary starts with its number of words",
                      dic.string());
}

HunspellHandle openHunspell(const std::filesystem::path& folder, const std::string& name) {
    auto dic = folder / (name + ".dic");
    auto aff = folder / (name + ".aff");
    checkRegularFile(dic); // Hunspell and the streams would wait on a FIFO
    checkRegularFile(aff);
    checkWordCount(dic);
    if (!std::ifstream(aff, std::ios::binary))
        throw VbError(vberr::PathFileAccess, aff.string() + ": the spelling dictionary cannot be read",
                      aff.string());
    return openHunspellFiles(aff, dic);
}

// True when the suggestions hold a word that is not the questioned word split in two
// ("Che ques", "Che-ques"): those alone are no answer, and the whole search finds better.
bool holdsOneWord(const std::vector<std::string>& suggestions, std::string_view word) {
    bool wordHasHyphen = word.find('-') != std::string_view::npos;
    return std::any_of(suggestions.begin(), suggestions.end(), [&](const std::string& suggestion) {
        return suggestion.find(' ') == std::string::npos && (wordHasHyphen || suggestion.find('-') == std::string::npos);
    });
}

unsigned scriptBit(LetterScript script) { return 1u << static_cast<unsigned>(script); }

// The scripts of the letters a UTF-8 text holds, one bit each.
unsigned scriptsOf(std::string_view text) {
    unsigned scripts = 0;
    for (size_t pos = 0; pos < text.size();) {
        if (utf8SequenceLength(text, pos) == 0) {
            ++pos;
            continue;
        }
        LetterScript script = letterScript(nextCodePoint(text, pos));
        if (script != LetterScript::None)
            scripts |= scriptBit(script);
    }
    return scripts;
}

// The scripts of the letters on the "TRY" line of an ".aff" file: the letters the dictionary
// tries when it suggests are the letters of its words. 0 when there is no such line.
unsigned scriptsTried(const std::filesystem::path& aff, const SpellingEncoding& encoding) {
    std::ifstream in(aff, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("TRY") || line.size() < 4 || !std::isspace(static_cast<unsigned char>(line[3])))
            continue;
        size_t start = line.find_first_not_of(" \t", 3);
        if (start == std::string::npos)
            return 0;
        size_t end = line.find_first_of(" \t\r", start);
        auto letters = encoding.toUtf8(std::string_view(line).substr(start, end - start));
        return letters ? scriptsOf(*letters) : 0;
    }
    return 0;
}

} // namespace

std::vector<std::filesystem::path> SpellingDictionary::searchFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* configured = std::getenv("CORVANE_DICTIONARY_PATH")) {
        std::string_view rest = configured;
        while (!rest.empty()) {
            size_t end = rest.find(platform::PathListSeparator);
            auto entry = rest.substr(0, end);
            if (!entry.empty())
                folders.emplace_back(entry);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    folders.emplace_back("/usr/share/hunspell");
    folders.emplace_back("/usr/share/myspell/dicts");
    // The dictionaries shipped with the program (the Windows package's English one).
    std::error_code error;
    if (const auto shipped = dataDirectory() / "dictionaries"; std::filesystem::is_directory(shipped, error))
        folders.push_back(shipped);
    return folders;
}

std::filesystem::path SpellingDictionary::findFolder(std::string_view name,
                                                     const std::vector<std::filesystem::path>& folders) {
    std::string base(name);
    std::error_code error;
    for (const auto& folder : folders)
        if (std::filesystem::is_regular_file(folder / (base + ".aff"), error) &&
            std::filesystem::is_regular_file(folder / (base + ".dic"), error))
            return folder;
    return {};
}

SpellingDictionary::SpellingDictionary(std::string_view name, const std::vector<std::filesystem::path>& folders)
    : name_(checkedName(name)),
      folder_(locate(name_, folders)),
      hunspell_(openHunspell(folder_, name_)),
      encoding_(hunspell_->get_dict_encoding()),
      scripts_(scriptsTried(folder_ / (name_ + ".aff"), encoding_)) {}

SpellingDictionary::~SpellingDictionary() = default;
SpellingDictionary::SpellingDictionary(SpellingDictionary&&) noexcept = default;
SpellingDictionary& SpellingDictionary::operator=(SpellingDictionary&&) noexcept = default;

bool SpellingDictionary::check(std::string_view word) {
    if (word.empty())
        return true;
    std::string key(word);
    if (auto known = answers_.find(key); known != answers_.end())
        return known->second;
    bool correct = addedUnencodable_.count(key) != 0;
    if (!correct && word.size() <= MaxWordBytes) {
        auto encoded = encoding_.fromUtf8(word);
        correct = encoded && hunspell_->spell(*encoded);
    }
    answers_.emplace(std::move(key), correct);
    return correct;
}

bool SpellingDictionary::hasLetterOfItsScript(std::string_view word) const {
    unsigned scripts = scriptsOf(word);
    return scripts_ == 0 ? scripts != 0 : (scripts & scripts_) != 0;
}

std::vector<std::string> SpellingDictionary::suggest(std::string_view word) {
    std::vector<std::string> suggestions;
    auto encoded = encoding_.fromUtf8(word);
    if (word.empty() || word.size() > MaxSuggestBytes || !encoded)
        return suggestions;
    std::vector<std::string> found = editSuggester().suggest(*encoded);
    if (editSuggester_ && !holdsOneWord(found, *encoded))
        found = hunspell_->suggest(*encoded);
    for (const auto& suggestion : found)
        if (auto text = encoding_.toUtf8(suggestion))
            suggestions.push_back(std::move(*text));
    return suggestions;
}

// The dictionary that suggests words one edit away, opened at the first suggestion with the
// words added so far; the whole dictionary where it cannot be opened.
Hunspell& SpellingDictionary::editSuggester() {
    if (!editSuggester_ && !editSuggesterFailed_) {
        editSuggester_ = openEditSuggester(folder_, name_);
        editSuggesterFailed_ = !editSuggester_;
        for (const std::string& added : addedEncoded_)
            if (editSuggester_)
                editSuggester_->add(added);
    }
    return editSuggester_ ? *editSuggester_ : *hunspell_;
}

void SpellingDictionary::addWord(std::string_view word) {
    if (word.empty())
        return;
    answers_.clear(); // Hunspell accepts forms of the word too
    auto encoded = encoding_.fromUtf8(word);
    if (encoded && word.size() <= MaxWordBytes) {
        hunspell_->add(*encoded);
        if (editSuggester_)
            editSuggester_->add(*encoded);
        addedEncoded_.push_back(std::move(*encoded));
    } else
        addedUnencodable_.insert(std::string(word));
}

} // namespace corvane
