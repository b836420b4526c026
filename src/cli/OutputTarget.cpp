#include "cli/OutputTarget.h"

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

} // namespace

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
