// The command-line program: everything happens in the cli library. It never loads Qt: the
// commands that open windows or draw run in the desktop program beside it.
#include "cli/CommandLine.h"
#include "cli/DesktopProgram.h"
#include "cli/SessionEnd.h"
#include "main/LargePages.h"
#include "main/OutOfMemory.h"
#include "platform/Machine.h"

#include <iostream>

// A build that checks for leaks must see every object freed.
#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_CHECKS_LEAKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define CORVANE_CHECKS_LEAKS 1
#endif
#endif

int main(int argc, char** argv) {
    corvane::useLargePages();
    corvane::platform::useBinaryStandardStreams();
    std::vector<std::string> arguments = corvane::platform::commandArguments(argc, argv);
    if (corvane::cli::isDesktopCommand(arguments))
        return corvane::cli::runDesktopProgram(arguments, std::cerr);
#ifndef CORVANE_CHECKS_LEAKS
    // The process ends when the command returns: what it built is left to the system.
    corvane::cli::endProcessAfterCommand();
#endif
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
