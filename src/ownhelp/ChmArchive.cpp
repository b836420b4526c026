#include "ownhelp/ChmArchive.h"

#include "files/RegularFile.h"
#include "platform/AppFolders.h"
#include "platform/ChildProcess.h"
#include "platform/Utf8Path.h"
#include "process/ProcessRunner.h"
#include "vbruntime/VbError.h"

#include <chm_lib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

// Bytes asked of chmlib per call; a damaged archive may claim any length, so the text grows only
// by what chmlib really returns.
constexpr size_t ReadChunk = 64 * 1024;

// How long the trial read of an archive may take before the archive counts as damaged.
constexpr unsigned TrialSeconds = 10;

int collectEntry(chmFile*, chmUnitInfo* unit, void* context) {
    auto* paths = static_cast<std::vector<std::string>*>(context);
    std::string path(unit->path);
    bool content = path.size() > 1 && path.front() == '/' && path.back() != '/';
    // The compiler's own files: "/#SYSTEM", "/$WWKeywordLinks/...", chmcmd's "/_#_README_#_".
    bool bookkeeping = path.rfind("/#", 0) == 0 || path.rfind("/$", 0) == 0 || path.rfind("/_#_", 0) == 0;
    if (content && !bookkeeping)
        paths->push_back(std::move(path));
    return CHM_ENUMERATOR_CONTINUE;
}

int readWholeEntry(chmFile* handle, chmUnitInfo* unit, void*) {
    unsigned char buffer[ReadChunk];
    for (LONGUINT64 offset = 0; offset < unit->length;) {
        LONGINT64 wanted = static_cast<LONGINT64>(std::min<LONGUINT64>(ReadChunk, unit->length - offset));
        LONGINT64 got = chm_retrieve_object(handle, unit, buffer, offset, wanted);
        if (got <= 0)
            break;
        offset += static_cast<LONGUINT64>(got);
    }
    return CHM_ENUMERATOR_CONTINUE;
}

// The trial: opens the archive and reads every entry; 0 when it got through.
int readThrough(const void* context) {
    const auto& file = *static_cast<const std::string*>(context);
    chmFile* handle = chm_open(file.c_str());
    if (!handle)
        return 1;
    chm_enumerate(handle, CHM_ENUMERATE_ALL, readWholeEntry, nullptr);
    chm_close(handle);
    return 0;
}

// The trial program where the system cannot fork (Windows): CORVANE_CHM_TRIAL, else
// "corvane-chm-trial" beside the running program; empty when there is none.
fs::path trialProgram() {
    if (fs::path named = platform::environmentPath("CORVANE_CHM_TRIAL"); !named.empty())
        return named;
    const fs::path program = platform::currentProgramFile();
    if (program.empty())
        return {};
    std::error_code error;
    for (const fs::path& candidate : platform::programFilesFor(program.parent_path() / "corvane-chm-trial"))
        if (fs::is_regular_file(candidate, error))
            return candidate;
    return {};
}

// The trial in the trial program, limited in time; true when it read the archive to the end.
bool trialProgramReadsThrough(const fs::path& program, const std::string& file) {
    ProcessRunner runner;
    runner.setTimeLimit(std::chrono::seconds(TrialSeconds));
    try {
        runner.Run("\"" + platform::utf8Of(program) + "\" \"" + file + "\"");
    } catch (const VbError&) {
        return true; // the trial program cannot start: the archive is opened as it is
    }
    return runner.ended() == RunEnd::Exited && runner.ExitCode() == 0;
}

// chmlib trusts the tables inside an archive: damaged compressed data makes it read out of bounds
// or divide by zero and crash. So every archive is first read through once in a child process,
// silenced and limited in time; only an archive that the child read to the end is opened here.
bool readsThroughCleanly(const std::string& file) {
    if (auto verdict = platform::trialInChild(readThrough, &file, TrialSeconds))
        return *verdict;
    // No fork: the trial program reads it; without one the archive is opened as it is.
    const fs::path program = trialProgram();
    return program.empty() || trialProgramReadsThrough(program, file);
}

} // namespace

int ChmArchive::readThroughHere(const std::string& file) { return readThrough(&file); }

void ChmArchive::Closer::operator()(chmFile* handle) const noexcept { chm_close(handle); }

ChmArchive::ChmArchive(const std::filesystem::path& file) : file_(file) {
    checkRegularFile(file); // a FIFO or a device is named as what it is
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        throw VbError(vberr::FileNotFound, "File not found: " + file.string());
    // chmlib opens files by their narrow name (the ANSI code page on Windows).
    const std::string name = file.string();
    if (readsThroughCleanly(name))
        handle_.reset(chm_open(name.c_str()));
    if (!handle_)
        throw VbError(vberr::PathFileAccess, "Path/File access error: " + file.string() + " is not a compiled HTML Help file or is damaged");
}

ChmArchive::~ChmArchive() = default;

std::string ChmArchive::archivePath(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    if (result.empty() || result.front() != '/')
        result.insert(result.begin(), '/');
    return result;
}

bool ChmArchive::contains(std::string_view path) const {
    std::string name = archivePath(path);
    if (name.size() > CHM_MAX_PATHLEN)
        return false;
    std::lock_guard lock(mutex_);
    chmUnitInfo unit{};
    return chm_resolve_object(handle_.get(), name.c_str(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmArchive::read(std::string_view path) const {
    std::string name = archivePath(path);
    if (name.size() > CHM_MAX_PATHLEN)
        return std::nullopt;
    std::lock_guard lock(mutex_);
    chmUnitInfo unit{};
    if (chm_resolve_object(handle_.get(), name.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    std::string bytes;
    std::string chunk(ReadChunk, '\0');
    LONGUINT64 offset = 0;
    while (offset < unit.length) {
        auto wanted = static_cast<LONGINT64>(std::min<LONGUINT64>(ReadChunk, unit.length - offset));
        auto* buffer = reinterpret_cast<unsigned char*>(chunk.data());
        LONGINT64 got = chm_retrieve_object(handle_.get(), &unit, buffer, offset, wanted);
        if (got <= 0)
            throw VbError(vberr::PathFileAccess, "Path/File access error: " + name + " in " + file_.string() + " cannot be read");
        bytes.append(chunk.data(), static_cast<size_t>(got));
        offset += static_cast<LONGUINT64>(got);
    }
    return bytes;
}

std::vector<std::string> ChmArchive::entries() const {
    std::vector<std::string> paths;
    std::lock_guard lock(mutex_);
    chm_enumerate(handle_.get(), CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectEntry, &paths);
    return paths;
}

} // namespace corvane
