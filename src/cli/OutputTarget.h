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

} // namespace corvane::cli
