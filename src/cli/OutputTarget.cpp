#include "cli/OutputTarget.h"

#include "files/RegularFile.h"
#include "generate/CompileLock.h"
#include "generate/HelpOutputLayout.h"
#include "platform/SystemFiles.h"
#include "platform/Utf8Path.h"
#include "vbide/VBComponent.h"
#include "vbide/VBProject.h"
#include "vbruntime/CaseFold.h"

#include <array>
#include <optional>
#include <vector>

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

// The identity of an existing file or folder (links followed).
std::optional<std::pair<std::uint64_t, std::uint64_t>> identityOf(const fs::path& path) {
    platform::FileStatus info;
    if (!platform::statusAt(path, info))
        return std::nullopt;
    return std::make_pair(info.device, info.inode);
}

fs::path folderOf(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

// True when both paths name one file: the same file when the output exists, else a file of
// the same name (any letter case) in the same folder.
bool sameFile(const fs::path& output, const fs::path& file) {
    const auto outputIdentity = identityOf(output);
    if (outputIdentity)
        return outputIdentity == identityOf(file);
    const auto folder = identityOf(folderOf(output));
    return folder && folder == identityOf(folderOf(file)) &&
           equalsIgnoreCase(output.filename().string(), file.filename().string());
}

// A module's file with the binary files beside it that hold its pictures and lists.
std::vector<fs::path> moduleFiles(const fs::path& file) {
    std::vector<fs::path> files{file};
    for (const char* binary : {".frx", ".ctx", ".pgx", ".dox", ".dsx"})
        files.push_back(fs::path(file).replace_extension(binary));
    return files;
}

// What kind of file that is neither a regular file nor a folder the path names (links
// followed), or "" (a writer names a folder itself).
std::string irregularKind(const fs::path& path) {
    platform::FileStatus info;
    if (!platform::statusAt(path, info) || info.kind == platform::FileKind::Regular ||
        info.kind == platform::FileKind::Folder)
        return {};
    return fileKindText(info.kind);
}

fs::path withSuffix(fs::path file, const char* suffix) { return file += suffix; }

} // namespace

std::string unfitOutput(const fs::path& output, const vbide::VBProject& project, const fs::path& dataFile) {
    if (std::string kind = irregularKind(output); !kind.empty())
        return kind + ", not a regular file";
    const fs::path projectFile = platform::pathFromUtf8(project.FileName());
    const HelpOutputLayout layout(project.FileName(), project.Name(), project.codePage());
    const std::pair<fs::path, const char*> own[] = {
        {withSuffix(dataFile, ".lock"), "the lock that a save of the help data holds"},
        {withSuffix(dataFile, ".inuse"), "the marker of an editor of the help data"},
        {withSuffix(dataFile, ".recovery"), "the recovery file of the help data"},
        {withSuffix(projectFile, ".lock"), "the lock that a save of the project holds"},
        {CompileLock::lockPathOf(platform::pathFromUtf8(layout.outputFolder())), "the lock that a compile holds"},
    };
    for (const auto& [file, what] : own)
        if (sameFile(output, file))
            return std::string(what) + " ('" + platform::utf8Of(file) + "'), which only Corvane writes";
    // The copies of a damaged data file: "<data file>.damaged", ".damaged.2" ...
    const std::string damaged = platform::utf8Of(dataFile.filename()) + ".damaged";
    const std::string name = platform::utf8Of(output.filename());
    if (name.size() >= damaged.size() && equalsIgnoreCase(std::string_view(name).substr(0, damaged.size()), damaged) &&
        sameFile(folderOf(output), folderOf(dataFile)))
        return "a copy that Corvane kept of a damaged help data file, which only Corvane writes";
    return {};
}

std::string projectFileAt(const fs::path& output, vbide::VBProject& project, const fs::path& dataFile) {
    if (sameFile(output, platform::pathFromUtf8(project.FileName())))
        return "the project file '" + project.FileName() + "'";
    if (sameFile(output, dataFile))
        return "the help data file '" + dataFile.string() + "'";
    for (const auto& component : project.VBComponents()) {
        std::string name;
        try {
            name = component->FileNames(1);
        } catch (const std::exception&) {
            continue;
        }
        if (name.empty())
            continue;
        for (const fs::path& file : moduleFiles(platform::pathFromUtf8(name)))
            if (sameFile(output, file))
                return "the file '" + file.string() + "' of the project";
    }
    return {};
}

} // namespace corvane::cli
