#include "generate/WinHelpProjectWriter.h"

#include "addin/StringTable.h"
#include "generate/HelpCompilerRun.h"
#include "generate/HelpLanguage.h"
#include "generate/HelpOutputLayout.h"
#include "generate/RtfText.h"
#include "generate/TextReplace.h"
#include "vbruntime/Utilities.h"

#include <charconv>
#include <string>

namespace corvane {

namespace {

// A template's text with CR LF line ends, whatever the file has: every generated file is
// also read by Windows tools.
std::string readTemplate(const std::filesystem::path& file) {
    FileObject templ(file);
    templ.OpenForReading();
    std::string text = templ.ReadAll();
    templ.Close();
    return withCrLf(text);
}

std::string withCodePage(std::string_view rtf, int languageCodePage) {
    return replaceAllIgnoreCase(rtf, "%CODE_PAGE%", std::to_string(languageCodePage));
}

// "template.rtf" for a language: it states the language's code page, unless the template names
// one of its own; the font's character set follows the code page the document declares, which
// `codePage` receives.
std::string documentTemplate(std::string_view asRead, int languageCodePage, int& codePage) {
    const std::string document = withCodePage(asRead, languageCodePage);
    codePage = WinHelpProjectWriter::declaredCodePage(document);
    return replaceAllIgnoreCase(document, "%CHARSET%", std::to_string(charsetOfCodePage(codePage)));
}

} // namespace

void WinHelpProjectWriter::readTemplates(const std::filesystem::path& templateFolder, int languageCodePage,
                                         uint32_t lcid) {
    AddedTopics.clear();
    rtfTemplateAsRead_ = readTemplate(templateFolder / "template.rtf");
    RTFTopicTemplateText = readTemplate(templateFolder / "templatetopic.rtf");
    topicTemplate_ = WinHelpTopics::prepareTopic(RTFTopicTemplateText);
    HPJTemplateText = readTemplate(templateFolder / "template.hpj");
    // The project's character set follows the code page the document declares, too.
    RTFTemplateText = documentTemplate(rtfTemplateAsRead_, languageCodePage, codePage_);
    lcid_ = lcid;
}

std::string WinHelpProjectWriter::documentStartFor(int languageCodePage) const {
    int codePage = 1252;
    const std::string templ = documentTemplate(rtfTemplateAsRead_, languageCodePage, codePage);
    return fillDocumentStart(templ, codePage);
}

int WinHelpProjectWriter::codePageFor(int languageCodePage) const {
    return declaredCodePage(withCodePage(rtfTemplateAsRead_, languageCodePage));
}

void WinHelpProjectWriter::open(const std::string& languageFolder, const std::string& projectName,
                                Durability durability) {
    topicsEnded_ = mapEnded_ = false;
    auto inFolder = [&](HelpOutputFile file) { return languageFolder + HelpOutputLayout::fileName(file, projectName); };
    projectFile_ = inFolder(HelpOutputFile::WinHelpProject);
    helpFile_ = inFolder(HelpOutputFile::WinHelp);
    FileObject project{projectFile_};
    project.OpenForWriting(durability);
    project.WriteLine(
        fillProject(HPJTemplateText, HelpOutputLayout::nameStart(projectName), helpFile_, lcid_, charsetOfCodePage(codePage_)));
    project.Close();

    topics_.SetFullPath(inFolder(HelpOutputFile::WinHelpTopics));
    topics_.OpenForWriting(durability);
    topics_.WriteLine(documentStart());
    map_.SetFullPath(inFolder(HelpOutputFile::WinHelpMap));
    map_.OpenForWriting(durability);
}

void WinHelpProjectWriter::addTopic(int32_t contextId, std::string_view text) {
    AddedTopics.add(topicTemplate_, codePage_, contextId, text);
}

void WinHelpProjectWriter::addTopics(WinHelpTopics&& topics, std::optional<AtomicFile> document) {
    AddedTopics = std::move(topics);
    preparedTopics_ = std::move(document);
}

void WinHelpProjectWriter::close() {
    // Each file is finished and committed on its own, so that a map that cannot be written
    // costs nothing of the topic document; once a file has its lines it never gets them twice.
    if (!topicsEnded_) {
        if (preparedTopics_) {
            topics_ = FileObject(); // the prepared document holds the start, the topics and the end
        } else {
            topics_.Write(AddedTopics.takeTopicLines());
            topics_.WriteLine("}");
        }
        topicsEnded_ = true;
    }
    if (preparedTopics_) {
        preparedTopics_->commit(); // a failed rename keeps it prepared for another close()
        preparedTopics_.reset();
    }
    topics_.Close();
    if (!mapEnded_) { // its lines go straight into the file: a million topics' map is 28 MB
        map_.Close([this](OutputBuffer& out) { AddedTopics.writeMapLines(out); });
        mapEnded_ = true;
    }
    map_.Close();
}

bool WinHelpProjectWriter::compile(std::string_view commandTemplate, const RunLimits& limits) {
    return runWinHelpCompiler(commandTemplate, projectFile_, helpFile_, limits, stopNote_);
}

std::string WinHelpProjectWriter::fillProject(std::string_view templ, std::string_view projectName,
                                              std::string_view helpFile, uint32_t lcid, int charset) {
    // The map file's name is the one name mapped whole ("Con.h" would name a device).
    std::string text = replaceAllIgnoreCase(templ, "%ProjectName%.h",
                                            HelpOutputLayout::fileName(HelpOutputFile::WinHelpMap, projectName));
    text = replaceAllIgnoreCase(text, "%ProjectName%", projectName);
    text = replaceAllIgnoreCase(text, "%OutputFileName%", helpFile);
    text = replaceAllIgnoreCase(text, "%LCID%", winHelpLcid(lcid));
    return replaceAllIgnoreCase(text, "%CHARSET%", std::to_string(charset));
}

std::string WinHelpProjectWriter::fillDocumentStart(std::string_view templ, int codePage) {
    std::string text = replaceAllIgnoreCase(templ, "%DEFAULT_TOPIC_TITLE%", RtfText::escape(LoadResString(145), codePage));
    text = replaceAllIgnoreCase(text, "%DEFAULT_TOPIC_TEXT%", RtfText::escape(LoadResString(146), codePage));
    return replaceAllIgnoreCase(text, "%DEFAULT_TOPIC_ID%", "IDC_DEFAULT_TOPIC");
}

int WinHelpProjectWriter::declaredCodePage(std::string_view rtf) {
    constexpr std::string_view word = "\\ansicpg";
    size_t at = rtf.find(word);
    if (at == std::string_view::npos)
        return 1252;
    const char* first = rtf.data() + at + word.size();
    int codePage = 0;
    auto [end, error] = std::from_chars(first, rtf.data() + rtf.size(), codePage);
    return error == std::errc() && end != first && codePage > 0 ? codePage : 1252;
}

} // namespace corvane
