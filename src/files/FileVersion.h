// FileVersion: the version of a file that a program read, held open until it is let go, so that
// the program can ask before it replaces the file whether the file on disk is still that version.
//
// A file's identity (device and inode) alone does not tell: a file replaced by a rename frees
// its inode, and the next file made in the folder may get the same number, with the same size
// and, within the file system's clock tick, the same times. While the version is held open its
// inode cannot be given to another file, so equal stamps then mean the same bytes.
//
//   FileVersion read = FileVersion::open(path);      // !exists(): the file does not exist
//   FileBuffer bytes = readFileBuffer(read, path, ...); // the bytes of exactly that version
//   ...
//   if (!read.isCurrent(path)) { /* another program replaced or changed the file */ }
#pragma once

#include "files/FileStamp.h"

#include <filesystem>
#include <optional>
#include <string>

namespace corvane {

class FileVersion {
public:
    // No version: the file did not exist.
    FileVersion() = default;
    ~FileVersion();
    FileVersion(FileVersion&& other) noexcept;
    FileVersion& operator=(FileVersion&& other) noexcept;
    FileVersion(const FileVersion&) = delete;
    FileVersion& operator=(const FileVersion&) = delete;

    // The version of the file now at `path` (links followed); no version when it does not exist.
    // VbError 75 naming the file when it exists but cannot be opened.
    static FileVersion open(const std::filesystem::path& path);

    // True when the file existed.
    bool exists() const noexcept { return fd_ >= 0; }
    // The descriptor the version is held open by (-1 when none); reads of it see this version.
    int fd() const noexcept { return fd_; }
    // The stamp of the version as it was opened.
    const FileStamp& stamp() const noexcept { return stamp_; }
    // True when `path` still names this version, unchanged: the same file (not replaced) whose
    // bytes nobody wrote since. A version of a file that did not exist is current while there is
    // still no file.
    bool isCurrent(const std::filesystem::path& path) const;

private:
    int fd_ = -1;
    FileStamp stamp_;
};

} // namespace corvane
