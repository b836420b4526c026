#include "files/AppPaths.h"

#include "platform/AppFolders.h"
#include "platform/ChildProcess.h"

#include <cstdlib>
#include <system_error>

namespace corvane {

namespace {

std::filesystem::path& dataOverride() {
    static std::filesystem::path path;
    return path;
}

} // namespace

std::string programVersion() {
    return std::to_string(versionMajor()) + "." + std::to_string(versionMinor()) + "." +
           std::to_string(versionRevision());
}

int versionMajor() { return CORVANE_VERSION_MAJOR; }
int versionMinor() { return CORVANE_VERSION_MINOR; }
int versionRevision() { return CORVANE_VERSION_PATCH; }

std::filesystem::path dataDirectory() {
    if (!dataOverride().empty())
        return dataOverride();
    auto fromEnvironment = platform::environmentPath("CORVANE_DATA_DIR");
    if (!fromEnvironment.empty())
        return fromEnvironment;
    std::error_code error;
    auto program = platform::currentProgramFile();
    if (!program.empty()) {
        auto installed = program.parent_path().parent_path() / "share" / "corvane";
        if (std::filesystem::is_directory(installed, error))
            return installed;
    }
    return CORVANE_SOURCE_DATA_DIR;
}

void setDataDirectory(const std::filesystem::path& directory) { dataOverride() = directory; }

std::filesystem::path userDataDirectory() { return platform::userDataBase() / "corvane"; }

std::filesystem::path userConfigDirectory() { return platform::userConfigBase() / "corvane"; }

} // namespace corvane
