#include "cli/HelpDataTexts.h"

#include "support/AtomicFile.h"
#include "support/CaseFold.h"
#include "support/VbError.h"

#include <optional>

namespace corvane::cli {

namespace {

// The first child named `name` whose attribute `attribute` is `value` (letter case ignored).
std::optional<XMLElement> childWith(const XMLElement& parent, std::string_view name,
                                    const char* attribute, std::string_view value) {
    for (const XMLElement& child : parent.Elements()) {
        if (!child.hasName(name))
            continue;
        XMLAttributes attributes = child.Attributes();
        if (attributes.Contains(attribute) &&
            equalsIgnoreCase(attributes.Item(attribute).Value(), value))
            return child;
    }
    return std::nullopt;
}

} // namespace

HelpDataTexts::HelpDataTexts(const std::filesystem::path& dataFile) {
    file_.read(dataFile, HelpDataFile::ReadFor::Document);
    if (!file_.complete())
        throw VbError(vberr::InvalidCall, file_.problemReport());
    bytes_ = readFileBytes(dataFile);
    document_ = file_.readDocument();
    indexRecords();
}

// Records are read whatever their element's name, as loading reads them.
void HelpDataTexts::indexRecords() {
    for (const XMLElement& component : document_.Root().Elements()) {
        XMLAttributes moduleAttributes = component.Attributes();
        if (!component.hasName("VBComponent") || !moduleAttributes.Contains("ComponentName"))
            continue;
        std::string module = moduleAttributes.Item("ComponentName").Value();
        for (const XMLElement& record : component.Elements()) {
            XMLAttributes attributes = record.Attributes();
            if (attributes.Contains("ControlName"))
                records_.emplace(foldCase(module + "/" + attributes.Item("ControlName").Value()),
                                 record);
        }
    }
}

bool HelpDataTexts::setText(std::string_view module, std::string_view key,
                            const std::string& language, const std::string& text) {
    auto found = records_.find(foldCase(std::string(module) + "/" + std::string(key)));
    if (found == records_.end())
        return false;
    XMLElement& record = found->second;
    if (record.Elements().Count() == 0 && !record.Text().empty())
        return false; // a record in the old form: its own text, without a language
    if (auto existing = childWith(record, "HelpText", "Language", language)) {
        existing->SetText(text);
        return true;
    }
    record.AddElement("HelpText", text).AddAttribute("Language", language);
    return true;
}

void HelpDataTexts::save() {
    // Checked under the save's lock, so that no other save can come between check and replace.
    file_.write(document_, {}, [this] {
        if (readFileBytes(file_.path()) != bytes_)
            throw VbError(vberr::PathFileAccess,
                          "The help data file '" + file_.path().string() +
                              "' was changed by another program while the import ran; "
                              "it is not replaced. Run the import again");
    });
}

} // namespace corvane::cli
