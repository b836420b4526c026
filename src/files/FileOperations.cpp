#include "files/FileOperations.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace corvane {

namespace {

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

bool isFolder(const std::filesystem::path& path) {
    platform::FileStatus info;
    return platform::statusAt(path, info) && info.kind == platform::FileKind::Folder;
}

} // namespace

void CreateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error && !std::filesystem::exists(folder))
        throw VbError(vberr::PathFileAccess,
                      "Cannot create the folder " + quoted(folder) + ": " + error.message(),
                      folder.string());
    if (!isFolder(folder))
        throw VbError(vberr::PathFileAccess,
                      "Cannot create the folder " + quoted(folder) + ": a file of that name exists",
                      folder.string());
}

void CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (isFolder(from))
        throw VbError(vberr::PathFileAccess, "Cannot copy " + quoted(from) + ": it is a folder",
                      from.string());
    std::string bytes = readFileBytes(from); // 53 / 75 naming the source
    try {
        replaceFileAtomically(to, bytes);
    } catch (const VbError& error) {
        throw VbError(error.number(),
                      "Cannot copy " + quoted(from) + " to " + quoted(to) + ". " + error.description(),
                      to.string());
    }
}

void DeleteFile(const std::filesystem::path& file) {
    if (isFolder(file))
        throw VbError(vberr::PathFileAccess, "Cannot delete " + quoted(file) + ": it is a folder",
                      file.string());
    if (int error = platform::removeFile(file); error != 0 && error != ENOENT)
        throw VbError(vberr::PathFileAccess,
                      "Cannot delete " + quoted(file) + ": " + std::strerror(error), file.string());
}

void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    int error = platform::renameReplacing(from, to);
    if (error == 0)
        return;
    std::error_code missing;
    if (error == ENOENT && !std::filesystem::exists(from, missing))
        throw VbError(vberr::FileNotFound,
                      "Cannot rename " + quoted(from) + " to " + quoted(to) + ": the file does not exist",
                      from.string());
    throw VbError(vberr::PathFileAccess,
                  "Cannot rename " + quoted(from) + " to " + quoted(to) + ": " + std::strerror(error),
                  from.string());
}

} // namespace corvane
