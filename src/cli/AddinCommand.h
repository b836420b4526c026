// AddinCommand: `corvane addin register|unregister`, the VB6 add-in (corvane-addin.dll beside
// the program) registered or removed for the current user through the system's regsvr32.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::cli {

// Runs the command with its arguments (after "addin"); returns the exit status.
int runAddin(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace corvane::cli
