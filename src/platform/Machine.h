// Machine: what the program tells of itself and the machine it runs on, in the words of the
// system it runs on.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::platform {

// The program that registers a COM in-process server (a DLL) for 32 bits or for 64, the
// system's regsvr32.exe for that width; nothing where the system has no COM (POSIX).
std::optional<std::filesystem::path> comServerRegistrar(bool thirtyTwoBit);

// The number of this process.
long currentProcessId();
// The machine's name on the network ("this machine" when the system does not tell).
std::string machineName();
// The parts of a time in UTC.
std::tm utcParts(std::time_t time);
// The parts of a time in the local time zone.
std::tm localParts(std::time_t time);

// Gives the memory pages that lie wholly inside `size` bytes at `begin` back to the system while
// the memory stays allocated: a read of them afterwards finds zeros. Returns false, giving
// nothing back, where the system does not offer it (Windows).
bool releaseWholePages(char* begin, size_t size);
// The size of a page of memory, in bytes.
size_t memoryPageSize();
// True where every program has a desktop to draw its windows on (Windows); false where that
// depends on a display server being reachable (X11, Wayland).
bool desktopAlwaysPresent();

// The arguments the program was started with, after its name, in UTF-8 (on Windows read from
// the wide command line: `argv` there is in the ANSI code page).
std::vector<std::string> commandArguments(int argc, char** argv);
// Makes standard output and standard error write bytes as given: no CR before each LF on
// Windows, where the C runtime adds one in text mode.
void useBinaryStandardStreams();
// Lets a crash end this process quietly: no core file (POSIX), no crash dialog or debugger
// (Windows), for programs whose crash is an expected answer.
void endQuietlyOnCrash();
// Ends this process as a memory access fault does (SIGSEGV on POSIX systems, an access violation
// on Windows), past any handler a sanitizer installed, for stand-ins whose crash is their answer.
[[noreturn]] void crashNow();

} // namespace corvane::platform
