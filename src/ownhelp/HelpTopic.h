// HelpTopic: what a help window shows, a topic taken out of a help file or a message instead.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class ChmArchive;

// One topic of a compiled help file, ready to show.
struct HelpTopic {
    // The help file the topic comes from.
    std::filesystem::path helpFile;
    // The window type named by the caller ("Default").
    std::string window;
    // The topic's path inside the help file, with its leading "/" ("/gettingstarted.html").
    std::string path;
    // The part after "#" in the requested topic ("" when none): where the page is scrolled to.
    std::string anchor;
    // The page's title (its <title>, else its file name).
    std::string title;
    // The page's HTML, as stored in the help file.
    std::string html;
    // The open help file, for the pages and pictures the topic links to.
    std::shared_ptr<const ChmArchive> archive;

    // The bytes of a file the page links to ("style.css", "../img/a.png", "/b.html#x"),
    // resolved against the topic's path; nothing when the help file has no such file.
    std::optional<std::string> resource(std::string_view link) const;
};

// A message shown in the help window in place of a topic that cannot be shown.
struct HelpMessage {
    // The help file that was asked for ("" when none).
    std::filesystem::path helpFile;
    // The window type named by the caller.
    std::string window;
    // The topic that was asked for.
    std::string topic;
    // The text the user reads, naming the file or the topic.
    std::string text;
};

// The archive path a link of the page at `basePath` leads to: "#anchor", "?query" and a
// "scheme:" prefix are dropped, "." and ".." are applied; "" for a link that leaves the file.
std::string resolveHelpLink(std::string_view basePath, std::string_view link);

// The text of the first <title> element of `html`, with entities decoded and runs of white
// space made one blank; "" when there is none.
std::string htmlTitle(std::string_view html);

} // namespace corvane
