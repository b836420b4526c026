// hhc.exe: the HTML Help compiler as the association lookup finds it, compiling with chmcmd.
//
// Usage: hhc.exe <project.hhp>. The CHM compiler is $CORVANE_CHMCMD when set, else "chmcmd"
// from PATH. Everything goes to standard output, where the caller collects the compile log.
#include "platform/Machine.h"
#include "platform/Utf8Path.h"
#include "tools/HtmlHelpFrontEnd.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    corvane::platform::useBinaryStandardStreams(); // the compile log's lines end in LF everywhere
    // In UTF-8: on Windows `argv` holds the ANSI code page's bytes.
    const std::vector<std::string> arguments = corvane::platform::commandArguments(argc, argv);
    if (arguments.size() != 1) {
        std::cout << "Error: hhc.exe expects one argument, the HTML Help project file (it received "
                  << arguments.size() << ").\n";
        return 2;
    }
    const char* configured = std::getenv("CORVANE_CHMCMD");
    std::string chmcmd = configured != nullptr && *configured != '\0' ? configured : "chmcmd";
    auto result = corvane::tools::compileHtmlHelpProject(corvane::platform::pathFromUtf8(arguments[0]), chmcmd);
    std::cout << result.output << std::flush;
    return result.exitCode;
}
