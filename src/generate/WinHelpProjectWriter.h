// WinHelpProjectWriter: the WinHelp side of one language's help projects.
//
// For one language it writes, into the language's folder, the project file (the filled
// "template.hpj"), the topic document (the filled "template.rtf", one filled
// "templatetopic.rtf" per topic, and a closing "}") and the map header ("#define IDH_<id>
// <id>" once per context number), then runs the WinHelp compiler and checks that the help
// file came out. The generator calls its steps in this order:
//   readTemplates (A), open (B), addTopic per topic (C), close (D), compile (E).
// The templates are read with CR LF line ends. "template.rtf" declares the language's ANSI code
// page through "%CODE_PAGE%" and its font's character set through "%CHARSET%"; "template.hpj"
// names the language's LCID ("%LCID%") and the same character set. Topic text is escaped for
// RTF in the code page the filled document declares (\ansicpg, 1252 when it names none), so a
// template naming a code page of its own keeps it. The static functions make the texts
// without disk.
#pragma once

#include "files/FileObject.h"
#include "generate/WinHelpTopics.h"
#include "process/ProcessRunner.h"
#include "vbruntime/PreparedTemplate.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class WinHelpProjectWriter {
public:
    // Step A: forgets the map entries and reads "template.rtf", "templatetopic.rtf" and
    // "template.hpj" from `templateFolder` for a language of the ANSI code page
    // `languageCodePage` and the locale `lcid`; VbError 53/75 naming a template that cannot be read.
    void readTemplates(const std::filesystem::path& templateFolder, int languageCodePage = 1252,
                       uint32_t lcid = 0x409);

    // Step B: writes "<Name>_Context.hpj" into `languageFolder` (ending in "/"), creates
    // "<Name>_ContextTopics.rtf" and writes its start, and creates the map "<Name>.h" (<Name> is
    // `projectName` made a safe file name, SafeFileName.h, in the names and in the project). With
    // Durability::Deferred no file is flushed to disk on its own: the caller syncs the batch.
    void open(const std::string& languageFolder, const std::string& projectName,
              Durability durability = Durability::Flush);
    // Step C: appends the topic of one record and, the first time its number is met, its
    // map line. `text` is the record's text in the language ("" when it has none).
    void addTopic(int32_t contextId, std::string_view text);
    // Step C for every record at once: topics made elsewhere (TopicsAhead) with this writer's
    // topic template and code page, in place of any added before. With `document`, the topic
    // document prepared with them (start, topics and end): step D puts it in place.
    void addTopics(WinHelpTopics&& topics, std::optional<AtomicFile> document = std::nullopt);
    // Step D: ends the topic document with "}" and commits it, then the map. After a failure
    // it may be called again; the document still ends with one "}", and a map that cannot be
    // written leaves the topic document written.
    void close();
    // Step E: runs the compiler template on the project file within `limits`; true when the
    // help file exists afterwards (an old one is deleted first).
    bool compile(std::string_view commandTemplate, const RunLimits& limits = {});
    // The "Error:" line naming the compiler when the last compile stopped it ("" otherwise).
    const std::string& stopNote() const noexcept { return stopNote_; }

    // The project file, the help file it names, the topic document and the map.
    const std::string& projectFile() const noexcept { return projectFile_; }
    const std::string& helpFile() const noexcept { return helpFile_; }
    std::string topicFile() const { return topics_.FullPath(); }
    std::string mapFile() const { return map_.FullPath(); }

    // The filled "template.hpj": "%ProjectName%", "%OutputFileName%", "%LCID%" ("0x419") and
    // "%CHARSET%" replaced in that order, letter case ignored.
    static std::string fillProject(std::string_view templ, std::string_view projectName, std::string_view helpFile,
                                   uint32_t lcid, int charset);
    // The filled "template.rtf": the default topic's title, text and context string.
    static std::string fillDocumentStart(std::string_view templ, int codePage);
    // The topic document's start as step B writes it (without its line end), and as it would
    // be for a language of `languageCodePage`, with the templates read in step A.
    std::string documentStart() const { return fillDocumentStart(RTFTemplateText, codePage_); }
    std::string documentStartFor(int languageCodePage) const;
    // The topic template read in step A, and the code page its topic text is escaped in.
    const std::string& topicTemplate() const noexcept { return RTFTopicTemplateText; }
    int codePage() const noexcept { return codePage_; }
    // The code page the topic text of a language of `languageCodePage` would be escaped in,
    // with the "template.rtf" read in step A.
    int codePageFor(int languageCodePage) const;
    // The ANSI code page an RTF document declares with \ansicpgN (1252 when none).
    static int declaredCodePage(std::string_view rtf);

private:
    WinHelpTopics AddedTopics; // the topic and map lines so far
    std::string rtfTemplateAsRead_; // "template.rtf" before the language's values go in
    std::string RTFTemplateText;    // with the language's code page and character set
    std::string RTFTopicTemplateText;
    PreparedTemplate topicTemplate_; // RTFTopicTemplateText, cut at its keys
    std::string HPJTemplateText;
    int codePage_ = 1252;
    uint32_t lcid_ = 0x409;
    std::string projectFile_;
    std::string helpFile_;
    FileObject topics_;
    FileObject map_;
    std::optional<AtomicFile> preparedTopics_; // the whole topic document, written ahead
    bool topicsEnded_ = false; // the topic document has its topics and its end
    bool mapEnded_ = false;    // the map has its lines
    std::string stopNote_;     // why the last compile's compiler was stopped
};

} // namespace corvane
