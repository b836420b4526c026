// The POSIX implementation of Machine.h.
#ifndef _WIN32

#include "platform/Machine.h"

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace corvane::platform {

long currentProcessId() { return static_cast<long>(::getpid()); }

std::string machineName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "this machine";
    return name;
}

std::tm utcParts(std::time_t time) {
    std::tm parts{};
    ::gmtime_r(&time, &parts);
    return parts;
}

std::tm localParts(std::time_t time) {
    std::tm parts{};
    ::localtime_r(&time, &parts);
    return parts;
}

std::vector<std::string> commandArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void useBinaryStandardStreams() {}

void endQuietlyOnCrash() {
    rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
}

void crashNow() {
    std::signal(SIGSEGV, SIG_DFL);
    std::raise(SIGSEGV);
    std::abort(); // not reached: the signal ends the process
}

} // namespace corvane::platform

#endif
