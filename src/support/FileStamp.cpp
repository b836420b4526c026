#include "support/FileStamp.h"

#include <sys/stat.h>

namespace corvane {

std::optional<FileStamp> FileStamp::of(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return FileStamp{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                     static_cast<unsigned long long>(info.st_size),
                     info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                     info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
}

} // namespace corvane
