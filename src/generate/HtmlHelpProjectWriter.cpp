#include "generate/HtmlHelpProjectWriter.h"

#include "files/FileObject.h"
#include "generate/HelpCompilerRun.h"
#include "generate/HelpLanguage.h"
#include "generate/HelpOutputLayout.h"
#include "platform/Utf8Path.h"
#include "vbruntime/Utilities.h"
#include "vbruntime/VbError.h"

#include <cstdio>

namespace corvane {

HtmlHelpProjectWriter::HtmlHelpProjectWriter(std::string languageFolder, std::string projectName, int codePage,
                                             Durability durability)
    : folder_(std::move(languageFolder)), projectName_(HelpOutputLayout::nameStart(projectName)), durability_(durability),
      popups_(codePage) {}

void HtmlHelpProjectWriter::addTopic(int32_t contextId, std::string_view text) { popups_.appendTopic(contextId, text); }

void HtmlHelpProjectWriter::addTopics(PopupText&& popups, std::optional<AtomicFile> file) {
    if (popups.codePage() != popups_.codePage())
        throw VbError(vberr::InvalidCall, "The popup topics were made for another code page", "HtmlHelpProjectWriter");
    popups_ = std::move(popups);
    streamed_ = file.has_value();
    preparedPopups_ = std::move(file);
}

void HtmlHelpProjectWriter::writePopupFile() {
    if (!streamed_) {
        popups_.writeFile(platform::pathFromUtf8(popupFile()), durability_);
        return;
    }
    if (preparedPopups_) { // once in place, the bytes are not written again
        preparedPopups_->commit(); // a failed rename keeps it prepared for another try
        preparedPopups_.reset();
    }
}

std::string HtmlHelpProjectWriter::encodingWarnings() const { return popups_.warnings(popupFileName()); }

std::string HtmlHelpProjectWriter::notes() const { return popups_.notes(popupFileName()); }

void HtmlHelpProjectWriter::writeProject(const std::filesystem::path& templateFile, uint32_t lcid) const {
    FileObject file(templateFile);
    file.OpenForReading();
    // CR LF throughout, whatever line ends the template has.
    std::string templ = withCrLf(file.ReadAll());
    file.Close();
    file.SetFullPath(projectFile());
    file.OpenForWriting(durability_);
    file.WriteLine(fillProject(templ, projectName_, popupFileName(), lcid));
    file.Close();
}

std::string HtmlHelpProjectWriter::compile(std::string_view commandTemplate, const RunLimits& limits) const {
    return runHtmlHelpCompiler(commandTemplate, projectFile(), compiledFile(), limits);
}

std::string HtmlHelpProjectWriter::fillProject(std::string_view templ, const std::string& projectName,
                                               const std::string& popupFileName, uint32_t lcid) {
    char lcidText[16];
    std::snprintf(lcidText, sizeof lcidText, "0x%04X", static_cast<unsigned>(lcid));
    KeyedCollection<std::string> values;
    values.Add(projectName, "ProjectName");
    values.Add(popupFileName, "TextPopups");
    values.Add("", "Map");
    values.Add(lcidText, "LCID");
    return Utilities::FillTemplate(templ, values, '%');
}

} // namespace corvane
