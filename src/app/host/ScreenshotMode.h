// ScreenshotMode: `corvane edit PROJECT.vbp --screenshot FILE.png [options]` takes a picture
// of the editor window as the program shows it, for documentation and for checking the
// desktop program without a user. The options set the editor up first:
//   --module NAME          select that module in the module list
//   --view table|card      the grid's view
//   --group-by KEY         group the grid by a column ("ControlType", "ControlName", ...)
//   --during spellcheck    take the picture while the spell check's dialog asks about the
//                          first questioned word of the module (the check is then cancelled)
//   --during compile       take the picture while the help files are created (busy window)
//   --during preview       picture the editor with the layout preview beside it
//   --during save          save the help text as the Save command does, and picture the error
//                          report over the editor should the save fail
// A window over the editor at that moment (dialog, busy window) is drawn into the picture.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::app {

class GuiSession;

struct ScreenshotRequest {
    std::filesystem::path file;
    std::string module;
    std::string view;
    std::string groupBy;
    std::string during;
};

// Reads the screenshot options from `arguments` at `i` (advancing it); false when the
// argument there is none of them.
bool readScreenshotOption(const std::vector<std::string>& arguments, size_t& i, ScreenshotRequest& request);

// Sets the open editor up as asked and writes the picture; the exit status (0, or 1 with a
// message on `err` when the editor is not open, an option names nothing, or the file cannot
// be written).
int takeScreenshot(GuiSession& session, const ScreenshotRequest& request, std::ostream& err);

} // namespace corvane::app
