// The command-line program: everything happens in the cli library. It never loads Qt: the
// commands that open windows or draw run in the desktop program beside it.
#include "cli/CommandLine.h"
#include "cli/DesktopProgram.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (corvane::cli::isDesktopCommand(arguments))
        return corvane::cli::runDesktopProgram(arguments, std::cerr);
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
