#include "cli/HelpDataTexts.h"

#include "support/CaseFold.h"
#include "support/VbError.h"

#include <optional>

namespace corvane::cli {

namespace {

// The first child named `name` whose attribute `attribute` is `value` (letter case ignored).
std::optional<XMLElement> childWith(const XMLElement& parent, std::string_view name, const char* attribute,
                                    std::string_view value) {
    for (const XMLElement& child : parent.Elements()) {
        if (!child.hasName(name))
            continue;
        XMLAttributes attributes = child.Attributes();
        if (attributes.Contains(attribute) && equalsIgnoreCase(attributes.Item(attribute).Value(), value))
            return child;
    }
    return std::nullopt;
}

} // namespace

HelpDataTexts::HelpDataTexts(std::filesystem::path dataFile) : file_(std::move(dataFile)) {
    if (!document_.LoadFile(file_)) {
        const XmlParseError& error = *document_.LastError();
        throw VbError(vberr::InvalidCall, "The help data file '" + file_.string() + "' is damaged: line " +
                                              std::to_string(error.line) + ", column " +
                                              std::to_string(error.column) + ": " + error.reason);
    }
}

bool HelpDataTexts::setText(std::string_view module, std::string_view key, const std::string& language,
                            const std::string& text) {
    auto component = childWith(document_.Root(), "VBComponent", "ComponentName", module);
    if (!component)
        return false;
    // Records are read whatever their element's name, as loading reads them.
    std::optional<XMLElement> record;
    for (const XMLElement& child : component->Elements()) {
        XMLAttributes attributes = child.Attributes();
        if (attributes.Contains("ControlName") && equalsIgnoreCase(attributes.Item("ControlName").Value(), key)) {
            record = child;
            break;
        }
    }
    if (!record || (record->Elements().Count() == 0 && !record->Text().empty()))
        return false; // no record, or one in the old form: its own text, without a language
    if (auto existing = childWith(*record, "HelpText", "Language", language)) {
        existing->SetText(text);
        return true;
    }
    record->AddElement("HelpText", text).AddAttribute("Language", language);
    return true;
}

void HelpDataTexts::save() const {
    document_.SaveFile(file_);
}

} // namespace corvane::cli
