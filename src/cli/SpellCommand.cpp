#include "cli/SpellCommand.h"

#include "cli/CodePageOption.h"
#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "platform/Utf8Path.h"
#include "settings/ModMain.h"
#include "spelling/CustomDictionary.h"
#include "spelling/SpellingCommonWords.h"
#include "spelling/SpellingService.h"
#include "spelling/SuggestionRanking.h"
#include "text/MessageText.h"

#include <optional>
#include <set>

namespace corvane::cli {

namespace {

struct SpellOptions {
    std::string project;
    std::optional<int> codePage; // --codepage
    std::optional<std::string> language;
};

bool parseOptions(const std::vector<std::string>& arguments, SpellOptions& options, std::ostream& err) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--language" && i + 1 < arguments.size() && !options.language)
            options.language = arguments[++i];
        else if (!argument.empty() && argument[0] != '-' && options.project.empty())
            options.project = argument;
        else {
            err << "corvane spell: unexpected argument '" << argument << "'\n";
            return false;
        }
    }
    if (options.project.empty()) {
        err << "Usage: corvane spell PROJECT.vbp [--language NAME]\n";
        return false;
    }
    return true;
}

// The languages to check, spelled as the project spells them; nothing for an unknown name.
std::optional<std::vector<std::string>> chooseLanguages(const NameList& selected,
                                                        const std::optional<std::string>& wanted) {
    if (!wanted)
        return std::vector<std::string>(selected.begin(), selected.end());
    if (!selected.Contains(*wanted))
        return std::nullopt;
    return std::vector<std::string>{selected.Item(*wanted)};
}

// One questioned word of the project.
struct Finding {
    int32_t module; // position in the editor's module list, from 1
    const ShortText* control;
    const std::string* language;
    std::string word;
};

// The languages whose dictionary opens; the others are reported and marked incomplete.
std::vector<std::string> usableLanguages(SpellingService& service, const std::vector<std::string>& languages,
                                         std::ostream& err, bool& incomplete) {
    std::vector<std::string> usable;
    for (const std::string& language : languages) {
        try {
            service.setLanguage(language);
            usable.push_back(language);
        } catch (const VbError& error) {
            err << "corvane spell: " << language << ": " << error.description() << "\n";
            incomplete = true;
        }
    }
    return usable;
}

// The questioned words of every record in module, control, language and text order, without
// suggestions. Dictionaries stay open, so switching the language per text is cheap, and each
// answers for a distinct word once.
std::vector<Finding> findQuestionedWords(SpellingService& service, FrmWizard& editor,
                                         const std::vector<std::string>& languages) {
    std::vector<Finding> findings;
    const ModuleRecords& modules = *editor.formsData();
    for (int32_t x = 1; x <= modules.Count(); ++x) {
        for (const auto& record : *modules.Item(x)) {
            for (const std::string& language : languages) {
                if (!record->HelpTexts.Contains(language))
                    continue;
                service.setLanguage(language);
                for (BadWord& bad : service.questionedWords(record->HelpTexts.Item(language)))
                    findings.push_back({x, &record->ControlName, &language, std::move(bad.word)});
            }
        }
    }
    return findings;
}

// Searches the suggestions of each language's distinct questioned words at once, on every core.
void searchSuggestions(SpellingService& service, const std::vector<Finding>& findings,
                       const std::vector<std::string>& languages) {
    for (const std::string& language : languages) {
        std::set<std::string_view> distinct;
        std::vector<std::string> words;
        for (const Finding& finding : findings)
            if (*finding.language == language && distinct.insert(finding.word).second)
                words.push_back(finding.word);
        service.setLanguage(language);
        service.prepareSuggestions(words);
    }
}

void printFinding(std::ostream& out, SpellingService& service, FrmWizard& editor, const Finding& finding) {
    service.setLanguage(*finding.language);
    auto suggestions = controls::rankSuggestions(finding.word, service.suggest(finding.word),
                                                 SpellingCommonWords::forDictionary(service.dictionaryName()));
    out << editor.formNames()->Item(finding.module) << " " << *finding.control << " " << *finding.language << ": \""
        << finding.word << "\" -> " << (suggestions.empty() ? std::string("(no suggestions)") : joined(suggestions))
        << "\n";
}

// Prints the questioned words of every record in module, control and language order, their
// suggestions ranked; returns their number.
int checkProject(SpellingService& service, FrmWizard& editor, const std::vector<std::string>& languages,
                 std::ostream& out) {
    std::vector<Finding> findings = findQuestionedWords(service, editor, languages);
    searchSuggestions(service, findings, languages);
    for (const Finding& finding : findings)
        printFinding(out, service, editor, finding);
    return static_cast<int>(findings.size());
}

} // namespace

int runSpell(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    SpellOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "spell", err) || !parseOptions(rest, options, err))
        return 2;
    HeadlessSession session(out, err, false, SessionWrites::Nothing);
    bool opened = session.open(platform::pathFromUtf8(options.project), options.codePage);
    session.printScanWarnings("spell");
    if (!opened || !session.editor() || !session.editor()->formsData()) {
        if (opened)
            err << "corvane: the editor did not open\n";
        return 2;
    }
    const NameList& selected = *session.addin().modMain().SelectedLanguages;
    auto languages = chooseLanguages(selected, options.language);
    if (!languages) {
        err << "corvane spell: unknown language '" << *options.language << "'; the project's languages are "
            << joined(std::vector<std::string>(selected.begin(), selected.end())) << "\n";
        return 2;
    }
    std::optional<SpellingService> service;
    try {
        service.emplace(CustomDictionary::open());
    } catch (const VbError& error) {
        err << "corvane spell: " << error.description() << "\n";
        return 2;
    }
    bool incomplete = false;
    auto usable = usableLanguages(*service, *languages, err, incomplete);
    int questioned = 0;
    try {
        questioned = checkProject(*service, *session.editor(), usable, out);
    } catch (const VbError& error) { // a dictionary's files went while it was in use
        err << "corvane spell: " << error.description() << "\n";
        return 2;
    }
    out << "Questioned words: " << questioned << "\n";
    if (incomplete || session.reportsMade() > 0)
        return 2;
    return questioned > 0 ? 1 : 0;
}

} // namespace corvane::cli
