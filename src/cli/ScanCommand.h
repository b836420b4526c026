// ScanCommand: `corvane scan PROJECT.vbp [--json] [--save]`: what the editor holds after the
// project scan, as text or JSON; --save then closes the editor as the user does and saves.
// Without --save nothing is written, not even a missing data file. Exit status 1 when the
// project cannot be opened, the scan failed or the data file was not loaded completely; --save
// then saves nothing, so the data file stays as it was.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command on its arguments (after "scan"); returns the exit status.
int runScan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
