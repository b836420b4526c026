#include "generate/ProducedFiles.h"

#include "generate/HelpOutputLayout.h"
#include "helpdata/HelpDataSettings.h"

namespace corvane {

namespace fs = std::filesystem;

std::optional<fs::file_time_type> lastWrittenTime(const fs::path& file) {
    std::error_code error;
    auto time = fs::last_write_time(file, error);
    return error ? std::nullopt : std::optional(time);
}

ProducedFiles::ProducedFiles(const HelpDataSettings& settings, const HelpOutputLayout& layout) {
    std::vector<HelpOutputFile> kinds, deliverable;
    if (settings.mGenerateHTML) {
        kinds.insert(kinds.end(), {HelpOutputFile::Popups, HelpOutputFile::HtmlProject});
        if (settings.mCompileHTML)
            kinds.push_back(HelpOutputFile::HtmlHelp);
        deliverable.push_back(settings.mCompileHTML ? HelpOutputFile::HtmlHelp : HelpOutputFile::HtmlProject);
    }
    if (settings.mGenerateWinHelp) {
        kinds.insert(kinds.end(),
                     {HelpOutputFile::WinHelpProject, HelpOutputFile::WinHelpTopics, HelpOutputFile::WinHelpMap});
        if (settings.mCompileWinHelp)
            kinds.push_back(HelpOutputFile::WinHelp);
        deliverable.push_back(settings.mCompileWinHelp ? HelpOutputFile::WinHelp : HelpOutputFile::WinHelpProject);
    }
    for (const std::string& language : *settings.SelectedLanguages) {
        for (HelpOutputFile kind : kinds)
            requested_.emplace_back(layout.languageFile(language, kind));
        for (HelpOutputFile kind : deliverable)
            deliverables_.emplace_back(layout.languageFile(language, kind));
    }
    for (const fs::path& file : requested_)
        before_[file] = lastWrittenTime(file);
}

bool ProducedFiles::written(const fs::path& file) const {
    auto now = lastWrittenTime(file);
    auto noted = before_.find(file);
    return now && (noted == before_.end() || now != noted->second);
}

std::vector<fs::path> ProducedFiles::missing() const {
    std::vector<fs::path> files;
    for (const fs::path& file : requested_)
        if (!written(file))
            files.push_back(file);
    return files;
}

std::vector<fs::path> ProducedFiles::delivered() const {
    std::vector<fs::path> files;
    for (const fs::path& file : deliverables_)
        if (written(file))
            files.push_back(file);
    return files;
}

} // namespace corvane
