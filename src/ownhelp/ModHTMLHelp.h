// modHTMLHelp: opens topics of the program's own help file, "corvane.chm".
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// Shows topic `strTopic` of help file number `intHelpFile` in the window type `strWindow`
// through HtmlHelpA; a missing file or topic is reported by the help window itself.
void HTMLShowTopic(int16_t intHelpFile, const std::string& strWindow, const std::string& strTopic);

// The full path of help file number `intSelHelpFile`: 1 is the program's own help, in its data
// folder; "" for any other number.
std::string SetHTMLHelpStrings(int16_t intSelHelpFile);

} // namespace corvane
