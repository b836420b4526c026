#include "helpdata/HelpItem.h"

#include "vbruntime/Utilities.h"
#include "vbruntime/VbConvert.h"

namespace corvane {

// A record and the count of its shared pointer (16 bytes) fill one 128-byte block of the
// allocator; a field more moves every record into the next size, a quarter larger.
static_assert(sizeof(void*) != 8 || sizeof(HelpItem) <= 112, "HelpItem grew past 112 bytes");

namespace {

NamedValue elementParameter() {
    return {"e", [] { return Variant::object("XMLElement"); }};
}

// The text of a language a record has none in: empty, but at a place of its own, as the
// readers that copy a text's bytes expect of every text.
constexpr std::string_view NoText = "";

NameList& selectedLanguagesOf(const SelectedLanguageList& selectedLanguages) {
    if (!selectedLanguages)
        throw VbError(vberr::ObjectNotSet);
    return *selectedLanguages;
}
} // namespace

HelpItem::HelpItem(const SelectedLanguageList& selectedLanguages) : selectedLanguages_(selectedLanguages) {}

HelpItem::~HelpItem() = default;

void HelpItem::SetControl(std::shared_ptr<vbide::VBControl> control) {
    ErrorScope scope("HelpItem", "Control");
    scope.moduleVariables(*this);
    scope.run([&] { mControl = std::move(control); });
}

void HelpItem::SaveToXML(XMLElement e) {
    ErrorScope scope("HelpItem", "SaveToXML");
    scope.moduleVariables(*this).parameters({elementParameter()});
    scope.run([&] {
        scope.step([&] { e.AddAttribute("ComponentName", ComponentName); });
        scope.step([&] { e.AddAttribute("ControlName", ControlName); });
        scope.step([&] { e.AddAttribute("ContextHelpID", std::to_string(ContextHelpID)); });
        scope.step([&] { e.AddAttribute("ControlType", ControlType); });
        scope.step([&] { e.AddAttribute("Caption", Caption); });
        NameList& languages = selectedLanguagesOf(selectedLanguages_);
        if (languages.empty())
            languages.Add(Neutral, Neutral);
        for (const std::string& language : languages) {
            if (!HelpTexts.Contains(language))
                continue;
            scope.step([&] {
                XMLElement child = e.AddElement("HelpText", HelpTexts.Item(language));
                child.AddAttribute("Language", language);
            });
        }
        // Texts of languages that are not selected are kept, after the others.
        for (int32_t position = 1; position <= HelpTexts.Count(); ++position) {
            if (HelpTexts.Item(position).empty() || languages.Contains(HelpTexts.KeyAt(position)))
                continue;
            scope.step([&] {
                XMLElement child = e.AddElement("HelpText", HelpTexts.Item(position));
                child.AddAttribute("Language", HelpTexts.KeyAt(position));
            });
        }
    });
}

void HelpItem::LoadFromXML(const XMLElement& e) {
    std::string language;
    ErrorScope scope("HelpItem", "LoadFromXML");
    scope.moduleVariables(*this) // a data file has thousands of records: the lists are made only for a report
        .parameters([] { return NamedValues{elementParameter()}; })
        .locals([&language] { return NamedValues{watch("Language", language)}; });
    scope.run([&] {
        XMLAttributes attributes = e.Attributes();
        scope.step([&] { ComponentName = attributes.Item("ComponentName").Value(); });
        scope.step([&] { ControlName = attributes.Item("ControlName").Value(); });
        scope.step([&] { ContextHelpID = CLng(Val(attributes.Item("ContextHelpID").Value())); });
        scope.step([&] { ControlType = attributes.Item("ControlType").Value(); });
        XMLElements children = e.Elements();
        markAsInFile(); // whatever is taken below is the file's
        if (children.begin() == children.end()) {
            // Older files kept the text as the element's own text.
            scope.step([&] { HelpTexts.Add(e.Text(), Neutral); });
            return;
        }
        for (const XMLElement& child : children) {
            if (!child.hasName("HelpText"))
                continue;
            bool named = false; // a text without a language is not taken
            scope.step([&] {
                language = child.Attributes().Item("Language").Value();
                named = true;
            });
            if (named && takesTextIn(language))
                scope.step([&] { HelpTexts.Add(child.Text(), language); });
        }
    });
}

bool HelpItem::fitsContextNumber(std::string_view stored) {
    double value = Val(stored);
    return value >= -2147483648.5 && value < 2147483647.5;
}

bool HelpItem::takesTextIn(std::string_view language) const {
    // The first text of a language wins. Texts of languages that are not selected are kept too.
    return !HelpTexts.Contains(language);
}

bool HelpItem::HasHelpText() {
    ErrorScope scope("HelpItem", "HasHelpText");
    scope.moduleVariables(*this);
    return scope.run([&] { return hasText(); });
}

std::string_view HelpItem::textIn(std::string_view language) const {
    int32_t position = HelpTexts.PositionOf(language); // one look-up for KeyExists and Item
    return position == 0 ? NoText : HelpTexts.Item(position);
}

std::string_view HelpItem::textIn(std::string_view language, size_t hint) const {
    const int32_t position = textPosition(language, hint);
    return position == 0 ? NoText : HelpTexts.Item(position);
}

// A collection holds each key once, letter case ignored: a key found as it stands at the hint
// is the one a look-up by name finds.
int32_t HelpItem::textPosition(std::string_view language, size_t hint) const {
    if (hint < static_cast<size_t>(HelpTexts.Count())) {
        const auto here = static_cast<int32_t>(hint) + 1;
        if (HelpTexts.KeyAt(here) == language)
            return here;
    }
    return HelpTexts.PositionOf(language);
}

bool HelpItem::hasText() const {
    for (std::string_view text : HelpTexts)
        for (char c : text) // most texts answer at their first character
            if (c != ' ')
                return true;
    return false;
}

std::string HelpItem::GetHelpText(const std::string& Language) {
    ErrorScope scope("HelpItem", "GetHelpText");
    scope.moduleVariables(*this).parameters({watch("Language", Language)});
    return scope.run([&] {
        return HelpTexts.Contains(Language) ? std::string(HelpTexts.Item(Language)) : std::string();
    });
}

void HelpItem::SetHelpText(const std::string& Language, const std::string& Text) {
    ErrorScope scope("HelpItem", "SetHelpText");
    scope.moduleVariables(*this).parameters({watch("Language", Language), watch("Text", Text)});
    scope.run([&] {
        const bool present = HelpTexts.Contains(Language);
        if (!fileTexts_ && (present ? HelpTexts.Item(Language) : std::string_view()) != Text)
            fileTexts_ = std::make_unique<HelpTextList>(HelpTexts); // the file's, kept once
        if (present)
            HelpTexts.Remove(Language);
        HelpTexts.Add(Text, Language);
    });
}

void HelpItem::removeText(std::string_view language) {
    if (!HelpTexts.Contains(language))
        return;
    if (!fileTexts_)
        fileTexts_ = std::make_unique<HelpTextList>(HelpTexts); // the file's, kept once
    HelpTexts.Remove(language);
}

std::string_view HelpItem::fileTextIn(std::string_view language) const {
    if (!fileTexts_)
        return textIn(language);
    const int32_t position = fileTexts_->PositionOf(language);
    return position == 0 ? NoText : fileTexts_->Item(position);
}

void HelpItem::markAsInFile() {
    inFile_ = true;
    fileContextHelpID_ = ContextHelpID;
    fileTexts_.reset();
}

void HelpItem::markFileState(const HelpItem* stored) {
    inFile_ = stored != nullptr;
    fileContextHelpID_ = stored ? stored->ContextHelpID : 0;
    fileTexts_ = std::make_unique<HelpTextList>();
    if (stored)
        *fileTexts_ = stored->HelpTexts;
}

NamedValues HelpItem::moduleVariables() const {
    return {watch("ComponentName", ComponentName),
            watch("ControlName", ControlName),
            watch("ControlType", ControlType),
            watch("ContextHelpID", ContextHelpID),
            watch("HelpTexts", HelpTexts),
            watch("Caption", Caption),
            {"mControl", [this] { return objectVariant(mControl, "VBControl"); }},
            watch("Tag", Tag)};
}

} // namespace corvane
