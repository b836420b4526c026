// OutputTarget: the file a command's -o names, checked against the files of the project the
// command read: an export or a picture must never replace the project file, the help data
// file or a file of one of the project's modules.
#pragma once

#include <filesystem>
#include <string>

namespace corvane::vbide {
class VBProject;
} // namespace corvane::vbide

namespace corvane::cli {

// What `output` would replace of the project ("the project file 'X'", "the help data file
// 'X'", "the file 'X' of the project"), or "" when it is none of them. Files are compared by
// identity (another spelling of the path and a link count as the file); a file that does not
// exist yet is compared by its folder's identity and its name in any letter case, as Windows
// would find it. A module's file counts with its binary file beside it (.frx, .ctx, .pgx,
// .dox, .dsx).
std::string projectFileAt(const std::filesystem::path& output, vbide::VBProject& project,
                          const std::filesystem::path& dataFile);

// Why `output` is no place for a command's output, or "" when it is: a path that exists and
// is no regular file or folder ("a FIFO (named pipe), not a regular file"; a device, a socket), or one of the
// program's own files beside the help data file and the project (the save lock, the editor's
// marker, the recovery file, a kept copy of a damaged data file, the project's lock, the
// compile lock), which only the program writes.
std::string unfitOutput(const std::filesystem::path& output, const vbide::VBProject& project,
                        const std::filesystem::path& dataFile);

} // namespace corvane::cli
