// corvane_stand_in: stands in for a program that the tests start but cannot use for real:
// Free Pascal's chmcmd behind the hhc.exe front end, for the runs the real compiler does not
// make on request (no output, a crash, odd names), and the desktop program.
//
// The environment variable CORVANE_STAND_IN_STEPS lists what it does, in order, the steps
// separated by "|":
//   arguments        writes "[arg]\n" for every argument
//   arguments-to=NAME  writes the same lines into the file NAME instead
//   copy=FROM=TO     copies the file FROM to TO (what a file held when the program ran)
//   sleep=MS         waits MS milliseconds (a program that stays open a while)
//   error-line       writes "Error: something in <first argument>\n"
//   write=NAME=TEXT  writes TEXT into the file NAME (relative to the current folder)
//   cwd              writes the current folder and "\n"
//   crash            ends by a memory access fault (SIGSEGV on POSIX systems)
//   exit=N           ends with exit status N
// Without steps it writes nothing and exits 0.
#include "platform/Machine.h"
#include "platform/Utf8Path.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> stepsOf(std::string_view text) {
    std::vector<std::string> steps;
    while (!text.empty()) {
        size_t bar = text.find('|');
        steps.emplace_back(text.substr(0, bar));
        text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
    }
    return steps;
}

} // namespace

int main(int argc, char** argv) {
    corvane::platform::useBinaryStandardStreams(); // lines end in LF, as the real compiler's
    corvane::platform::endQuietlyOnCrash();
    const std::vector<std::string> arguments = corvane::platform::commandArguments(argc, argv);
    const char* steps = std::getenv("CORVANE_STAND_IN_STEPS");
    for (const std::string& step : stepsOf(steps != nullptr ? steps : "")) {
        if (step == "arguments") {
            for (const std::string& argument : arguments)
                std::cout << "[" << argument << "]\n";
        } else if (step.starts_with("arguments-to=")) {
            std::ofstream lines(corvane::platform::pathFromUtf8(step.substr(13)), std::ios::binary);
            for (const std::string& argument : arguments)
                lines << "[" << argument << "]\n";
        } else if (step.starts_with("copy=")) {
            const size_t equals = step.find('=', 5);
            std::filesystem::copy_file(corvane::platform::pathFromUtf8(step.substr(5, equals - 5)),
                                       corvane::platform::pathFromUtf8(step.substr(equals + 1)),
                                       std::filesystem::copy_options::overwrite_existing);
        } else if (step.starts_with("sleep=")) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(step.c_str() + 6)));
        } else if (step == "error-line") {
            std::cout << "Error: something in " << (arguments.empty() ? "" : arguments[0]) << "\n";
        } else if (step.starts_with("write=")) {
            const size_t equals = step.find('=', 6);
            std::ofstream(corvane::platform::pathFromUtf8(step.substr(6, equals - 6)), std::ios::binary)
                << step.substr(equals + 1);
        } else if (step == "cwd") {
            std::cout << corvane::platform::utf8Of(std::filesystem::current_path()) << "\n";
        } else if (step.starts_with("exit=")) {
            std::cout << std::flush;
            return std::atoi(step.c_str() + 5);
        } else if (step == "crash") {
            std::cout << std::flush;
            corvane::platform::crashNow();
        } else {
            std::cout << "stand-in: unknown step '" << step << "'\n";
            return 3;
        }
    }
    return 0;
}
