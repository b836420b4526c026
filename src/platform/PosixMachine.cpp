// The POSIX implementation of Machine.h.
#ifndef _WIN32

#include "platform/Machine.h"

#include <csignal>
#include <cstdlib>
#include <cstdint>
#include <sys/mman.h>
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

bool desktopAlwaysPresent() { return false; }

size_t memoryPageSize() {
    static const auto page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

bool releaseWholePages(char* begin, size_t size) {
    const auto page = static_cast<uintptr_t>(memoryPageSize());
    const uintptr_t start = (reinterpret_cast<uintptr_t>(begin) + page - 1) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(begin) + size) / page * page;
    if (end <= start)
        return false;
    return ::madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED) == 0;
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

std::optional<std::filesystem::path> comServerRegistrar(bool) { return std::nullopt; }

} // namespace corvane::platform

#endif
