#include "cli/DesktopProgram.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace corvane::cli {

namespace fs = std::filesystem;

bool isDesktopCommand(const std::vector<std::string>& arguments) {
    return arguments.empty() || arguments.front() == "edit" || arguments.front() == "preview";
}

fs::path desktopProgramPath() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    // Without the program's own folder there is no safe place to look: a bare name would run
    // whatever the current folder (perhaps a project's) holds under that name.
    if (error || !self.is_absolute())
        return {};
    return self.parent_path() / DesktopProgramName;
}

int runDesktopProgram(const std::vector<std::string>& arguments, std::ostream& err) {
    const fs::path program = desktopProgramPath();
    const std::string what = arguments.empty() ? "the host window" : "'" + arguments.front() + "'";
    if (program.empty()) {
        err << "corvane: " << what << " needs the desktop program '" << DesktopProgramName
            << "', and the folder of this program cannot be found to start it from.\n";
        return 2;
    }
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    err.flush();
    ::execv(program.c_str(), argv.data());
    const int error = errno; // execv returns only on failure
    err << "corvane: " << what << " needs the desktop program '" << program.string()
        << "', which cannot be started: " << std::strerror(error)
        << ".\nThe commands scan, compile and spell run without it; "
           "see 'corvane --help'.\n";
    return 2;
}

} // namespace corvane::cli
