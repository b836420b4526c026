// PreviewCommand: `corvane preview PROJECT.vbp --module NAME -o FILE.png [--language L]`
// draws the layout preview of one form or user control into a PNG file without a display,
// for documentation and review: the same picture the editor's preview window shows, with the
// controls with and without help text in the language (default: the project's current
// language) drawn apart. Controls with missing or odd geometry are listed on standard output
// as "Odd geometry: CONTROL: what". Exit status: 0 when the picture was written, 1 when it
// could not be written or the designer could not be read (the picture then says why), 2 for a
// usage error, a project that cannot be opened, an unknown module or language.
#pragma once

#include <string>
#include <vector>

namespace corvane::app {

// Runs the command on its arguments (after "preview"); returns the exit status. Makes the Qt
// application it needs (offscreen unless a platform is set) when there is none.
int runPreview(int& argc, char** argv, const std::vector<std::string>& arguments);

} // namespace corvane::app
