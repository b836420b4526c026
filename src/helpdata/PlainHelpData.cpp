#include "helpdata/PlainHelpData.h"

#include "support/CaseFold.h"
#include "support/ParallelFor.h"
#include "support/VbConvert.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvane {

namespace {

constexpr std::string_view Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::string_view ModuleEnd = "</VBComponent";
const std::string Neutral = "Neutral";

// Thrown inside the reader where the bytes leave the plain form; caught at its top.
struct NotPlain {};

// The classes of bytes the reader asks about, one look-up each.
struct ByteClasses {
    std::array<bool, 256> space{};
    std::array<bool, 256> nameStart{};
    std::array<bool, 256> name{};
    // Bytes a value may not hold as they are: a reader turns tab, CR and LF into spaces.
    std::array<bool, 256> notInValue{};

    constexpr ByteClasses() {
        for (unsigned char c : std::string_view(" \t\r\n"))
            space[c] = true;
        for (int c = 0; c < 256; ++c) {
            bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            nameStart[c] = letter || c == '_' || c == ':';
            name[c] = nameStart[c] || (c >= '0' && c <= '9') || c == '-' || c == '.';
        }
        for (unsigned char c : std::string_view("<\t\r\n"))
            notInValue[c] = true;
    }
};
constexpr ByteClasses Classes;

bool is(const std::array<bool, 256>& byteClass, char c) {
    return byteClass[static_cast<unsigned char>(c)];
}

// The named entities the program writes, and what they stand for.
constexpr std::array<std::pair<std::string_view, char>, 5> Entities = {
    {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}}};

// The length of the character reference "&#N;" or "&#xH;" at the start of `text` and its
// character: only those of ASCII characters (the program writes tab, CR, LF and the other
// control characters so), which stand for one byte and are never cleaned after a parse.
size_t characterReferenceAt(std::string_view text, char& stands) {
    bool hex = text.starts_with("&#x");
    size_t at = hex ? 3 : 2;
    unsigned value = 0;
    size_t digits = 0;
    for (; at < text.size() && digits < 4; ++at, ++digits) {
        char c = text[at];
        unsigned digit = 16;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            digit = static_cast<unsigned>((c | 0x20) - 'a' + 10);
        if (digit >= (hex ? 16u : 10u))
            break;
        value = value * (hex ? 16 : 10) + digit;
    }
    if (digits == 0 || at >= text.size() || text[at] != ';' || value == 0 || value > 0x7F)
        return 0;
    stands = static_cast<char>(value);
    return at + 1;
}

// The length of the entity or character reference at the start of `text` (0 when it is none
// the plain form has) and the character it stands for.
size_t entityAt(std::string_view text, char& stands) {
    if (text.starts_with("&#"))
        return characterReferenceAt(text, stands);
    for (const auto& [entity, character] : Entities) {
        if (text.starts_with(entity)) {
            stands = character;
            return entity.size();
        }
    }
    return 0;
}

// A checked text or value as written, its entities replaced.
std::string decoded(std::string_view raw) {
    size_t amp = raw.find('&');
    if (amp == std::string_view::npos)
        return std::string(raw);
    std::string text(raw.substr(0, amp));
    text.reserve(raw.size());
    for (size_t i = amp; i < raw.size();) {
        char stands = raw[i];
        i += raw[i] == '&' ? entityAt(raw.substr(i), stands) : 1;
        text += stands;
    }
    return text;
}

// An attribute as written: its name and its checked value, entities not yet replaced.
struct Attribute {
    std::string_view name;
    std::string_view value;
};

// A start tag: its name, its attributes and whether it closes itself. The program writes at
// most five attributes on an element; a tag with more than room is not in the plain form.
struct StartTag {
    std::string_view name;
    std::array<Attribute, 8> attributes;
    size_t count = 0;
    bool closed = false;

    // The raw value of the first attribute of a name.
    std::optional<std::string_view> attribute(std::string_view wanted) const {
        for (size_t i = 0; i < count; ++i)
            if (attributes[i].name == wanted)
                return attributes[i].value;
        return std::nullopt;
    }
};

// One "HelpText" of a record as written.
struct RawText {
    std::optional<std::string_view> language;
    std::string_view text;
};

} // namespace

// Reads bytes of the plain form up to an end, throwing NotPlain where they leave it.
class PlainHelpDataCursor {
public:
    PlainHelpDataCursor(std::string_view bytes, size_t at, size_t end)
        : bytes_(bytes.substr(0, end)), at_(at) {}

    size_t position() const { return at_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    void skipSpace() {
        while (at_ < bytes_.size() && is(Classes.space, bytes_[at_]))
            ++at_;
    }
    bool take(std::string_view literal) {
        if (bytes_.substr(at_).starts_with(literal)) {
            at_ += literal.size();
            return true;
        }
        return false;
    }
    void expect(std::string_view literal) {
        if (!take(literal))
            throw NotPlain{};
    }
    void moveTo(size_t at) { at_ = at; }

    // A start tag after its "<".
    void startTag(StartTag& tag) {
        tag.name = name();
        tag.count = 0;
        for (;;) {
            size_t before = at_;
            skipSpace();
            if (take(">") || take("/>")) {
                tag.closed = bytes_[at_ - 2] == '/';
                return;
            }
            if (at_ == before || tag.count == tag.attributes.size())
                throw NotPlain{}; // an attribute follows white space
            tag.attributes[tag.count++] = attribute();
        }
    }
    // The rest of an end tag after its "</" (white space allowed before its ">").
    void endTag(std::string_view name) {
        if (this->name() != name)
            throw NotPlain{};
        skipSpace();
        expect(">");
    }
    // Character data up to the next "<", its entities checked.
    std::string_view text() {
        size_t end = bytes_.find('<', at_);
        if (end == std::string_view::npos)
            throw NotPlain{};
        return run(end);
    }
    // True when only white space comes before the next "<", to which it moves.
    bool onlySpaceBeforeTag() {
        size_t begin = at_;
        skipSpace();
        if (atEnd() || bytes_[at_] != '<')
            throw NotPlain{};
        return at_ == begin;
    }

private:
    std::string_view name() {
        size_t begin = at_;
        if (atEnd() || !is(Classes.nameStart, bytes_[at_]))
            throw NotPlain{};
        while (at_ < bytes_.size() && is(Classes.name, bytes_[at_]))
            ++at_;
        return bytes_.substr(begin, at_ - begin);
    }
    Attribute attribute() {
        Attribute attribute{name(), {}};
        skipSpace();
        expect("=");
        skipSpace();
        if (atEnd() || (bytes_[at_] != '"' && bytes_[at_] != '\''))
            throw NotPlain{};
        char quote = bytes_[at_++];
        size_t end = bytes_.find(quote, at_);
        if (end == std::string_view::npos)
            throw NotPlain{};
        for (size_t i = at_; i < end; ++i)
            if (is(Classes.notInValue, bytes_[i]))
                throw NotPlain{};
        attribute.value = run(end);
        ++at_;
        return attribute;
    }
    // The bytes up to `end`, every "&" in them a named entity; moves past them.
    std::string_view run(size_t end) {
        std::string_view text = bytes_.substr(at_, end - at_);
        for (size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', amp + 1)) {
            char stands = 0;
            if (entityAt(text.substr(amp), stands) == 0)
                throw NotPlain{}; // an entity or character reference the program does not write
        }
        at_ = end;
        return text;
    }

    std::string_view bytes_;
    size_t at_;
};

using Cursor = PlainHelpDataCursor;

namespace {

// Reads the rest of a "HelpItem" whose start tag was read: its texts.
void readItemContent(Cursor& cursor, const StartTag& item, std::vector<RawText>& texts) {
    texts.clear();
    if (item.closed)
        return;
    bool spaceOnly = true;
    StartTag text;
    for (;;) {
        spaceOnly = cursor.onlySpaceBeforeTag() && spaceOnly;
        if (cursor.take("</"))
            break;
        cursor.expect("<");
        cursor.startTag(text);
        if (text.name != "HelpText")
            throw NotPlain{};
        RawText raw{text.attribute("Language"), {}};
        if (!text.closed) {
            raw.text = cursor.text();
            cursor.expect("</");
            cursor.endTag("HelpText");
        }
        texts.push_back(raw);
    }
    if (texts.empty() && !spaceOnly) // white space as an element's only text is its text
        throw NotPlain{};
    cursor.endTag("HelpItem");
}

// Reads the "HelpItem" elements of a module's content, bytes[begin, end); `each` gets every one.
// False when the content is not in the plain form.
template <typename Each>
bool readModuleItems(std::string_view bytes, size_t begin, size_t end, Each&& each) {
    if (begin == end) // an empty module, or one that closes itself
        return true;
    Cursor cursor(bytes, begin, end + 2); // up to the "</" of the module's end tag
    StartTag item;
    std::vector<RawText> texts;
    try {
        for (;;) {
            cursor.onlySpaceBeforeTag();
            if (cursor.position() == end)
                return true;
            cursor.expect("<");
            cursor.startTag(item);
            if (item.name != "HelpItem")
                return false;
            readItemContent(cursor, item, texts);
            each(item, texts);
        }
    } catch (const NotPlain&) {
        return false;
    }
}

// True when both lists hold the same names, letter case ignored.
bool holdsExactly(const NameList& a, const NameList& b) {
    if (a.Count() != b.Count())
        return false;
    for (const std::string& name : a)
        if (!b.Contains(name))
            return false;
    return true;
}

// True when the texts' languages are written without entities, each once (letter case ignored).
bool languagesArePlain(const std::vector<RawText>& texts) {
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].language || texts[i].language->find('&') != std::string_view::npos)
            return false;
        for (size_t earlier = 0; earlier < i; ++earlier)
            if (equalsIgnoreCase(*texts[earlier].language, *texts[i].language))
                return false;
    }
    return true;
}

// The record of a "HelpItem", or null when loading would name a problem in it.
std::shared_ptr<HelpItem> recordOf(const StartTag& item, const std::vector<RawText>& texts,
                                   const NameList& selected, const SelectedLanguageList& slot,
                                   const HelpItems& records) {
    std::optional<std::string_view> component = item.attribute("ComponentName");
    std::optional<std::string_view> control = item.attribute("ControlName");
    std::optional<std::string_view> number = item.attribute("ContextHelpID");
    std::optional<std::string_view> type = item.attribute("ControlType");
    if (!component || !control || !number || !type || !languagesArePlain(texts))
        return nullptr;
    std::string numberText = decoded(*number);
    if (!HelpItem::fitsContextNumber(numberText))
        return nullptr;
    auto record = std::make_shared<HelpItem>(slot);
    record->ControlName = decoded(*control);
    if (records.Contains(record->ControlName))
        return nullptr;
    record->ComponentName = decoded(*component);
    record->ControlType = decoded(*type);
    record->ContextHelpID = CLng(Val(numberText));
    if (std::optional<std::string_view> caption = item.attribute("Caption"))
        record->Caption = decoded(*caption);
    record->HelpTexts.reserve(std::max<size_t>(texts.size(), 1));
    if (texts.empty())
        record->HelpTexts.Add(std::string(), Neutral); // the older form, without text
    for (const RawText& text : texts) {
        if (record->takesTextIn(*text.language, selected))
            record->HelpTexts.Add(decoded(text.text), *text.language);
        else if (!text.text.empty()) // a text in a language that is not selected
            return nullptr;
    }
    return record;
}

} // namespace

bool PlainHelpData::read(std::string_view bytes, const SelectedLanguageList& slot) {
    bytes_ = bytes;
    slot_ = &slot;
    rootAttributes_.clear();
    languages_.clear();
    fileLanguages_.Clear();
    modules_.clear();
    try {
        Cursor cursor(bytes, 0, bytes.size());
        cursor.take(Declaration);
        cursor.skipSpace();
        cursor.expect("<");
        StartTag root;
        cursor.startTag(root);
        if (root.name != "Root")
            throw NotPlain{};
        for (size_t i = 0; i < root.count; ++i)
            rootAttributes_.emplace_back(root.attributes[i].name, root.attributes[i].value);
        if (!root.closed)
            readRootContent(cursor);
        cursor.skipSpace();
        if (!cursor.atEnd())
            return false;
    } catch (const NotPlain&) {
        return false;
    }
    for (const std::string& language : languages_)
        if (!fileLanguages_.Contains(language))
            fileLanguages_.Add(language, language);
    // Every module's content is read now, so that a file taken here is a well-formed file
    // whatever its records turn out to hold; the records are read for the file's languages.
    std::vector<char> plain(modules_.size(), 0);
    forEachInParallel(modules_.size(), [&](size_t i) {
        bool wellFormed = false;
        modules_[i].records = readModule(modules_[i], fileLanguages_, wellFormed);
        plain[i] = wellFormed ? 1 : 0;
    });
    return std::ranges::find(plain, 0) == plain.end();
}

// The languages and where each module's content lies; the modules' content is read with their
// records.
void PlainHelpData::readRootContent(Cursor& cursor) {
    StartTag element;
    for (;;) {
        cursor.onlySpaceBeforeTag();
        if (cursor.take("</"))
            return cursor.endTag("Root");
        cursor.expect("<");
        cursor.startTag(element);
        if (element.name == "SelectedLanguage" && modules_.empty()) {
            std::optional<std::string_view> name = element.attribute("Name");
            if (!name || !element.closed)
                throw NotPlain{};
            languages_.push_back(decoded(*name));
        } else if (element.name == "VBComponent") {
            std::optional<std::string_view> name = element.attribute("ComponentName");
            if (!name)
                throw NotPlain{};
            ModuleSpan module{decoded(*name), cursor.position(), cursor.position(), nullptr};
            if (!element.closed) {
                // No "<" stands in a text or value of the plain form: the first end tag of the
                // name ends the module, or its records are not in the plain form.
                size_t end = bytes_.find(ModuleEnd, cursor.position());
                if (end == std::string_view::npos)
                    throw NotPlain{};
                module.contentEnd = end;
                cursor.moveTo(end + 2);
                cursor.endTag("VBComponent");
            }
            modules_.push_back(std::move(module));
        } else {
            throw NotPlain{};
        }
    }
}

std::optional<std::string> PlainHelpData::rootAttribute(std::string_view name) const {
    for (const auto& [attributeName, value] : rootAttributes_)
        if (attributeName == name)
            return decoded(value);
    return std::nullopt;
}

bool PlainHelpData::readRecords(const NameList& selected, ModuleRecords& forms,
                                NameList& formNames) {
    NameList names; // the modules' names, each once (letter case ignored)
    for (const ModuleSpan& module : modules_) {
        if (forms.Contains(module.name) || names.Contains(module.name))
            return false;
        names.Add(module.name, module.name);
    }
    if (!holdsExactly(selected, fileLanguages_)) { // the records keep other languages' texts
        forEachInParallel(modules_.size(), [&](size_t i) {
            bool wellFormed = false;
            modules_[i].records = readModule(modules_[i], selected, wellFormed);
        });
    }
    for (const ModuleSpan& module : modules_)
        if (!module.records)
            return false;
    for (ModuleSpan& module : modules_) {
        forms.Add(std::move(module.records), module.name);
        formNames.Add(module.name, module.name);
    }
    modules_.clear();
    return true;
}

std::shared_ptr<HelpItems> PlainHelpData::readModule(const ModuleSpan& module,
                                                     const NameList& selected,
                                                     bool& wellFormed) const {
    auto records = std::make_shared<HelpItems>();
    bool taken = true; // after a record that cannot be taken, the rest is only checked
    wellFormed = readModuleItems(bytes_, module.contentBegin, module.contentEnd,
                                 [&](const StartTag& item, const std::vector<RawText>& texts) {
        if (!taken)
            return;
        std::shared_ptr<HelpItem> record = recordOf(item, texts, selected, *slot_, *records);
        taken = record != nullptr;
        if (taken) {
            std::string_view key = record->ControlName; // lives on in the record
            records->Add(std::move(record), key);
        }
    });
    return taken && wellFormed ? records : nullptr;
}

} // namespace corvane
