#include "cli/DesktopProgram.h"

#include "platform/ChildProcess.h"

#include <cstring>

namespace corvane::cli {

namespace fs = std::filesystem;

bool isDesktopCommand(const std::vector<std::string>& arguments) {
    return arguments.empty() || arguments.front() == "edit" || arguments.front() == "preview";
}

fs::path desktopProgramPath() {
    fs::path self = platform::currentProgramFile();
    // Without the program's own folder there is no safe place to look: a bare name would run
    // whatever the current folder (perhaps a project's) holds under that name.
    if (!self.is_absolute())
        return {};
    // The program file, with the ".exe" Windows gives it.
    return platform::programFilesFor(self.parent_path() / DesktopProgramName).front();
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
    err.flush();
    const int error = platform::runInstead(program, words); // returns only on failure
    err << "corvane: " << what << " needs the desktop program '" << program.string()
        << "', which cannot be started: " << std::strerror(error)
        << ".\nThe commands scan, compile and spell run without it; "
           "see 'corvane --help'.\n";
    return 2;
}

} // namespace corvane::cli
