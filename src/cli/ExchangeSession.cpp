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

void ExchangeSession::copyTexts() {
    FrmWizard& editor = *session_.editor();
    const ModMain& settings = session_.addin().modMain();
    texts_.project = platform::utf8Of(platform::pathFromUtf8(session_.project()->FileName()).filename());
    texts_.primaryLanguage = settings.mPrimaryLanguage;
    texts_.languages.assign(settings.SelectedLanguages->begin(), settings.SelectedLanguages->end());
    const ModuleRecords& modules = *editor.formsData();
    const std::vector<std::string> unreadable = session_.unreadableModules();
    for (int32_t x = 1; x <= modules.Count(); ++x) {
        if (isGoneModule(*modules.Item(x)))
            continue;
        texts_.modules.push_back(moduleTexts(editor.formNames()->Item(x), *modules.Item(x)));
        texts_.modules.back().unreadable =
            std::find(unreadable.begin(), unreadable.end(), texts_.modules.back().name) != unreadable.end();
    }
}

std::filesystem::path ExchangeSession::dataFile() const {
    return session_.editor()->helpDataFile().path();
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
