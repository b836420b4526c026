// SpellingDictionary: one Hunspell dictionary ("en_US", "de_DE"), opened by name from the
// folders where dictionaries are installed.
//
// Words go in and come out as UTF-8; the dictionary converts them to the encoding its
// files declare. Hunspell itself accepts missing files silently (it prints to stderr and then
// rejects every word), so the files are checked before Hunspell sees them and a missing or
// broken dictionary is a clear failure instead of a check that questions every word.
//
// Suggestions come in two steps. Hunspell first tries the words one edit away and the
// replacements its ".aff" file lists. Only where that finds nothing but the word split in two
// ("Che ques") does it search every word of the dictionary for similar ones (its n-gram
// search, nine tenths of its time). Hunspell itself skips that search when a listed
// replacement fits; here any word one edit away does. Either way the suggestions start as
// Hunspell's whole search would start them (SpellingEditSuggester opens the first step).
//
// Each word is looked up in Hunspell once: the answer is kept until a word is added. The
// scripts its words are written in come from the letters its ".aff" file tries when it
// suggests (the "TRY" line).
// Not safe for use from two threads at once: a thread of its own needs an object of its own.
#pragma once

#include "spelling/HunspellHandle.h"
#include "spelling/SpellingCharacters.h"
#include "spelling/SpellingEncoding.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class Hunspell;

namespace corvane {

class SpellingDictionary {
public:
    // Words longer than this many bytes are questioned without asking Hunspell, which
    // rejects them anyway and grows slow on them.
    static constexpr size_t MaxWordBytes = 200;
    // Words longer than this many bytes get no suggestions: suggesting grows with the length.
    static constexpr size_t MaxSuggestBytes = 80;

    // The folders searched, in order: each folder of $CORVANE_DICTIONARY_PATH (separated
    // like PATH), then /usr/share/hunspell and /usr/share/myspell/dicts, then the data
    // folder's "dictionaries" where it has one.
    static std::vector<std::filesystem::path> searchFolders();

    // The folder that holds both "<name>.aff" and "<name>.dic", or an empty path.
    static std::filesystem::path findFolder(std::string_view name,
                                            const std::vector<std::filesystem::path>& folders);

    // Opens the dictionary. Raises VbError 5 for a name that is not a plain file name or a
    // ".dic" file without its word count, 53 when no folder holds both files (the message
    // names the dictionary and the folders searched).
    explicit SpellingDictionary(std::string_view name,
                                const std::vector<std::filesystem::path>& folders = searchFolders());
    ~SpellingDictionary();
    SpellingDictionary(SpellingDictionary&&) noexcept;
    SpellingDictionary& operator=(SpellingDictionary&&) noexcept;
    // (A moved-from dictionary must not be used.)

    // The dictionary's name ("en_US").
    const std::string& name() const noexcept { return name_; }
    // The folder its files were read from.
    const std::filesystem::path& folder() const noexcept { return folder_; }
    // The encoding its files declare.
    const SpellingEncoding& encoding() const noexcept { return encoding_; }

    // True when the word (UTF-8) is spelled correctly; the empty word is correct.
    bool check(std::string_view word);
    // True when the word has a letter of a script the dictionary's words are written in; every
    // letter counts when its ".aff" file does not tell.
    bool hasLetterOfItsScript(std::string_view word) const;
    // Spelling suggestions for a word, best first, in UTF-8 (in two steps: see above).
    std::vector<std::string> suggest(std::string_view word);
    // Accepts the word from now on, for as long as this object lives (with the capitalised
    // forms Hunspell derives from it).
    void addWord(std::string_view word);

private:
    Hunspell& editSuggester();

    std::string name_;
    std::filesystem::path folder_;
    HunspellHandle hunspell_;
    SpellingEncoding encoding_; // read from the open dictionary, so after hunspell_
    // The same dictionary without the n-gram search, opened at the first suggestion.
    HunspellHandle editSuggester_;
    bool editSuggesterFailed_ = false;
    // The words added, in the dictionary's encoding, for the edit suggester when it opens.
    std::vector<std::string> addedEncoded_;
    // Added words that the dictionary's encoding cannot hold: accepted as written.
    std::unordered_set<std::string> addedUnencodable_;
    // Hunspell's answer for each word asked since the last word was added.
    std::unordered_map<std::string, bool> answers_;
    // One bit per LetterScript its words are written in; 0 when not known.
    unsigned scripts_ = 0;
};

} // namespace corvane
