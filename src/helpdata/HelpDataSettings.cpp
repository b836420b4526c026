#include "helpdata/HelpDataSettings.h"

namespace corvane {

void HelpDataSettings::chooseFormatsByVersion(double ideMajorVersion) {
    if (mGenerateHTML || mGenerateWinHelp)
        return;
    // The version 5 IDE knows no HTML Help.
    const bool winHelp = ideMajorVersion <= 5;
    mGenerateWinHelp = winHelp;
    mCompileWinHelp = winHelp;
    mGenerateHTML = !winHelp;
    mCompileHTML = !winHelp;
}

} // namespace corvane
