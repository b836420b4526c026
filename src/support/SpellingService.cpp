#include "support/SpellingService.h"

#include "support/CaseFold.h"

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

SpellingDictionary& SpellingService::current() {
    auto found = dictionaries_.find(dictionaryName_);
    if (found != dictionaries_.end())
        return found->second;
    SpellingDictionary dictionary(dictionaryName_, folders_);
    for (const auto& word : custom_.words())
        dictionary.addWord(word);
    return dictionaries_.emplace(dictionaryName_, std::move(dictionary)).first->second;
}

bool SpellingService::isAcceptedIn(SpellingDictionary& dictionary, std::string_view word) {
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

BadWord SpellingService::makeBadWord(SpellingDictionary& dictionary, std::string_view text, const WordSpan& span) {
    std::string word(wordText(text, span));
    auto suggestions = dictionary.suggest(word);
    return BadWord{span, std::move(word), std::move(suggestions)};
}

std::vector<BadWord> SpellingService::check(std::string_view text) {
    SpellingDictionary& dictionary = current();
    std::vector<BadWord> bad;
    for (const auto& span : splitWords(text))
        if (!isAcceptedAt(dictionary, text, span))
            bad.push_back(makeBadWord(dictionary, text, span));
    return bad;
}

std::optional<BadWord> SpellingService::nextBadWord(std::string_view text, size_t fromCharacter) {
    SpellingDictionary& dictionary = current();
    for (const auto& span : splitWords(text))
        if (span.start >= fromCharacter && !isAcceptedAt(dictionary, text, span))
            return makeBadWord(dictionary, text, span);
    return std::nullopt;
}

bool SpellingService::isAccepted(std::string_view word) { return isAcceptedIn(current(), word); }

std::vector<std::string> SpellingService::suggest(std::string_view word) { return current().suggest(word); }

void SpellingService::ignoreAll(std::string_view word) { ignored_.emplace(word); }

void SpellingService::addToDictionary(std::string_view word) {
    custom_.add(word);
    for (auto& [name, dictionary] : dictionaries_)
        dictionary.addWord(word);
}

} // namespace corvane
