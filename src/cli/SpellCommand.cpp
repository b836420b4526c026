#include "cli/SpellCommand.h"

#include "cli/CodePageOption.h"
#include "cli/HeadlessSession.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "support/CustomDictionary.h"
#include "support/MessageText.h"
#include "support/SpellingService.h"

#include <optional>

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

void printBadWord(std::ostream& out, const std::string& module, const std::string& key, const std::string& language,
                  const BadWord& bad) {
    out << module << " " << key << " " << language << ": \"" << bad.word << "\" -> ";
    out << (bad.suggestions.empty() ? std::string("(no suggestions)") : joined(bad.suggestions)) << "\n";
}

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

// Prints the questioned words of every record in module, control and language order; returns
// their number. Dictionaries stay open, so switching the language per text is cheap.
int checkProject(SpellingService& service, FrmWizard& editor, const std::vector<std::string>& languages,
                 std::ostream& out) {
    int questioned = 0;
    const ModuleRecords& modules = *editor.formsData();
    for (int32_t x = 1; x <= modules.Count(); ++x) {
        for (const auto& record : *modules.Item(x)) {
            for (const std::string& language : languages) {
                if (!record->HelpTexts.Contains(language))
                    continue;
                service.setLanguage(language);
                for (const BadWord& bad : service.check(record->HelpTexts.Item(language))) {
                    printBadWord(out, editor.formNames()->Item(x), record->ControlName, language, bad);
                    ++questioned;
                }
            }
        }
    }
    return questioned;
}

} // namespace

int runSpell(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    SpellOptions options;
    std::vector<std::string> rest = arguments;
    if (!takeCodePageOption(rest, options.codePage, "spell", err) || !parseOptions(rest, options, err))
        return 2;
    HeadlessSession session(out, err, false);
    bool opened = session.open(options.project, options.codePage);
    for (const auto& message : session.windows().messages())
        err << "[" << message.title << "] " << message.prompt << "\n";
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
    int questioned = checkProject(*service, *session.editor(), usable, out);
    out << "Questioned words: " << questioned << "\n";
    if (incomplete || session.reportsMade() > 0)
        return 2;
    return questioned > 0 ? 1 : 0;
}

} // namespace corvane::cli
