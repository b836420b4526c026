// DesktopProgram: the command line's way to the desktop program.
//
// `corvane` is the command line and never loads Qt, so `corvane scan` starts as fast as the
// bytes it reads allow. The commands that open windows or draw with Qt (none: the host window;
// "edit"; "preview") belong to the desktop program "corvane-gui", installed beside it:
// `corvane` replaces itself with that program, passing the same arguments, so a user (and a
// script) keeps typing `corvane edit PROJECT.vbp`.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

// The desktop program's file name.
inline constexpr std::string_view DesktopProgramName = "corvane-gui";

// True for the commands the desktop program runs: none, "edit" and "preview".
bool isDesktopCommand(const std::vector<std::string>& arguments);

// The desktop program beside the running program (its folder is that of /proc/self/exe).
std::filesystem::path desktopProgramPath();

// Replaces this process with the desktop program, giving it `arguments`. Returns only when
// that is impossible (it is missing or cannot run): the reason, naming the file, goes to
// `err` and the result is the exit status 2.
int runDesktopProgram(const std::vector<std::string>& arguments, std::ostream& err);

} // namespace corvane::cli
