// HtmlHelp: the stand-in for the HTML Help library's HtmlHelpA, which takes a topic out of a
// compiled help file and hands it to the help window (HelpViewer).
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// The command that shows one topic of a help file.
constexpr uint32_t HH_DISPLAY_TOPIC = 0;

// Runs an HTML Help command. `pszFile` is the help file's path, optionally followed by ">" and
// the name of a window type ("C:/x/corvane.chm>Default"). With HH_DISPLAY_TOPIC, `dwData` is the
// topic's path inside the file (a leading "/" is optional, "#anchor" allowed): the topic is shown
// in the current help viewer, or, when the file or the topic is missing, a message naming it.
// Returns 1 when a topic was shown, 0 otherwise; other commands do nothing. `hwndCaller` (the
// owner window) is not used: the help window has no owner.
intptr_t HtmlHelpA(intptr_t hwndCaller, const std::string& pszFile, uint32_t uCommand, const std::string& dwData);

} // namespace corvane
