#include "ownhelp/ModHTMLHelp.h"

#include "addin/ErrorScope.h"
#include "files/AppPaths.h"
#include "ownhelp/HtmlHelp.h"

namespace corvane {

void HTMLShowTopic(int16_t intHelpFile, const std::string& strWindow, const std::string& strTopic) {
    std::string strHelpFile;
    ErrorScope scope("modHTMLHelp", "HTMLShowTopic");
    scope.parameters({watch("intHelpFile", intHelpFile), watch("strWindow", strWindow), watch("strTopic", strTopic)})
        .locals({watch("strHelpFile", strHelpFile)});
    scope.run([&] {
        scope.step([&] { strHelpFile = SetHTMLHelpStrings(intHelpFile); });
        // The result names the help window; it is not needed.
        scope.step([&] { HtmlHelpA(0, strHelpFile + ">" + strWindow, HH_DISPLAY_TOPIC, strTopic); });
    });
}

std::string SetHTMLHelpStrings(int16_t intSelHelpFile) {
    ErrorScope scope("modHTMLHelp", "SetHTMLHelpStrings");
    scope.parameters({watch("intSelHelpFile", intSelHelpFile)});
    return scope.run([&]() -> std::string {
        if (intSelHelpFile == 1)
            return (dataDirectory() / "corvane.chm").string();
        return "";
    });
}

} // namespace corvane
