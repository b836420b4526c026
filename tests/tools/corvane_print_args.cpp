// corvane_print_args: a program that the process tests start to see what arrives.
//
// Every argument is written to standard output in brackets, one per line: "[arg]".
// Arguments of these forms are actions instead, done in their order:
//   --stderr=TEXT     writes "TEXT\n" to standard error
//   --interleave=N    writes "out i\n" to standard output and "err i\n" to standard error, i = 1..N
//   --megabytes=N     writes N MiB of the repeating pattern "0123456789abcdef" to standard output
//   --cwd             writes "[<current folder>]"
//   --fds             writes "[fd N]" for every open descriptor above 2
//   --exit=N          ends at once with exit status N
//   --signal=N        ends at once by the signal N
//   --sleep=N         sleeps N seconds
//   --helper-sleeps=N starts a process that sleeps N seconds (holding the output open) and
//                     writes "[pid P]" with its process id
//   --close-output    closes standard output and standard error (the process runs on)
// Output is written unbuffered so that both streams interleave exactly as written.
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t count = ::write(fd, text.data(), text.size());
        if (count <= 0)
            std::exit(99);
        text.remove_prefix(static_cast<size_t>(count));
    }
}

void printBracketed(std::string_view text) { writeAll(STDOUT_FILENO, "[" + std::string(text) + "]\n"); }

int number(std::string_view text) { return std::atoi(std::string(text).c_str()); }

void writeMegabytes(int count) {
    std::string block;
    while (block.size() < 1024 * 1024)
        block += "0123456789abcdef";
    for (int i = 0; i < count; ++i)
        writeAll(STDOUT_FILENO, block);
}

void listDescriptors() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (dir == nullptr)
        std::exit(98);
    std::vector<int> open;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        int fd = number(name);
        if (fd > STDERR_FILENO && fd != ::dirfd(dir))
            open.push_back(fd);
    }
    ::closedir(dir);
    for (int fd : open)
        printBracketed("fd " + std::to_string(fd));
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void act(std::string_view arg) {
    if (startsWith(arg, "--stderr=")) {
        writeAll(STDERR_FILENO, std::string(arg.substr(9)) + "\n");
    } else if (startsWith(arg, "--interleave=")) {
        for (int i = 1, n = number(arg.substr(13)); i <= n; ++i) {
            writeAll(STDOUT_FILENO, "out " + std::to_string(i) + "\n");
            writeAll(STDERR_FILENO, "err " + std::to_string(i) + "\n");
        }
    } else if (startsWith(arg, "--megabytes=")) {
        writeMegabytes(number(arg.substr(12)));
    } else if (arg == "--cwd") {
        char buffer[4096];
        printBracketed(::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "?");
    } else if (arg == "--fds") {
        listDescriptors();
    } else if (startsWith(arg, "--exit=")) {
        std::exit(number(arg.substr(7)));
    } else if (startsWith(arg, "--signal=")) {
        std::raise(number(arg.substr(9)));
    } else if (startsWith(arg, "--sleep=")) {
        ::sleep(static_cast<unsigned>(number(arg.substr(8))));
    } else if (startsWith(arg, "--helper-sleeps=")) {
        pid_t helper = ::fork();
        if (helper == 0) {
            ::sleep(static_cast<unsigned>(number(arg.substr(16))));
            std::_Exit(0);
        }
        printBracketed("pid " + std::to_string(helper));
    } else if (arg == "--close-output") {
        ::close(STDOUT_FILENO);
        ::close(STDERR_FILENO);
    } else {
        printBracketed(arg);
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        act(argv[i]);
    return 0;
}
