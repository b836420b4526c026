// ScanCommand: `corvane scan PROJECT.vbp [--json] [--save]`: what the editor holds after the
// project scan, as text or JSON; --save then closes the editor as the user does and saves.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "scan"); returns the exit status.
int runScan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
