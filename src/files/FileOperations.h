// FileOperations: the folder and file operations the program uses. Failures are VbError 53
// (file not found) or 75 (path/file access) whose description names the file(s) and the
// reason the system gave.
#pragma once

#include <filesystem>

namespace corvane {

// Creates a folder and its missing parents; an existing folder is no error, a file of that
// name is (75).
void CreateFolder(const std::filesystem::path& folder);

// Copies a file's bytes; the target is replaced whole through AtomicFile, so a failed copy
// leaves an existing target as it was. 53 when `from` does not exist.
void CopyFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Deletes a file; a missing file is no error, a folder is (75).
void DeleteFile(const std::filesystem::path& file);

// Renames (moves) a file within one file system; an existing target is replaced atomically.
// 53 when `from` does not exist.
void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace corvane
