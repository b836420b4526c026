// The command-line program: everything happens in the cli library.
#include "cli/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
