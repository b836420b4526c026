// The POSIX implementation of AppFolders.h (the XDG base directories).
#ifndef _WIN32

#include "platform/AppFolders.h"

#include <cstdlib>
#include <unistd.h>

namespace corvane::platform {

namespace {

std::filesystem::path xdgFolder(const char* xdgName, const char* fallback) {
    auto xdg = environmentPath(xdgName);
    if (!xdg.empty())
        return xdg;
    auto home = environmentPath("HOME");
    if (home.empty())
        home = std::filesystem::temp_directory_path();
    return home / fallback;
}

} // namespace

std::filesystem::path environmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

void setEnvironmentVariable(const char* name, const char* value) {
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

bool runsAsAdministrator() { return ::geteuid() == 0; }

std::filesystem::path userDataBase() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path userConfigBase() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

} // namespace corvane::platform

#endif
