#include "generate/HelpOutputLayout.h"

#include "files/SafeFileName.h"
#include "platform/Utf8Path.h"
#include "text/LanguageTable.h"
#include "text/TextCodec.h"
#include "vbruntime/ByteScan.h"

#include <utility>

namespace corvane {

HelpOutputLayout::HelpOutputLayout(std::string_view projectFile, std::string projectName, int projectCodePage)
    : projectFolder_(projectFile.substr(0, projectFile.find_last_of(platform::FolderSeparators) + 1)), projectName_(nameStart(projectName)),
      givenName_(std::move(projectName)),
      separator_(projectFolder_.empty() ? static_cast<char>(std::filesystem::path::preferred_separator) : projectFolder_.back()),
      projectCodePage_(projectCodePage) {
    std::string_view fileName = projectFile.substr(projectFolder_.size());
    projectFileStem_ = safeFileName(fileName.substr(0, fileName.rfind('.')));
}

std::string HelpOutputLayout::languageProjectName(std::string_view language) const {
    if (bytescan::asciiPrefix(projectName_) == projectName_.size())
        return projectName_; // every code page holds ASCII
    const int codePage = LanguageTable::installed().forProject(language, projectCodePage_).codePage;
    for (const std::string& name : {projectName_, projectFileStem_})
        if (!name.empty() && canEncode(name, codePage))
            return name;
    return "Project";
}

std::string HelpOutputLayout::outputFolder() const {
    return projectFolder_ + std::string(OutputFolderName);
}

std::string HelpOutputLayout::languageFolder(std::string_view language) const {
    return outputFolder() + separator_ + safeFileName(language) + separator_;
}

std::string HelpOutputLayout::languageFile(std::string_view language, HelpOutputFile file) const {
    return languageFolder(language) + fileName(file, languageProjectName(language));
}

std::string HelpOutputLayout::besideProject(HelpOutputFile compiled) const {
    return projectFolder_ + fileName(compiled, projectName_);
}

std::string HelpOutputLayout::helpFileSetting(HelpOutputFile compiled, std::string_view language) const {
    std::string setting = fileName(compiled, projectName_);
    if (compiled == HelpOutputFile::HtmlHelp)
        setting += "::/" + (language.empty() ? projectName_ : languageProjectName(language)) + "_contexttopics.txt";
    return setting;
}

namespace {

std::string renamingNote(std::string_view what, std::string_view name, std::string_view used) {
    return "Note: The " + std::string(what) + " \"" + std::string(name) + "\" cannot be a file name (" +
           unsafeFileNameReason(name) + "); its help files are written under the name \"" + std::string(used) +
           "\" instead.\n";
}

} // namespace

std::string HelpOutputLayout::renamingNotes(const std::vector<std::string>& languages) const {
    std::string notes;
    if (projectName_ != givenName_)
        notes += renamingNote("project name", givenName_, projectName_);
    else if (const std::string map = fileName(HelpOutputFile::WinHelpMap, projectName_); map != projectName_ + ".h")
        notes += "Note: The WinHelp map file of the project \"" + givenName_ + "\" cannot be named \"" + projectName_ +
                 ".h\" (" + unsafeFileNameReason(projectName_ + ".h") + "); it is written as \"" + map +
                 "\" instead.\n";
    for (const std::string& language : languages)
        if (const std::string used = safeFileName(language); used != language)
            notes += renamingNote("language name", language, used);
    return notes;
}

std::string HelpOutputLayout::nameStart(std::string_view name) {
    if (name.empty())
        return "_";
    // Mapped as the start of a longer name: "Con" stays, as "Con_Context.chm" names no device,
    // and an end in a dot or a space is followed by the rest of the name.
    std::string safe = safeFileName(std::string(name) + "_");
    safe.pop_back();
    return safe;
}

std::string HelpOutputLayout::fileName(HelpOutputFile file, std::string_view projectName) {
    const std::string name = nameStart(projectName);
    switch (file) {
    case HelpOutputFile::Popups:
        return name + "_ContextTopics.txt";
    case HelpOutputFile::HtmlProject:
        return name + "_Context.hhp";
    case HelpOutputFile::HtmlHelp:
        return name + "_Context.chm";
    case HelpOutputFile::WinHelpProject:
        return name + "_Context.hpj";
    case HelpOutputFile::WinHelpTopics:
        return name + "_ContextTopics.rtf";
    case HelpOutputFile::WinHelpMap:
        return safeFileName(name + ".h"); // "Con.h" would name a device
    case HelpOutputFile::WinHelp:
        return name + "_Context.hlp";
    }
    return name;
}

} // namespace corvane
