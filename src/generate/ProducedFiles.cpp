#include "generate/ProducedFiles.h"

#include "generate/HelpOutputLayout.h"
#include "helpdata/HelpDataSettings.h"
#include "platform/Utf8Path.h"

namespace corvane {

namespace fs = std::filesystem;

std::optional<FileStamp> writtenVersion(const fs::path& file) { return FileStamp::at(file); }

ProducedFiles::ProducedFiles(const HelpDataSettings& settings, const HelpOutputLayout& layout) {
    std::vector<HelpOutputFile> kinds;
    std::vector<std::vector<HelpOutputFile>> deliverable; // per format: the compiled file, else the project
    if (settings.mGenerateHTML) {
        kinds.insert(kinds.end(), {HelpOutputFile::Popups, HelpOutputFile::HtmlProject});
        deliverable.push_back({HelpOutputFile::HtmlProject});
        if (settings.mCompileHTML) {
            kinds.push_back(HelpOutputFile::HtmlHelp);
            deliverable.back().insert(deliverable.back().begin(), HelpOutputFile::HtmlHelp);
        }
    }
    if (settings.mGenerateWinHelp) {
        kinds.insert(kinds.end(),
                     {HelpOutputFile::WinHelpProject, HelpOutputFile::WinHelpTopics, HelpOutputFile::WinHelpMap});
        deliverable.push_back({HelpOutputFile::WinHelpProject});
        if (settings.mCompileWinHelp) {
            kinds.push_back(HelpOutputFile::WinHelp);
            deliverable.back().insert(deliverable.back().begin(), HelpOutputFile::WinHelp);
        }
    }
    for (const std::string& language : *settings.SelectedLanguages) {
        for (HelpOutputFile kind : kinds)
            requested_.push_back(platform::pathFromUtf8(layout.languageFile(language, kind)));
        for (const auto& choices : deliverable) {
            deliverables_.emplace_back();
            for (HelpOutputFile kind : choices)
                deliverables_.back().push_back(platform::pathFromUtf8(layout.languageFile(language, kind)));
        }
    }
    for (const fs::path& file : requested_)
        before_[file] = writtenVersion(file);
}

bool ProducedFiles::written(const fs::path& file) const {
    auto now = writtenVersion(file);
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
    for (const auto& choices : deliverables_) {
        for (const fs::path& file : choices) {
            if (written(file)) {
                files.push_back(file);
                break;
            }
        }
    }
    return files;
}

} // namespace corvane
