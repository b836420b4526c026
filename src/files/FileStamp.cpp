#include "files/FileStamp.h"

#include "platform/SystemFiles.h"

namespace corvane {

std::optional<FileStamp> FileStamp::of(int fd) {
    platform::FileStatus info;
    if (!platform::statusOf(fd, info))
        return std::nullopt;
    return FileStamp{info.device, info.inode, info.size, info.modifiedNs, info.changedNs};
}

std::optional<FileStamp> FileStamp::at(const std::filesystem::path& path) {
    platform::FileStatus info;
    if (!platform::statusAt(path, info))
        return std::nullopt;
    return FileStamp{info.device, info.inode, info.size, info.modifiedNs, info.changedNs};
}

} // namespace corvane
