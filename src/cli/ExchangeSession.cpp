#include "cli/ExchangeSession.h"

#include "cli/EditorTexts.h"
#include "cli/OutputTarget.h"
#include "editor/FrmWizard.h"
#include "platform/Utf8Path.h"
#include "settings/ModMain.h"
#include "text/LanguageTable.h"
#include "text/MessageText.h"
#include "vbide/VBProject.h"

#include <algorithm>

namespace corvane::cli {

ExchangeSession::ExchangeSession(std::ostream& out, std::ostream& err, std::string command, SessionWrites writes)
    : err_(err), command_(std::move(command)), session_(out, err, false, writes) {}

bool ExchangeSession::open(const std::string& projectFile, std::optional<int> codePage) {
    bool opened = session_.open(platform::pathFromUtf8(projectFile), codePage);
    session_.printScanWarnings(command_);
    if (!opened)
        return false;
    FrmWizard* editor = session_.editor();
    if (!editor || !editor->formsData() || session_.reportsMade() > 0) {
        err_ << "corvane " << command_ << ": the scan of " << projectFile
             << " failed (see above), so its help text is not known; nothing was done\n";
        return false;
    }
    copyTexts();
    return true;
}

std::string ExchangeSession::projectFileAt(const std::filesystem::path& output) {
    return cli::projectFileAt(output, *session_.project(), dataFile());
}

std::string ExchangeSession::unfitOutput(const std::filesystem::path& output) {
    return cli::unfitOutput(output, *session_.project(), dataFile());
}

void ExchangeSession::copyTexts() {
    FrmWizard& editor = *session_.editor();
    const ModMain& settings = session_.addin().modMain();
    dataFile_ = editor.helpDataFile().path();
    texts_.project = platform::utf8Of(platform::pathFromUtf8(session_.project()->FileName()).filename());
    texts_.primaryLanguage = settings.mPrimaryLanguage;
    texts_.languages.assign(settings.SelectedLanguages->begin(), settings.SelectedLanguages->end());
    // The command works on the copy alone (an import writes through a reading of its own): the
    // editor saves nothing from here on, and each module's records go once they are copied, so
    // that the help text of a large project is not held twice.
    editor.stopSaving();
    ModuleRecords& modules = *editor.formsData();
    const std::vector<std::string> unreadable = session_.unreadableModules();
    texts_.modules.reserve(static_cast<size_t>(modules.Count()));
    for (int32_t x = 1; x <= modules.Count(); ++x) {
        HelpItems& records = *modules.Item(x);
        if (!isGoneModule(records)) {
            texts_.modules.push_back(takeModuleTexts(editor.formNames()->Item(x), records));
            texts_.modules.back().unreadable =
                std::find(unreadable.begin(), unreadable.end(), texts_.modules.back().name) != unreadable.end();
        }
        records = HelpItems();
    }
}

std::filesystem::path ExchangeSession::dataFile() const {
    return dataFile_;
}

int ExchangeSession::projectCodePage() const {
    return session_.project()->codePage();
}

std::string ExchangeSession::projectLanguage(const std::string& language) {
    std::string name = texts_.languageNamed(language);
    if (name.empty()) {
        err_ << "corvane " << command_ << ": '" << language << "' is not a language of "
             << texts_.project << "; its languages are " << joined(texts_.languages) << "\n";
    }
    return name;
}

std::string ExchangeSession::languageTag(const std::string& language) {
    std::string tag = LanguageTable::installed().lookup(language).dictionary;
    std::replace(tag.begin(), tag.end(), '_', '-');
    return tag;
}

} // namespace corvane::cli
