// UnattendedAnswers: what the desktop program does when nobody is there to answer, as in
// `corvane edit PROJECT.vbp --screenshot FILE.png`. Every message box, error report and
// file dialog is answered at once with its default (the default button, Ignore, no file),
// every modal window is closed as with its close box, and each is written to a log
// (standard error) with the answer, so that the run never waits.
#pragma once

#include <iosfwd>
#include <string>

namespace corvane::app {

class QtWindowSystem;
enum class ErrorChoice;

// Answers every question of `windows` and of the error report without asking; each question
// and its answer go to `log`. Registers the error report component anew.
void answerUnattended(QtWindowSystem& windows, std::ostream& log);

// The unattended answer to an error report: the report goes to `log` in one line, answered Ignore.
ErrorChoice ignoreErrorReport(const std::string& report, std::ostream& log);

// True when the desktop program can reach a display: always on Windows; elsewhere a platform
// chosen in QT_QPA_PLATFORM, a Wayland display, or an X display whose local socket exists (or
// which names a host).
bool displayAvailable();

} // namespace corvane::app
