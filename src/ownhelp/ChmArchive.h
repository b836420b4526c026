// ChmArchive: reads the files stored in a compiled HTML Help file (.chm), through chmlib.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace corvane {

class ChmArchive {
public:
    // Opens `file`; raises 53 (naming the file) when it does not exist and 75 when it cannot be
    // read as a compiled HTML Help file.
    explicit ChmArchive(const std::filesystem::path& file);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // The file this archive was opened from.
    const std::filesystem::path& file() const noexcept { return file_; }
    // True when the archive stores a file at `path` ("/a.html" or "a.html").
    bool contains(std::string_view path) const;
    // The bytes of the file at `path`; nothing when the archive has no such file.
    std::optional<std::string> read(std::string_view path) const;
    // The paths of the stored content files ("/a.html"), in the archive's order; the compiler's
    // own bookkeeping files ("/#SYSTEM", "::DataSpace/...") and folders are left out.
    std::vector<std::string> entries() const;

    // The trial read of an archive in this process: opens `file` (its narrow name) with chmlib
    // and reads every entry; 0 when it got to the end, 1 when chmlib cannot open it. It crashes
    // where chmlib does: the trial program ("corvane-chm-trial") runs it where the system cannot
    // fork a child for the trial.
    static int readThroughHere(const std::string& file);

    // `path` as the archive names it: "\" becomes "/", and a leading "/" is added when missing.
    static std::string archivePath(std::string_view path);

private:
    struct Closer {
        void operator()(chmFile* handle) const noexcept;
    };

    std::filesystem::path file_;
    std::unique_ptr<chmFile, Closer> handle_;
    // chmlib keeps a block cache per handle, so reads from several threads take turns.
    mutable std::mutex mutex_;
};

} // namespace corvane
