#include "files/FileObject.h"

#include "files/FileOperations.h"
#include "files/FileReading.h"
#include "platform/SystemFiles.h"
#include "platform/Utf8Path.h"
#include "vbruntime/VbError.h"

#include <cerrno>

namespace corvane {

namespace {

constexpr int32_t InputPastEndOfFile = 62;

void rejectSeparator(std::string_view part, const char* what) {
    if (size_t at = part.find_first_of(platform::FolderSeparators); at != std::string_view::npos)
        throw VbError(vberr::InvalidCall, std::string("A file ") + what + " cannot hold \"" + part[at] + "\": '" +
                                              std::string(part) + "'");
}

bool isKind(const std::filesystem::path& path, platform::FileKind kind) {
    platform::FileStatus info;
    return platform::statusAt(path, info) && info.kind == kind;
}

// The same for a path's UTF-8 text (on Windows a std::string becomes a path in the ANSI code page).
bool isKind(const std::string& path, platform::FileKind kind) { return isKind(platform::pathFromUtf8(path), kind); }

// Why a file cannot be created in a folder that is not there: it does not exist, and, when the
// nearest folder above it that exists is read-only, that nothing can make it there (a caller
// that tried to make it and went on names the real cause).
std::string missingFolderReason(const std::string& folder) {
    std::filesystem::path existing = std::filesystem::absolute(platform::pathFromUtf8(folder)).parent_path();
    while (existing.has_relative_path() && !isKind(existing, platform::FileKind::Folder))
        existing = existing.parent_path();
    const int error = platform::writeAccess(existing);
    if (error == 0)
        return "the folder does not exist";
    if (error == EROFS)
        return "the folder does not exist, and it cannot be made: '" + platform::utf8Of(existing) +
               "' is on a read-only file system";
    if (error == EACCES || error == EPERM)
        return "the folder does not exist, and it cannot be made: '" + platform::utf8Of(existing) + "' is read-only";
    return "the folder does not exist";
}

} // namespace

FileObject::FileObject() = default;

FileObject::FileObject(std::filesystem::path fullPath) { SetFullPath(platform::utf8Of(fullPath)); }

FileObject::FileObject(const std::string& fullPath) { SetFullPath(fullPath); }

std::string FileObject::FullPath() const { return folder_ + FileName(); }

void FileObject::SetFullPath(std::string_view fullPath) {
    size_t slash = fullPath.find_last_of(platform::FolderSeparators);
    size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    folder_ = fullPath.substr(0, nameStart);
    std::string_view name = fullPath.substr(nameStart);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) {
        baseName_ = name;
        extension_.clear();
    } else {
        baseName_ = name.substr(0, dot);
        extension_ = name.substr(dot + 1);
    }
}

std::string FileObject::Path() const { return folder_; }

std::string FileObject::FileName() const {
    return extension_.empty() ? baseName_ : baseName_ + "." + extension_;
}

std::string FileObject::BaseName() const { return baseName_; }

void FileObject::SetBaseName(std::string_view baseName) {
    rejectSeparator(baseName, "name");
    baseName_ = baseName;
}

std::string FileObject::Extension() const { return extension_; }

void FileObject::SetExtension(std::string_view extension) {
    rejectSeparator(extension, "extension");
    extension_ = extension;
}

bool FileObject::Exists() const {
    std::string path = FullPath();
    return !path.empty() && isKind(path, platform::FileKind::Regular);
}

void FileObject::OpenForReading() {
    Close();
    content_ = readFileBytes(platform::pathFromUtf8(FullPath()));
    position_ = 0;
    mode_ = Mode::Reading;
}

void FileObject::OpenForWriting(Durability durability) {
    Close();
    std::string path = FullPath();
    std::string folder = folder_.empty() ? "." : folder_;
    if (baseName_.empty() && extension_.empty())
        throw VbError(vberr::PathFileAccess, "Cannot create '" + path + "': the path names no file", path);
    if (!isKind(folder, platform::FileKind::Folder))
        throw VbError(vberr::PathFileAccess, "Cannot create '" + path + "': " + missingFolderReason(folder), path);
    if (isKind(path, platform::FileKind::Folder))
        throw VbError(vberr::PathFileAccess, "Cannot create '" + path + "': it is a folder", path);
    writer_.emplace(platform::pathFromUtf8(path), std::filesystem::path(), durability);
    mode_ = Mode::Writing;
}

std::string FileObject::ReadAll() {
    requireMode(Mode::Reading, "reading");
    std::string rest = content_.substr(position_);
    position_ = content_.size();
    return rest;
}

std::string FileObject::ReadLine() {
    requireMode(Mode::Reading, "reading");
    if (position_ >= content_.size())
        throw VbError(InputPastEndOfFile, "Input past end of file '" + FullPath() + "'", FullPath());
    size_t end = content_.find('\n', position_);
    size_t next = end == std::string::npos ? content_.size() : end + 1;
    if (end == std::string::npos)
        end = content_.size();
    if (end > position_ && content_[end - 1] == '\r' && end < content_.size())
        --end; // CR LF; a CR at the very end without LF stays part of the line
    std::string line = content_.substr(position_, end - position_);
    position_ = next;
    return line;
}

bool FileObject::AtEndOfStream() const {
    return mode_ != Mode::Reading || position_ >= content_.size();
}

void FileObject::Write(std::string_view text) {
    requireMode(Mode::Writing, "writing");
    writer_->write(text);
}

void FileObject::Write(ByteBlocks&& text) {
    requireMode(Mode::Writing, "writing");
    writer_->write(std::move(text));
}

void FileObject::WriteLine(std::string_view text) {
    requireMode(Mode::Writing, "writing");
    writer_->write(text);
    writer_->write("\r\n");
}

void FileObject::Close() {
    Close({});
}

void FileObject::Close(const std::function<void(OutputBuffer& out)>& rest) {
    if (rest) {
        requireMode(Mode::Writing, "writing");
        writer_->commitFollowedBy(rest); // on failure the content stays for another Close()
    } else if (mode_ == Mode::Writing) {
        writer_->commit();
    }
    writer_.reset();
    content_.clear();
    position_ = 0;
    mode_ = Mode::Closed;
}

void FileObject::Delete() {
    writer_.reset();
    content_.clear();
    position_ = 0;
    mode_ = Mode::Closed;
    DeleteFile(platform::pathFromUtf8(FullPath()));
}

void FileObject::requireMode(Mode mode, const char* what) const {
    if (mode_ != mode)
        throw VbError(vberr::InvalidCall,
                      "The file '" + FullPath() + "' is not open for " + what, FullPath());
}

} // namespace corvane
