// FileObject: one object per path, for composing paths and for reading and writing text files.
//
// The path is kept as three parts: the folder (ending in "/", or empty), the base name and
// the extension. Setting the full path splits it at the last "/" and the last "."; a dot
// that is the first or the last character of the name starts no extension (".profile" and
// "name." have none). After that the parts change only one at a time, so SetExtension
// replaces the whole extension that was set before: "x/ContextHelp.txt" with extension
// "txt.tmp" is "x/ContextHelp.txt.tmp", and setting "txt" again gives "x/ContextHelp.txt".
//
// Text access works on bytes as stored (no decoding). A file opened for writing collects
// its content in an AtomicFile that Close() commits, so the old file stays whole until the
// new one is complete; an object destroyed or deleted without Close() writes nothing, so
// that an interrupted save never leaves half a file. Failures are VbError naming the file:
// 53 file not found, 75 path/file access, 62 reading past the end, 5 when the file is not
// open in the right mode.
#pragma once

#include "files/AtomicFile.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class FileObject {
public:
    // An object without a path.
    FileObject();
    // An object denoting `fullPath`.
    explicit FileObject(std::filesystem::path fullPath);
    // An object denoting the path that the UTF-8 text `fullPath` names (a std::filesystem::path
    // made from it would read it in the system's narrow encoding).
    explicit FileObject(const std::string& fullPath);
    explicit FileObject(const char* fullPath) : FileObject(std::string(fullPath)) {}

    // The full path: folder, base name, and "." plus the extension when there is one.
    std::string FullPath() const;
    // Points the object at another path (an open file stays open on its old path).
    void SetFullPath(std::string_view fullPath);
    // The folder, ending in the native separator "/" ("" when the path names no folder).
    std::string Path() const;
    // The name and extension.
    std::string FileName() const;
    // The name without extension.
    std::string BaseName() const;
    // Replaces the base name, keeping folder and extension; VbError 5 when it holds a "/".
    void SetBaseName(std::string_view baseName);
    // The extension without the dot ("" when there is none).
    std::string Extension() const;
    // Replaces the extension (without the dot; may hold dots, "" removes it); VbError 5
    // when it holds a "/".
    void SetExtension(std::string_view extension);

    // True when a file (not a folder) exists at the full path.
    bool Exists() const;

    // Opens the file for reading (closing what was open); 53 / 75 naming the file.
    void OpenForReading();
    // Opens the file for writing, created anew when Close() commits; 75 when its folder does
    // not exist or a folder has its name. With Durability::Deferred the commit does not flush
    // the file to disk: the caller ends its batch of files with syncFileSystem().
    void OpenForWriting(Durability durability = Durability::Flush);
    // The rest of the file as one string ("" at the end).
    std::string ReadAll();
    // The next line without its CR LF or LF; 62 at the end of the file.
    std::string ReadLine();
    // True when nothing is left to read (or nothing is open for reading).
    bool AtEndOfStream() const;
    // Appends text to the file being written.
    void Write(std::string_view text);
    // Appends text and CR LF (the program's files are also read by Windows tools).
    void WriteLine(std::string_view text);
    // Appends text made elsewhere, taking over its blocks.
    void Write(ByteBlocks&& text);
    // Commits a write (75 naming the file on failure; the content is kept, so Close() may be
    // tried again); no-op when nothing is open.
    void Close();
    // The same, the text written followed by what `rest` appends straight into the file, which
    // is never held in memory (`rest` appends it again when Close is tried again); like Write,
    // an error when the file is not open for writing.
    void Close(const std::function<void(OutputBuffer& out)>& rest);
    // Deletes the file, dropping anything open; no error when the file is missing.
    void Delete();

private:
    enum class Mode { Closed, Reading, Writing };

    void requireMode(Mode mode, const char* what) const;

    std::string folder_;    // "" or ending in "/"
    std::string baseName_;
    std::string extension_; // without the dot
    Mode mode_ = Mode::Closed;
    std::string content_;   // the file being read
    size_t position_ = 0;   // next byte to read in content_
    std::optional<AtomicFile> writer_;
};

} // namespace corvane
