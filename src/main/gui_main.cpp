// The desktop program "corvane-gui", which `corvane` starts: no arguments and `edit` open
// windows, `preview` draws with Qt; every other command is the command line's, run in this process.
#include "app/host/GuiProgram.h"
#include "app/preview/PreviewCommand.h"
#include "cli/CommandLine.h"
#include "main/LargePages.h"
#include "main/OutOfMemory.h"

#include <iostream>

int main(int argc, char** argv) {
    corvane::useLargePages();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (corvane::app::isGuiCommand(arguments))
        return corvane::app::runGui(argc, argv, arguments);
    if (!arguments.empty() && arguments.front() == "preview")
        return corvane::app::runPreview(argc, argv, std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    return corvane::cli::run(arguments, std::cout, std::cerr);
}
