// corvane-chm-trial: reads a compiled HTML Help file through with chmlib, for the program's own
// help where the system cannot fork a child for that trial (Windows). chmlib crashes on some
// damaged archives; here a crash only ends this process, and the program refuses the archive.
//
// Usage: corvane-chm-trial <file.chm>. Exit status 0 when every entry was read, 1 when chmlib
// cannot open the file, 2 on a wrong call; a crash ends it with the system's crash status.
#include "ownhelp/ChmArchive.h"
#include "platform/Machine.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    corvane::platform::endQuietlyOnCrash();
    const std::vector<std::string> arguments = corvane::platform::commandArguments(argc, argv);
    if (arguments.size() != 1)
        return 2;
    return corvane::ChmArchive::readThroughHere(arguments[0]);
}
