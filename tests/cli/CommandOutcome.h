// CommandOutcome: the command line run in-process on captured streams, for the command tests.
#pragma once

#include "cli/CommandLine.h"

#include <sstream>
#include <string>
#include <vector>

namespace corvane::cli {

// What one run of the command line did: its exit status and what it wrote to each stream.
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the command line with `arguments` (without the program's name).
inline Outcome runCommandLine(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    int status = run(arguments, out, err);
    return {status, out.str(), err.str()};
}

} // namespace corvane::cli
