// The Windows implementation of Machine.h.
#ifdef _WIN32

#include "platform/Machine.h"
#include "platform/WindowsText.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
// windows.h first: shellapi.h builds on it.
#include <windows.h>
#include <shellapi.h>

namespace corvane::platform {

long currentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

std::string machineName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size) || size == 0)
        return "this machine";
    return utf8OfWide(std::wstring_view(name, size));
}

std::tm utcParts(std::time_t time) {
    std::tm parts{};
    ::gmtime_s(&parts, &time);
    return parts;
}

std::tm localParts(std::time_t time) {
    std::tm parts{};
    ::localtime_s(&parts, &time);
    return parts;
}

std::vector<std::string> commandArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!words)
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(utf8OfWide(words[i]));
    }
    ::LocalFree(words);
    return arguments;
}

void useBinaryStandardStreams() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

void endQuietlyOnCrash() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // The process ends with the exception's code, without the debugger Wine would start.
    ::SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
}

bool releaseWholePages(char*, size_t) { return false; }

bool desktopAlwaysPresent() { return true; }

size_t memoryPageSize() {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwPageSize;
}

void crashNow() {
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    std::abort(); // not reached: the exception ends the process
}

std::optional<std::filesystem::path> comServerRegistrar(bool thirtyTwoBit) {
    wchar_t folder[MAX_PATH];
    // A 64-bit Windows keeps its 32-bit programs in SysWOW64; a 32-bit one has only System32.
    UINT length = thirtyTwoBit && sizeof(void*) == 8 ? ::GetSystemWow64DirectoryW(folder, MAX_PATH) : 0;
    if (length == 0 || length >= MAX_PATH)
        length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    return std::filesystem::path(std::wstring(folder, length)) / L"regsvr32.exe";
}

} // namespace corvane::platform

#endif
