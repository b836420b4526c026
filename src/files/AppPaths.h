// AppPaths: where the program finds its data and keeps the user's files.
#pragma once

#include <filesystem>
#include <string>

namespace corvane {

// The program's version as major.minor.revision ("1.0.0").
std::string programVersion();
// The program's version parts.
int versionMajor();
int versionMinor();
int versionRevision();

// The program's installed data folder (templates, languages.txt, custom.dic, corvane.chm):
// $CORVANE_DATA_DIR when set; else <program dir>/../share/corvane when it exists; else the
// source tree's data folder, so that the build tree runs without installing.
std::filesystem::path dataDirectory();

// Overrides the data folder for this process (tests); an empty path restores the lookup.
void setDataDirectory(const std::filesystem::path& directory);

// The user's data folder: $XDG_DATA_HOME/corvane or ~/.local/share/corvane, on Windows
// %LOCALAPPDATA%\corvane (not created here).
std::filesystem::path userDataDirectory();

// The user's configuration folder: $XDG_CONFIG_HOME/corvane or ~/.config/corvane, on Windows
// %APPDATA%\corvane.
std::filesystem::path userConfigDirectory();

} // namespace corvane
