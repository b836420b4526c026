#include "ownhelp/HtmlHelp.h"

#include "ownhelp/ChmArchive.h"
#include "ownhelp/HelpViewer.h"
#include "vbruntime/VbError.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace corvane {

namespace {

// The file argument split into the help file and the window type.
struct FileArgument {
    std::string path;
    std::string window;
};

FileArgument splitFileArgument(const std::string& argument) {
    size_t separator = argument.rfind('>');
    if (separator == std::string::npos)
        return {argument, ""};
    return {argument.substr(0, separator), argument.substr(separator + 1)};
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Why the help file cannot be opened, in the user's words.
std::string fileProblem(const std::string& path, const std::string& topic, const VbError& failure) {
    if (path.empty())
        return "No help file is available for the topic " + quoted(topic) + ".";
    if (failure.number() == vberr::FileNotFound)
        return "The help file " + quoted(path) + " was not found.";
    return "The help file " + quoted(path) + " cannot be read: it is not a compiled HTML Help file or it is damaged.";
}

// Shows the topic, or the message that says why it cannot be shown; true when it was shown.
bool displayTopic(const FileArgument& file, const std::string& requested, HelpViewer& viewer) {
    HelpMessage message{file.path, file.window, requested, {}};
    std::shared_ptr<const ChmArchive> archive;
    try {
        archive = std::make_shared<const ChmArchive>(std::filesystem::path(file.path));
    } catch (const VbError& failure) {
        message.text = fileProblem(file.path, requested, failure);
        viewer.showMessage(message);
        return false;
    }
    HelpTopic topic;
    size_t hash = requested.find('#');
    topic.path = ChmArchive::archivePath(requested.substr(0, hash));
    topic.anchor = hash == std::string::npos ? "" : requested.substr(hash + 1);
    std::optional<std::string> html;
    try {
        if (topic.path.back() != '/')
            html = archive->read(topic.path);
    } catch (const VbError&) {
        message.text = "The topic " + quoted(requested) + " of the help file " + quoted(file.path) +
                       " cannot be read: the file is damaged.";
        viewer.showMessage(message);
        return false;
    }
    if (!html) {
        message.text = "The topic " + quoted(requested) + " was not found in the help file " + quoted(file.path) + ".";
        viewer.showMessage(message);
        return false;
    }
    topic.helpFile = file.path;
    topic.window = file.window;
    topic.html = std::move(*html);
    topic.title = htmlTitle(topic.html);
    if (topic.title.empty())
        topic.title = topic.path.substr(topic.path.rfind('/') + 1);
    topic.archive = std::move(archive);
    viewer.showTopic(topic);
    return true;
}

} // namespace

intptr_t HtmlHelpA(intptr_t /*hwndCaller*/, const std::string& pszFile, uint32_t uCommand, const std::string& dwData) {
    if (uCommand != HH_DISPLAY_TOPIC)
        return 0;
    return displayTopic(splitFileArgument(pszFile), dwData, HelpViewer::current()) ? 1 : 0;
}

} // namespace corvane

