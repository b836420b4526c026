// SystemFiles: the file calls of the operating system that the program needs beyond
// std::filesystem, one implementation for POSIX systems and one for Windows.
//
// Files are open descriptors (int, -1 for none) on both: the C library's on POSIX, the C
// runtime's (_wopen) on Windows, whose system handle the Windows implementation asks for where
// it needs one. Failures return -1 or false with errno set, as the POSIX calls do, so callers
// word their messages with std::strerror alike on both. Paths are std::filesystem::path: wide
// at the Windows boundary, bytes on POSIX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace corvane::platform {

// What kind of file a path or descriptor names.
enum class FileKind { Regular, Folder, Fifo, CharacterDevice, BlockDevice, Socket, Link, Other };

// What the system says of a file.
struct FileStatus {
    FileKind kind = FileKind::Other;
    unsigned permissions = 0;     // the POSIX permission bits (07777); 0444 or 0666 on Windows
    std::uint64_t device = 0;     // the device or volume the file lies on
    std::uint64_t inode = 0;      // the file's number on that device
    std::uint64_t size = 0;       // bytes
    long long modifiedNs = 0;     // last change of the bytes, ns since 1970
    long long changedNs = 0;      // last change of the bytes or the file's status, ns since 1970
};

// The status of an open file; false (errno set) when the system cannot tell.
bool statusOf(int fd, FileStatus& status);
// The status of the file `path` names; `followLink` false examines a link itself (lstat).
bool statusAt(const std::filesystem::path& path, FileStatus& status, bool followLink = true);

// Opens a file for reading without waiting for a FIFO's writer; reads of the descriptor then
// block as usual. `noFollow` refuses a link.
int openForReading(const std::filesystem::path& path, bool noFollow = false);
// Opens a file for reading and writing (not a link), creating it (0644) when `create`; with
// `exclusive` a file that exists already is refused (EEXIST).
int openForUpdate(const std::filesystem::path& path, bool create, bool exclusive);
// A reference to a file that keeps its blocks while held and reads nothing; -1 where the
// system has no such reference (Windows) or the file cannot be held.
int openReference(const std::filesystem::path& path);
// Creates a file of a unique name from `pattern`, whose six characters before its last
// `suffixLength` ones are "XXXXXX", with the permission bits `permissions`; `pattern` then
// holds the name made. -1 (errno) on failure.
int createUniqueFile(std::string& pattern, std::size_t suffixLength, unsigned permissions);
// Closes a descriptor.
int closeFile(int fd);

// Reads up to `size` bytes at the descriptor's offset; retried when interrupted. -1 on error.
long long readSome(int fd, char* into, std::size_t size);
// Reads up to `size` bytes at `offset` without moving the descriptor's offset. -1 on error.
long long readAt(int fd, char* into, std::size_t size, std::uint64_t offset);
// Writes all bytes at the descriptor's offset; false (errno) when the system refuses.
bool writeAll(int fd, std::string_view bytes);
// Makes the file hold exactly `bytes` (from its start).
bool replaceContent(int fd, std::string_view bytes);

// Flushes the file's bytes to disk. 0, else an errno (EINVAL: the file system cannot).
int flushFile(int fd);
// Flushes a folder's entries to disk (after a rename in it); 0 or an errno as flushFile.
int flushFolder(const std::filesystem::path& folder);
// Flushes every file of the file system that holds `path` to disk; 0 or an errno.
int flushFileSystem(const std::filesystem::path& path);
// Starts writing the file's bytes out without waiting for the disk; a hint only.
void startWriteBack(int fd);

// Renames `from` to `to`, replacing a file there in one step. 0 or an errno. On Windows
// without POSIX rename semantics (Wine, FAT, shares) a target that readers hold open sharing
// its deletion is moved aside first and deleted after; a failure leaves it in place.
int renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Swaps two existing files in one step: `a` then names what `b` named and `b` what `a` named.
// 0 or an errno; ENOTSUP where the system or the file system cannot (Windows, NFS).
int exchangeFiles(const std::filesystem::path& a, const std::filesystem::path& b);
// Removes a file (not a folder). 0 or an errno (ENOENT when there is none).
int removeFile(const std::filesystem::path& path);
// 0 when this user may write `path` (a file or a folder), else the errno that says why not
// (EACCES, EROFS, ENOENT ...).
int writeAccess(const std::filesystem::path& path);
// True when `path` names a program this user may run.
bool canExecute(const std::filesystem::path& path);
// True when this user may enter the folder `path`; false with errno set when not.
bool canEnter(const std::filesystem::path& path);

// Whether a lock shuts out every other holder or only exclusive ones.
enum class LockMode { Shared, Exclusive };
// Takes a lock on the whole open file, held until it is closed (advisory on POSIX, mandatory
// on Windows). With `wait` false a lock held elsewhere returns EWOULDBLOCK at once. 0 or an errno.
int lockFile(int fd, LockMode mode, bool wait);

} // namespace corvane::platform
