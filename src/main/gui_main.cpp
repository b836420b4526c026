// The desktop program "corvane-gui", which `corvane` starts: no arguments and `edit` open
// windows, `preview` draws with Qt; every other command is the command line's, run in this process.
#include "app/host/GuiProgram.h"
#include "app/preview/PreviewCommand.h"
#include "cli/CommandLine.h"
#include "main/LargePages.h"
#include "main/OutOfMemory.h"
#include "platform/Machine.h"

#include <iostream>

int main(int argc, char** argv) {
    corvane::useLargePages();
    corvane::platform::useBinaryStandardStreams();
    // In UTF-8 on Windows too, where argv is in the ANSI code page (Qt reads its own).
    std::vector<std::string> arguments = corvane::platform::commandArguments(argc, argv);
    if (corvane::app::isGuiCommand(arguments))
        return corvane::app::runGui(argc, argv, arguments);
    if (!arguments.empty() && arguments.front() == "preview")
        return corvane::app::runPreview(argc, argv, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
