// HtmlHelpProjectWriter: the HTML Help side of one language's help projects.
//
// For one language it collects the text-popup file "<Name>_ContextTopics.txt" (one
// ".topic <id>" entry per topic, encoded in the language's ANSI code page), writes it,
// writes the project "<Name>_Context.hhp" from "template.hhp" and runs the HTML Help
// compiler on it. Characters the code page cannot hold become '?' in the popup file and
// "Warning:" lines that the generator adds to the compile output.
#pragma once

#include "files/AtomicFile.h"
#include "generate/HelpOutputLayout.h"
#include "generate/PopupText.h"
#include "process/ProcessRunner.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class HtmlHelpProjectWriter {
public:
    // A popup file of `projectName` (made a safe file name, SafeFileName.h) in `languageFolder`
    // (ending in "/") in `codePage`; nothing is written yet. VbError 5 for a code page the
    // system lacks. With Durability::Deferred the files are not flushed to disk on their own:
    // the caller syncs its batch of files.
    HtmlHelpProjectWriter(std::string languageFolder, std::string projectName, int codePage,
                          Durability durability = Durability::Flush);

    // Appends one topic: ".topic <id>", the text as one written line, an empty line.
    void addTopic(int32_t contextId, std::string_view text);
    // Every topic at once: a popup file made elsewhere (TopicsAhead) in the writer's code
    // page, in place of any topics added before. With `file`, the popup file prepared with
    // them: writePopupFile puts it in place.
    void addTopics(PopupText&& popups, std::optional<AtomicFile> file = std::nullopt);
    // Writes the popup file (replacing an old one whole).
    void writePopupFile();
    // "Warning:" lines naming the characters the popup file's code page could not hold
    // ("" when there were none).
    std::string encodingWarnings() const;
    // "Note:" lines naming the help text lines written with a blank in front so as not to
    // start a topic ("" when there were none).
    std::string notes() const;

    // Writes the project file from the template file, the language's LCID in it.
    void writeProject(const std::filesystem::path& templateFile, uint32_t lcid) const;
    // Compiles the project with a compiler command template within `limits`; the compiler's
    // output, with an "Error:" line when no compiled file came out (HelpCompilerRun.h).
    std::string compile(std::string_view commandTemplate, const RunLimits& limits = {}) const;

    // The popup file's name without folder: "<Name>_ContextTopics.txt".
    std::string popupFileName() const { return HelpOutputLayout::fileName(HelpOutputFile::Popups, projectName_); }
    // Full paths of the popup file, the project file and the compiled file it names.
    std::string popupFile() const { return inFolder(HelpOutputFile::Popups); }
    std::string projectFile() const { return inFolder(HelpOutputFile::HtmlProject); }
    std::string compiledFile() const { return inFolder(HelpOutputFile::HtmlHelp); }
    // The encoded popup file so far.
    const PopupText& popups() const noexcept { return popups_; }

    // The filled "template.hhp": the keys ProjectName, TextPopups, Map ("") and LCID
    // ("0x" and four hex digits) between "%" signs.
    static std::string fillProject(std::string_view templ, const std::string& projectName,
                                   const std::string& popupFileName, uint32_t lcid);

private:
    std::string inFolder(HelpOutputFile file) const { return folder_ + HelpOutputLayout::fileName(file, projectName_); }

    std::string folder_;
    std::string projectName_;
    Durability durability_;
    PopupText popups_;
    std::optional<AtomicFile> preparedPopups_; // the popup file, written ahead
    bool streamed_ = false; // the popup file was written as its topics were made
};

} // namespace corvane
