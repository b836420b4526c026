#include "scan/ProjectCodePageChoice.h"

#include "text/LanguageTable.h"
#include "text/TextCodec.h"
#include "vbide/VBProject.h"
#include "vbruntime/ByteScan.h"
#include "vbruntime/VbError.h"

namespace corvane {

std::optional<std::string> KeyRecoding::earlierSpelling(std::string_view name) const {
    if (keysCodePage == projectCodePage || bytescan::asciiPrefix(name) == name.size())
        return std::nullopt;
    try {
        std::string spelled = decodeCodePage(encodeCodePage(name, projectCodePage), keysCodePage);
        return spelled == name ? std::nullopt : std::optional<std::string>(std::move(spelled));
    } catch (const VbError&) {
        return std::nullopt; // a name the earlier code page cannot have spelled
    }
}

std::vector<int> statedCodePages(const NameList& languages) {
    std::vector<int> codePages;
    const LanguageTable& table = LanguageTable::installed();
    for (const std::string& language : languages)
        if (const LanguageInfo info = table.lookup(language); info.ownCodePage)
            codePages.push_back(info.codePage);
    return codePages;
}

int wantedCodePage(const vbide::VBProject& project, const HelpDataSettings& settings) {
    if (settings.codePage)
        return *settings.codePage;
    if (const vbide::ProjectCodePage* detection = project.codePageDetection())
        return detection->choose(statedCodePages(*settings.SelectedLanguages));
    return project.codePage();
}

KeyRecoding settleProjectCodePage(vbide::VBProject& project, HelpDataSettings& settings) {
    const int opened = project.codePage();
    if (project.codePageGiven())
        settings.codePage = opened;
    const int wanted = wantedCodePage(project, settings);
    if (wanted != opened) {
        decodeCodePage("", wanted); // a code page the system lacks fails here, before anything changes
        project.setCodePage(wanted);
    }
    return KeyRecoding{WindowsLatin1, wanted};
}

} // namespace corvane
