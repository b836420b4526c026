#include "helpdata/HelpDataRecovery.h"

#include "files/AtomicFile.h"
#include "files/FileReading.h"
#include "platform/SystemFiles.h"
#include "vbruntime/VbError.h"
#include "xml/XMLDocument.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view RootName = "CorvaneRecovery";

// The languages of a record whose text differs from the file's, in the record's order.
void addChanged(const HelpItem& record, const std::string& module, std::vector<RecoveredText>& texts) {
    if (!record.textsChanged())
        return;
    std::vector<std::string> languages;
    for (int32_t i = 1; i <= record.HelpTexts.Count(); ++i)
        languages.push_back(record.HelpTexts.KeyAt(i));
    for (const std::string& language : languages) {
        const std::string_view text = record.textIn(language);
        if (text != record.fileTextIn(language))
            texts.push_back({module, record.ControlName.str(), language, std::string(text),
                             std::string(record.fileTextIn(language)), 0});
    }
}

std::string attributeOf(const XMLElement& element, const char* name) {
    XMLAttributes attributes = element.Attributes();
    return attributes.Contains(name) ? attributes.Item(name).Value() : std::string();
}

} // namespace

HelpDataRecovery::HelpDataRecovery(const fs::path& dataFile) : path_(fs::path(dataFile) += ".recovery") {}

bool HelpDataRecovery::exists() const {
    std::error_code error;
    return fs::exists(path_, error);
}

std::vector<RecoveredText> HelpDataRecovery::unsavedTexts(const ModuleRecords& forms, const NameList& formNames) {
    std::vector<RecoveredText> texts;
    for (int32_t m = 1; m <= forms.Count(); ++m)
        for (const auto& record : *forms.Item(m))
            addChanged(*record, formNames.Item(m), texts);
    return texts;
}

void HelpDataRecovery::write(const ModuleRecords& forms, const NameList& formNames) {
    std::vector<RecoveredText> texts = unsavedTexts(forms, formNames);
    std::vector<RecoveredText> kept;
    try {
        kept = read();
    } catch (const VbError&) {
        // a damaged file keeps no times: the texts are kept since now
    }
    const long long now = static_cast<long long>(std::time(nullptr));
    for (RecoveredText& text : texts) {
        auto earlier = std::find_if(kept.begin(), kept.end(), [&](const RecoveredText& k) { return k.sameText(text); });
        text.keptSince = earlier != kept.end() && earlier->keptSince != 0 ? earlier->keptSince : now;
    }
    write(texts);
}

void HelpDataRecovery::write(const std::vector<RecoveredText>& texts) {
    if (texts.empty()) {
        remove();
        return;
    }
    replaceFileAtomically(path_, render(texts));
}

std::string HelpDataRecovery::render(const std::vector<RecoveredText>& texts) {
    XMLDocument document;
    XMLElement root = document.Root();
    root.SetName(RootName);
    for (const RecoveredText& text : texts) {
        XMLElement element = root.AddElement("HelpText", text.text);
        element.AddAttribute("Module", text.module);
        element.AddAttribute("Control", text.control);
        element.AddAttribute("Language", text.language);
        element.AddAttribute("Replaced", text.replaced);
        element.AddAttribute("KeptSince", std::to_string(text.keptSince));
    }
    return document.XMLText();
}

std::vector<RecoveredText> HelpDataRecovery::parse(std::string_view bytes, const std::string& name) {
    XMLDocument document;
    if (!document.LoadText(bytes) || !document.Root().hasName(RootName))
        throw VbError(vberr::InvalidCall, "The recovery file '" + name + "' is damaged; it was not used.", name);
    std::vector<RecoveredText> texts;
    for (const XMLElement& element : document.Root().Elements())
        if (element.hasName("HelpText"))
            texts.push_back({attributeOf(element, "Module"), attributeOf(element, "Control"),
                             attributeOf(element, "Language"), element.Text(), attributeOf(element, "Replaced"),
                             std::atoll(attributeOf(element, "KeptSince").c_str())});
    return texts;
}

std::vector<RecoveredText> HelpDataRecovery::read() const {
    if (!exists())
        return {};
    return parse(readFileBytes(path_), path_.string());
}

void HelpDataRecovery::remove() {
    if (int error = platform::removeFile(path_); error != 0 && error != ENOENT)
        throw VbError(vberr::PathFileAccess,
                      "Cannot remove the recovery file '" + path_.string() + "': " + std::strerror(error),
                      path_.string());
}

} // namespace corvane
