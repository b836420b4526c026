// The command-line program: everything happens in the cli library. It never loads Qt: the
// commands that open windows or draw run in the desktop program beside it.
#include "cli/CommandLine.h"
#include "cli/DesktopProgram.h"
#include "cli/SessionEnd.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

// A build that checks for leaks must see every object freed.
#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_CHECKS_LEAKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define CORVANE_CHECKS_LEAKS 1
#endif
#endif

namespace {

// With mimalloc the heap is served in large (2 MiB) pages where the system offers them: opening
// a large project then takes a few thousand page faults fewer, a tenth of its processor time.
// The allocator reads its options as the process starts, before main, so the program starts
// itself once more with the option set; a value the user set is left as it is, and a start that
// fails goes on as it is.
void startWithLargePages(char** argv) {
#ifdef CORVANE_WITH_MIMALLOC
    if (std::getenv("MIMALLOC_LARGE_OS_PAGES") != nullptr)
        return;
    // The program's own file by its name, so that the process keeps its name ("corvane").
    char self[4096];
    ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof self - 1)
        return;
    self[length] = '\0';
    if (::setenv("MIMALLOC_LARGE_OS_PAGES", "1", 1) == 0)
        ::execv(self, argv);
#else
    static_cast<void>(argv);
#endif
}

} // namespace

int main(int argc, char** argv) {
    startWithLargePages(argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (corvane::cli::isDesktopCommand(arguments))
        return corvane::cli::runDesktopProgram(arguments, std::cerr);
#ifndef CORVANE_CHECKS_LEAKS
    // The process ends when the command returns: what it built is left to the system.
    corvane::cli::endProcessAfterCommand();
#endif
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
