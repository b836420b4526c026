#include "spelling/SpellingService.h"

#include "spelling/SpellingCharacters.h"
#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"

#include <cstdlib>

namespace corvane {

namespace {

// The word with typographic apostrophes and hyphens replaced by the plain ones.
std::string plainPunctuation(std::string_view word) {
    std::string plain(word);
    auto replaceAll = [&plain](std::string_view from, std::string_view to) {
        for (size_t at = plain.find(from); at != std::string::npos; at = plain.find(from, at + to.size()))
            plain.replace(at, from.size(), to);
    };
    replaceAll("\u2019", "'");
    replaceAll("\u2010", "-");
    replaceAll("\u2011", "-");
    return plain;
}

// True for a word of one letter (with the marks that belong to it).
bool isSingleLetter(std::string_view word) {
    size_t letters = 0;
    for (size_t pos = 0; pos < word.size() && letters < 2;) {
        if (utf8SequenceLength(word, pos) == 0)
            return false;
        letters += isCombiningMark(nextCodePoint(word, pos)) ? 0 : 1;
    }
    return letters == 1;
}

} // namespace

std::string SpellingService::defaultDictionaryName() {
    const char* configured = std::getenv("CORVANE_DEFAULT_DICTIONARY");
    return configured && *configured ? configured : "en_US";
}

std::string SpellingService::dictionaryNameFor(std::string_view language, const LanguageTable& table) {
    LanguageInfo info = table.lookup(language);
    if (equalsIgnoreCase(info.name, "Neutral") || info.dictionary.empty())
        return defaultDictionaryName();
    return info.dictionary;
}

SpellingService::SpellingService(CustomDictionary custom)
    : SpellingService(std::move(custom), LanguageTable::installed(), SpellingDictionary::searchFolders()) {}

SpellingService::SpellingService(CustomDictionary custom, LanguageTable table,
                                 std::vector<std::filesystem::path> folders)
    : custom_(std::move(custom)),
      table_(std::move(table)),
      folders_(std::move(folders)),
      language_("Neutral"),
      dictionaryName_(dictionaryNameFor(language_, table_)) {}

void SpellingService::setLanguage(std::string_view language) {
    language_ = std::string(language);
    dictionaryName_ = dictionaryNameFor(language, table_);
    current();
}

SpellingService::OpenDictionary& SpellingService::current() {
    auto found = dictionaries_.find(dictionaryName_);
    if (found != dictionaries_.end())
        return found->second;
    SpellingDictionary dictionary(dictionaryName_, folders_);
    for (const auto& word : custom_.words())
        dictionary.addWord(word);
    auto suggestions = sharedSuggestions(dictionary);
    return dictionaries_.emplace(dictionaryName_, OpenDictionary{std::move(dictionary), std::move(suggestions)})
        .first->second;
}

// The suggestions of the dictionary as it stands now, with every word of the custom dictionary.
std::shared_ptr<SpellingSuggestions> SpellingService::sharedSuggestions(const SpellingDictionary& dictionary) const {
    return SpellingSuggestions::shared(dictionary.name(), dictionary.folder(), custom_.words());
}

bool SpellingService::isAcceptedIn(SpellingDictionary& dictionary, std::string_view word) {
    if (isSingleLetter(word) || !dictionary.hasLetterOfItsScript(word))
        return true; // nothing a dictionary of the language could check
    if (ignored_.count(word) != 0 || dictionary.check(word))
        return true;
    std::string plain = plainPunctuation(word);
    return plain != word && dictionary.check(plain);
}

bool SpellingService::isAcceptedAt(SpellingDictionary& dictionary, std::string_view text, const WordSpan& span) {
    std::string_view word = wordText(text, span);
    if (isAcceptedIn(dictionary, word))
        return true;
    size_t after = span.byteStart + span.byteLength;
    if (after >= text.size() || (text[after] != '.' && text[after] != '-'))
        return false;
    return dictionary.check(std::string(word) + text[after]);
}

std::vector<BadWord> SpellingService::check(std::string_view text) {
    std::vector<BadWord> bad = questionedWords(text);
    for (BadWord& word : bad)
        word.suggestions = suggest(word.word);
    return bad;
}

std::vector<BadWord> SpellingService::questionedWords(std::string_view text) {
    SpellingDictionary& dictionary = current().dictionary;
    std::vector<BadWord> bad;
    for (const auto& span : splitWords(text))
        if (!isAcceptedAt(dictionary, text, span))
            bad.push_back(BadWord{span, std::string(wordText(text, span)), {}});
    return bad;
}

std::optional<BadWord> SpellingService::nextBadWord(std::string_view text, size_t fromCharacter) {
    SpellingDictionary& dictionary = current().dictionary;
    for (const auto& span : splitWords(text))
        if (span.start >= fromCharacter && !isAcceptedAt(dictionary, text, span))
            return BadWord{span, std::string(wordText(text, span)), {}};
    return std::nullopt;
}

bool SpellingService::isAccepted(std::string_view word) { return isAcceptedIn(current().dictionary, word); }

std::vector<std::string> SpellingService::suggest(std::string_view word) {
    return current().suggestions->suggest(word);
}

void SpellingService::prepareSuggestions(const std::vector<std::string>& words) {
    current().suggestions->prepare(words);
}

void SpellingService::ignoreAll(std::string_view word) { ignored_.emplace(word); }

void SpellingService::addToDictionary(std::string_view word) {
    custom_.add(word);
    for (auto& [name, open] : dictionaries_) {
        open.dictionary.addWord(word);
        open.suggestions = sharedSuggestions(open.dictionary); // the word may be suggested now
    }
}

} // namespace corvane
