// The Windows implementation of SystemFiles.h, over the C runtime's descriptors and the
// system handles behind them.
#ifdef _WIN32

// The rename with POSIX semantics is declared for Windows 10 and later.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#endif

#include "platform/SystemFiles.h"
#include "platform/WindowsErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <cstring>
#include <random>
#include <vector>
#include <share.h>
#include <string>
#include <sys/stat.h>
#include <windows.h>

namespace corvane::platform {

namespace {

// FileRenameInfoEx, which the MinGW headers declare only for a later _WIN32_WINNT.
constexpr auto RenameWithFlags = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// FILETIME (100 ns since 1601) as ns since 1970.
long long nanosecondsOf(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return (static_cast<long long>(value.QuadPart) - 116444736000000000LL) * 100;
}

bool statusOfHandle(HANDLE handle, FileStatus& status) {
    if (handle == INVALID_HANDLE_VALUE) {
        errno = EBADF;
        return false;
    }
    const DWORD type = ::GetFileType(handle);
    if (type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR) {
        status = FileStatus{};
        status.kind = type == FILE_TYPE_PIPE ? FileKind::Fifo : FileKind::CharacterDevice;
        return true;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(handle, &info)) {
        errno = errnoOf(::GetLastError());
        return false;
    }
    status.kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder
                  : (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? FileKind::Link
                                                                            : FileKind::Regular;
    status.permissions = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    status.device = info.dwVolumeSerialNumber;
    status.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    status.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    status.modifiedNs = nanosecondsOf(info.ftLastWriteTime);
    // The change time, which a program that sets the write time back cannot set back with it.
    FILE_BASIC_INFO basic;
    if (::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
        FILETIME changed;
        changed.dwLowDateTime = static_cast<DWORD>(basic.ChangeTime.QuadPart);
        changed.dwHighDateTime = static_cast<DWORD>(basic.ChangeTime.QuadPart >> 32);
        status.changedNs = nanosecondsOf(changed);
    } else {
        status.changedNs = status.modifiedNs;
    }
    return true;
}

// A handle on the file or folder itself, only to examine it.
HANDLE openToExamine(const std::filesystem::path& path, bool followLink) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, flags, nullptr);
}

// Opens a file by the system with every sharing mode (so that it can be renamed over and
// removed while open, as on POSIX) and wraps the handle in a descriptor.
int openShared(const std::filesystem::path& path, DWORD access, DWORD disposition, int runtimeFlags) {
    HANDLE handle = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoOf(::GetLastError());
        return -1;
    }
    int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), runtimeFlags | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

} // namespace

bool statusOf(int fd, FileStatus& status) { return statusOfHandle(handleOf(fd), status); }

bool statusAt(const std::filesystem::path& path, FileStatus& status, bool followLink) {
    HANDLE handle = openToExamine(path, followLink);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoOf(::GetLastError());
        return false;
    }
    const bool known = statusOfHandle(handle, status);
    ::CloseHandle(handle);
    return known;
}

int openForReading(const std::filesystem::path& path, bool /*noFollow*/) {
    return openShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY);
}

int openForUpdate(const std::filesystem::path& path, bool create, bool exclusive) {
    const DWORD disposition = exclusive ? CREATE_NEW : create ? OPEN_ALWAYS : OPEN_EXISTING;
    return openShared(path, GENERIC_READ | GENERIC_WRITE, disposition, _O_RDWR);
}

int openReference(const std::filesystem::path& /*path*/) { return -1; }

int createUniqueFile(std::string& pattern, std::size_t suffixLength, unsigned permissions) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    if (pattern.size() < suffixLength + 6) {
        errno = EINVAL;
        return -1;
    }
    std::random_device seed;
    std::mt19937 random(seed());
    const std::size_t start = pattern.size() - suffixLength - 6;
    if (pattern.compare(start, 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = 0; i < 6; ++i)
            pattern[start + i] = letters[random() % (sizeof letters - 1)];
        const std::filesystem::path path(std::u8string(pattern.begin(), pattern.end()));
        int fd = openShared(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, _O_RDWR);
        if (fd >= 0) {
            if ((permissions & 0222) == 0)
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

int closeFile(int fd) { return ::_close(fd); }

long long readSome(int fd, char* into, std::size_t size) {
    DWORD read = 0;
    if (!::ReadFile(handleOf(fd), into, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &read, nullptr)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
            return 0;
        errno = errnoOf(error);
        return -1;
    }
    return read;
}

long long readAt(int fd, char* into, std::size_t size, std::uint64_t offset) {
    // A read at an offset moves a synchronous handle's position: it is put back afterwards.
    HANDLE handle = handleOf(fd);
    LARGE_INTEGER none{};
    LARGE_INTEGER position{};
    const bool known = ::SetFilePointerEx(handle, none, &position, FILE_CURRENT);
    struct Restore {
        HANDLE handle;
        bool known;
        LARGE_INTEGER position;
        ~Restore() {
            if (known)
                ::SetFilePointerEx(handle, position, nullptr, FILE_BEGIN);
        }
    } restore{handle, known, position};
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(handle, into, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &read, &at)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_HANDLE_EOF)
            return 0;
        errno = errnoOf(error);
        return -1;
    }
    return read;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handleOf(fd), bytes.data(), static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30)),
                         &written, nullptr)) {
            errno = errnoOf(::GetLastError());
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool replaceContent(int fd, std::string_view bytes) {
    HANDLE handle = handleOf(fd);
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle)) {
        errno = errnoOf(::GetLastError());
        return false;
    }
    return writeAll(fd, bytes);
}

int flushFile(int fd) { return ::FlushFileBuffers(handleOf(fd)) ? 0 : errnoOf(::GetLastError()); }

// NTFS writes a folder's entries in its own journal: nothing to flush.
int flushFolder(const std::filesystem::path& /*folder*/) { return 0; }

// Flushing a volume needs an administrator; each file was flushed as it was written.
int flushFileSystem(const std::filesystem::path& /*path*/) { return 0; }

void startWriteBack(int /*fd*/) {}

namespace {

// The rename with POSIX semantics (Windows 10 on NTFS): replaces the target even while other
// programs hold it open, as on POSIX systems. False where the system or file system lacks it.
bool renameWithPosixSemantics(const std::filesystem::path& from, const std::filesystem::path& to) {
    HANDLE handle = ::CreateFileW(from.c_str(), DELETE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring target = std::filesystem::absolute(to).wstring();
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + (target.size() + 1) * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->Flags = FILE_RENAME_FLAG_REPLACE_IF_EXISTS | FILE_RENAME_FLAG_POSIX_SEMANTICS;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.c_str(), (target.size() + 1) * sizeof(wchar_t));
    const bool renamed = ::SetFileInformationByHandle(handle, RenameWithFlags, rename, static_cast<DWORD>(buffer.size()));
    ::CloseHandle(handle);
    return renamed;
}

bool movedReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Replaces a target that readers hold open, sharing its deletion (as this program's readers
// do), where the system renames nothing over an open file: the target moves aside to a unique
// name beside it, the new file into its place, and the old file is deleted (it goes when its
// last reader closes it). When the new file cannot move in, the old one goes back. False (the
// system's error in `error`) when the target could not be moved aside or was put back.
bool replacedMovingAside(const std::filesystem::path& from, const std::filesystem::path& to, DWORD& error) {
    const DWORD attributes = ::GetFileAttributesW(to.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    static const wchar_t letters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::filesystem::path aside;
    for (int attempt = 0;; ++attempt) {
        std::wstring suffix = L".";
        for (int i = 0; i < 6; ++i)
            suffix += letters[random() % (sizeof letters / sizeof *letters - 1)];
        aside = to;
        aside += suffix + L".old";
        if (::MoveFileExW(to.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH))
            break;
        error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return false;
        if (attempt == 20)
            return false;
    }
    if (!movedReplacing(from, to)) {
        error = ::GetLastError();
        ::MoveFileExW(aside.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);
        return false;
    }
    ::DeleteFileW(aside.c_str());
    return true;
}

bool heldByAnother(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION; }

} // namespace

int renameReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (renameWithPosixSemantics(from, to))
        return 0;
    // Without those semantics a target that is open elsewhere refuses to be replaced. A holder
    // that shares deletion lets it move aside; one that does not (a virus scanner, an indexer)
    // often lets go within moments, so the replacement is tried a few times over 150 ms.
    DWORD error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (attempt > 0)
            ::Sleep(10u << attempt);
        if (movedReplacing(from, to))
            return 0;
        error = ::GetLastError();
        if (!heldByAnother(error))
            break;
        DWORD asideError = error;
        if (replacedMovingAside(from, to, asideError))
            return 0;
    }
    return errnoOf(error);
}

int exchangeFiles(const std::filesystem::path&, const std::filesystem::path&) {
    return ENOTSUP; // no single step swaps two files; callers compare and rename instead
}

int removeFile(const std::filesystem::path& path) {
    return ::DeleteFileW(path.c_str()) ? 0 : errnoOf(::GetLastError());
}

int writeAccess(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return errnoOf(::GetLastError());
    // A folder's read-only attribute only marks it as special to Explorer.
    if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return EACCES;
    return 0;
}

bool canExecute(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool canEnter(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        errno = errnoOf(::GetLastError());
        return false;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

int lockFile(int fd, LockMode mode, bool wait) {
    // One byte far beyond any content: the lock shuts out other lockers, never readers.
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    DWORD flags = (mode == LockMode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0) |
                  (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (::LockFileEx(handleOf(fd), flags, 0, 1, 0, &at))
        return 0;
    const DWORD error = ::GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? EWOULDBLOCK : errnoOf(error);
}

} // namespace corvane::platform

#endif
