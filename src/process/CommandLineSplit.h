// CommandLineSplit: cutting a Windows command line into its program name and arguments.
//
// Command lines reach the program in the form Windows gives them (compiler commands from
// file associations, "%1" replaced by a quoted path). They are split here by the rules of
// Windows' CommandLineToArgvW, so that every program receives exactly the arguments it
// would receive on Windows, without any shell in between.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Splits a command line by the rules of CommandLineToArgvW.
//
// The program name (first element): when the line starts with a double quote, everything up
// to the next double quote (or the end), without the quotes and without any backslash
// processing; otherwise everything up to the first space, tab or other control character,
// double quotes included. The character ending an unquoted name is dropped; blanks after
// the name are skipped. A line that starts with a blank therefore has an empty program name.
//
// The arguments are separated by runs of spaces and tabs outside double quotes:
//   - a double quote starts or ends a quoted part; blanks inside it belong to the argument;
//   - 2n backslashes followed by a double quote give n backslashes, and the quote starts or
//     ends a quoted part; 2n+1 backslashes followed by a quote give n backslashes and a
//     literal quote;
//   - backslashes not followed by a quote are literal;
//   - inside a quoted part, two double quotes in a row give one literal quote and end the
//     quoted part (CommandLineToArgvW's rule; newer C run times stay inside the quotes);
//   - a quoted part left open at the end of the line ends there;
//   - "" alone makes an empty argument.
// The line ends at a NUL character, as a Windows string does. An empty line gives no
// elements (where Windows would give the path of the calling program).
std::vector<std::string> splitWindowsCommandLine(std::string_view commandLine);

} // namespace corvane
