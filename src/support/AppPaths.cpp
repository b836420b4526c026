#include "support/AppPaths.h"

#include <cstdlib>
#include <system_error>

namespace corvane {

namespace {

std::filesystem::path& dataOverride() {
    static std::filesystem::path path;
    return path;
}

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path homeFolder(const char* xdgName, const char* fallback) {
    auto xdg = environmentPath(xdgName);
    if (!xdg.empty())
        return xdg / "corvane";
    auto home = environmentPath("HOME");
    if (home.empty())
        home = std::filesystem::temp_directory_path();
    return home / fallback / "corvane";
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
    auto fromEnvironment = environmentPath("CORVANE_DATA_DIR");
    if (!fromEnvironment.empty())
        return fromEnvironment;
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed = program.parent_path().parent_path() / "share" / "corvane";
        if (std::filesystem::is_directory(installed, error))
            return installed;
    }
    return CORVANE_SOURCE_DATA_DIR;
}

void setDataDirectory(const std::filesystem::path& directory) { dataOverride() = directory; }

std::filesystem::path userDataDirectory() { return homeFolder("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path userConfigDirectory() { return homeFolder("XDG_CONFIG_HOME", ".config"); }

} // namespace corvane
