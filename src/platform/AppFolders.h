// AppFolders: where a program's user files live by the conventions of the system it runs on,
// and the paths the environment names.
#pragma once

#include <filesystem>

namespace corvane::platform {

// The separator of the folders in a list of folders (PATH and the like): ':' on POSIX systems,
// ';' on Windows, whose paths hold ':' after the drive letter.
#ifdef _WIN32
inline constexpr char PathListSeparator = ';';
#else
inline constexpr char PathListSeparator = ':';
#endif

// The path an environment variable holds (UTF-8 inside the program); empty when it is unset or
// empty.
std::filesystem::path environmentPath(const char* name);
// Sets an environment variable of this process; a null `value` removes it.
void setEnvironmentVariable(const char* name, const char* value);
// True when this process runs with the rights of the system's administrator (root), who may
// write files that deny writing.
bool runsAsAdministrator();
// The folder under which programs keep the user's data: $XDG_DATA_HOME, else ~/.local/share
// (POSIX); %LOCALAPPDATA% (Windows).
std::filesystem::path userDataBase();
// The folder under which programs keep the user's settings: $XDG_CONFIG_HOME, else ~/.config
// (POSIX); %APPDATA% (Windows).
std::filesystem::path userConfigBase();

} // namespace corvane::platform
