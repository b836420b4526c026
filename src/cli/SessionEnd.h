// SessionEnd: what becomes of a command's session when the command is done. In the
// command-line program the process ends right after the command, and freeing tens of
// thousands of records and strings one by one only delays that: the program lets the
// system take the memory back instead. Everywhere else (tests, the desktop program, builds
// that check for leaks) the session is destroyed as usual.
#pragma once

#include <memory>

namespace corvane::cli {

class HeadlessSession;

// Says that the process ends as soon as the command returns (only the program's own main
// calls this, and never in a build that checks for leaks).
void endProcessAfterCommand();

// Ends the session: destroyed now, or left to the end of the process when it ends right after
// the command. Everything the session wrote is flushed either way.
void finishSession(std::unique_ptr<HeadlessSession> session);

} // namespace corvane::cli
