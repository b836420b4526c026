// OutputFile: a file a command makes (an export, a picture), written as a stream straight
// into the temporary file of an AtomicFile: a large file is never held in memory, and the old
// file stays whole until the new one is complete (a full disk leaves it as it was; a read-only
// file is not replaced).
//
// The output is a file the command can make again, never the only copy of anything: a write
// that fails leaves no temporary file behind, and the message names what is wrong with the
// target (a folder that does not exist, a folder in its place), not the temporary file.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>

namespace corvane {

// Replaces `path` with what `write` renders; raises VbError 75 naming the file when it cannot.
void writeOutputFile(const std::filesystem::path& path, const std::function<void(std::ostream& out)>& write);

} // namespace corvane
