// SpellingService: the spelling engine behind the spell-check control. It checks a text in
// the current language and remembers the user's choices for the session.
//
// The dictionary follows the language: the language table names it ("German" -> "de_DE");
// "Neutral" and languages the table does not know use the default dictionary. Dictionaries
// are opened once and kept; the custom dictionary's words are added to each as it opens.
// A language whose dictionary is not installed is a VbError 53 with a clear message, never
// a check that questions every word.
//
// A word (see WordSplitter.h for what a word is) is never questioned when it is a single
// letter, or when none of its letters belongs to the script of the dictionary's language
// (Greek or Cyrillic words in an English text). Any other word is accepted when
// - "Ignore All" was chosen for it in this session (exactly as written), or
// - the dictionary accepts it as written, or with typographic apostrophes and hyphens made
//   plain (’ -> ', U+2010/U+2011 -> -), or
// - it is directly followed by "." or "-" and the dictionary accepts it with that character:
//   abbreviations ("usw.") and the first parts of German compounds ("Rechtschreib- und").
//
// The dictionary answers for each distinct word once. Suggestions come from the dictionary's
// SpellingSuggestions, shared with every other service of the program: each word's are
// searched once, when first asked for, and many words' at once on every core.
#pragma once

#include "spelling/CustomDictionary.h"
#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingSuggestions.h"
#include "spelling/WordSplitter.h"
#include "text/LanguageTable.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A questioned word: where it stands, its text and the dictionary's suggestions, best first
// (left empty where the suggestions are asked for separately).
struct BadWord {
    WordSpan span;
    std::string word;
    std::vector<std::string> suggestions;
};

class SpellingService {
public:
    // The dictionary used for "Neutral": $CORVANE_DEFAULT_DICTIONARY, else "en_US".
    static std::string defaultDictionaryName();
    // The dictionary name of a language (see the header comment).
    static std::string dictionaryNameFor(std::string_view language, const LanguageTable& table);

    // A service over the installed language table and the dictionary folders; the language
    // is "Neutral" until set.
    explicit SpellingService(CustomDictionary custom);
    // A service over the given table and dictionary folders.
    SpellingService(CustomDictionary custom, LanguageTable table, std::vector<std::filesystem::path> folders);

    // Switches to a language and opens its dictionary; raises VbError 53 when the dictionary
    // is not installed (the language stays set, and checks raise the same failure).
    void setLanguage(std::string_view language);
    // The current language.
    const std::string& language() const noexcept { return language_; }
    // The name of the current language's dictionary.
    const std::string& dictionaryName() const noexcept { return dictionaryName_; }

    // Every questioned word of a UTF-8 text, with suggestions, in text order.
    std::vector<BadWord> check(std::string_view text);
    // Every questioned word of a UTF-8 text in text order, without suggestions: Hunspell
    // takes tens of milliseconds to suggest for one word, so a caller asks suggest() for
    // the words it shows, or prepareSuggestions() for many at once.
    std::vector<BadWord> questionedWords(std::string_view text);
    // The first questioned word that starts at or after a character position, without
    // suggestions; nothing when the rest of the text is correct.
    std::optional<BadWord> nextBadWord(std::string_view text, size_t fromCharacter);
    // True when a single word is accepted (the rules above, without the following character).
    bool isAccepted(std::string_view word);
    // Suggestions for a word from the current dictionary, in its order; searched once.
    std::vector<std::string> suggest(std::string_view word);
    // Searches the suggestions of words of the current language on every core, so that
    // suggest() answers them at once.
    void prepareSuggestions(const std::vector<std::string>& words);

    // "Ignore All": the word is accepted for the rest of the session, in every language.
    void ignoreAll(std::string_view word);
    // Forgets every "Ignore All" of the session.
    void clearIgnoreAll() { ignored_.clear(); }
    // "Add to dictionary": saves the word in the custom dictionary (VbError 5 or 75 when it
    // cannot) and accepts it in every dictionary from now on.
    void addToDictionary(std::string_view word);
    // The custom dictionary.
    const CustomDictionary& customDictionary() const noexcept { return custom_; }

private:
    // An open dictionary with the suggestions shared for it.
    struct OpenDictionary {
        SpellingDictionary dictionary;
        std::shared_ptr<SpellingSuggestions> suggestions;
    };

    OpenDictionary& current();
    std::shared_ptr<SpellingSuggestions> sharedSuggestions(const SpellingDictionary& dictionary) const;
    bool isAcceptedIn(SpellingDictionary& dictionary, std::string_view word);
    bool isAcceptedAt(SpellingDictionary& dictionary, std::string_view text, const WordSpan& span);

    CustomDictionary custom_;
    LanguageTable table_;
    std::vector<std::filesystem::path> folders_;
    std::string language_;
    std::string dictionaryName_;
    std::map<std::string, OpenDictionary> dictionaries_;
    std::set<std::string, std::less<>> ignored_;
};

} // namespace corvane
