// Notices: what the program tells the user on the side, without asking anything and without
// stopping: a stale lock taken over, temporary files of an interrupted save removed. The command
// line prints them on standard error; a program with windows may show them its own way.
#pragma once

#include <functional>
#include <string>

namespace corvane {

// Where notices go: a function given one notice's text (one or more sentences, no line end).
using NoticeSink = std::function<void(const std::string& text)>;

// Tells the user `text` through the sink installed (standard error, "corvane: note: ...", when none).
void notice(const std::string& text);
// Installs `sink` (an empty function restores standard error); returns the one installed before.
NoticeSink setNoticeSink(NoticeSink sink);

} // namespace corvane
