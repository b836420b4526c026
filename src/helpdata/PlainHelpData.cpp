#include "helpdata/PlainHelpData.h"

#include "helpdata/FinishedSpans.h"
#include "helpdata/PlainHelpDataCursor.h"
#include "platform/Machine.h"
#include "process/ParallelFor.h"
#include "text/TextCodec.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/HelpTextList.h"
#include "vbruntime/VbConvert.h"
#include "xml/XmlEncoding.h"

#include <algorithm>
#include <cstdint>

namespace corvane {

namespace {

constexpr std::string_view Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
constexpr std::string_view ModuleEnd = "</VBComponent";
constexpr std::string_view ModuleEndTag = "</VBComponent>"; // as the program writes it
// About how much of a file is read before the records in it are (see PlainHelpData::read).
constexpr size_t PieceBytes = size_t{8} << 20;

// One "HelpText" of a record as written.
struct RawText {
    std::optional<std::string_view> language;
    std::string_view text;
};

// Reads the rest of a "HelpItem" whose start tag was read: its texts.
void readItemContent(PlainHelpDataCursor& cursor, const PlainStartTag& item, std::vector<RawText>& texts) {
    texts.clear();
    if (item.closed)
        return;
    bool spaceOnly = true;
    PlainStartTag text;
    for (;;) {
        spaceOnly = cursor.onlySpaceBeforeTag() && spaceOnly;
        if (cursor.take("</"))
            break;
        cursor.expect("<");
        cursor.startTag(text);
        if (!sameBytes(text.name, "HelpText"))
            throw NotPlainForm{};
        RawText raw{text.attribute("Language"), {}};
        if (!text.closed) {
            raw.text = cursor.text();
            cursor.expect("</");
            cursor.endTag("HelpText");
        }
        texts.push_back(raw);
    }
    if (texts.empty() && !spaceOnly) // white space as an element's only text is its text
        throw NotPlainForm{};
    cursor.endTag("HelpItem");
}

// Reads the "HelpItem" elements of a module's content, bytes[begin, end); `each` gets every one.
// False when the content is not in the plain form.
template <typename Each>
bool readModuleItems(std::string_view bytes, size_t begin, size_t end, Each&& each) {
    if (begin == end) // an empty module, or one that closes itself
        return true;
    PlainHelpDataCursor cursor(bytes, begin, end + 2); // up to the "</" of the module's end tag
    PlainStartTag item;
    std::vector<RawText> texts;
    try {
        for (;;) {
            cursor.onlySpaceBeforeTag();
            if (cursor.position() == end)
                return true;
            cursor.expect("<");
            cursor.startTag(item);
            if (!sameBytes(item.name, "HelpItem"))
                return false;
            readItemContent(cursor, item, texts);
            each(item, texts);
        }
    } catch (const NotPlainForm&) {
        return false;
    }
}

// True when the texts' languages are written without entities, each once (letter case ignored),
// and a record holds them all.
bool languagesArePlain(const std::vector<RawText>& texts) {
    if (texts.size() > HelpTextList::MaxCount)
        return false;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (!texts[i].language || texts[i].language->find('&') != std::string_view::npos)
            return false;
        for (size_t earlier = 0; earlier < i; ++earlier)
            if (equalsIgnoreCase(*texts[earlier].language, *texts[i].language))
                return false;
    }
    return true;
}

// Room for a record's texts decoded, kept from record to record: the texts one after the other,
// and where each ends.
struct DecodedTexts {
    std::string one;
    std::string all;
    std::vector<size_t> ends;

    // Decodes `texts`, so that the record's block is made for the bytes its texts hold, not for
    // the bytes as written, entities and all.
    void decode(const std::vector<RawText>& texts) {
        all.clear();
        ends.clear();
        for (const RawText& text : texts) {
            decodePlainText(text.text, one);
            all += one;
            ends.push_back(all.size());
        }
    }
    // The `i`-th text (from 0) decoded.
    std::string_view text(size_t i) const {
        const size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(all).substr(begin, ends[i] - begin);
    }
};

// A value's text: the bytes as written where they hold no reference (most do), else the value
// decoded into `room`, valid until `room` is used again.
std::string_view decodedValue(std::string_view raw, std::string& room) {
    if (raw.find('&') == std::string_view::npos)
        return raw;
    decodePlainText(raw, room);
    return room;
}

// The record of a "HelpItem", or null when loading would name a problem in it.
std::shared_ptr<HelpItem> recordOf(const PlainStartTag& item, const std::vector<RawText>& texts,
                                   const SelectedLanguageList& slot,
                                   const HelpItems& records, DecodedTexts& decoded) {
    std::optional<std::string_view> component = item.attribute("ComponentName");
    std::optional<std::string_view> control = item.attribute("ControlName");
    std::optional<std::string_view> number = item.attribute("ContextHelpID");
    std::optional<std::string_view> type = item.attribute("ControlType");
    if (!component || !control || !number || !type || texts.size() > HelpTextList::MaxCount ||
        !languagesArePlain(texts))
        return nullptr;
    std::string room;
    const std::string numberText(decodedValue(*number, room));
    if (!HelpItem::fitsContextNumber(numberText))
        return nullptr;
    auto record = std::make_shared<HelpItem>(slot);
    record->ControlName = decodedValue(*control, room);
    if (records.Contains(record->ControlName))
        return nullptr;
    record->ComponentName = decodedValue(*component, room);
    record->ControlType = decodedValue(*type, room);
    record->ContextHelpID = CLng(Val(numberText));
    if (std::optional<std::string_view> caption = item.attribute("Caption"))
        record->Caption = decodedValue(*caption, room);
    decoded.decode(texts);
    record->HelpTexts.reserve(std::max<size_t>(texts.size(), 1), decoded.all.size());
    if (texts.empty())
        record->HelpTexts.Add({}, Neutral); // the older form, without text
    for (size_t i = 0; i < texts.size(); ++i)
        if (record->takesTextIn(*texts[i].language))
            record->HelpTexts.Add(decoded.text(i), *texts[i].language);
        else if (!texts[i].text.empty()) // a second text of a language: told by the document's reading
            return nullptr;
    record->markAsInFile();
    return record;
}

} // namespace

bool PlainHelpData::read(std::string_view bytes, const SelectedLanguageList& slot) {
    return read(const_cast<char*>(bytes.data()), bytes.size(), slot, BytesRead::Keep); // nothing written
}

bool PlainHelpData::read(char* bytes, size_t size, const SelectedLanguageList& slot, BytesRead use,
                         const MoreBytes& more) {
    bytes_ = std::string_view(bytes, size);
    ownBytes_ = use == BytesRead::GiveBack ? bytes : nullptr;
    gaveBytesBack_ = false;
    slot_ = &slot;
    rootAttributes_.clear();
    languages_.Clear();
    modules_.clear();
    // The bytes are read in pieces that end where a module does: each piece's modules are read
    // (and their memory given back) before the next piece is read, so that a large file's bytes
    // and its records are not held at once. Every module's content is read, so that a file
    // taken here is a well-formed file whatever its records turn out to hold.
    size_t filled = more ? 0 : size;
    size_t at = 0; // where the reading of the root goes on
    try {
        for (size_t begin = 0;;) {
            const size_t end = pieceEnd(begin, filled, more);
            if (!isPlainPiece(begin, end))
                return false;
            PlainHelpDataCursor cursor(bytes_, at, end);
            const size_t firstModule = modules_.size();
            const bool rootEnded = (begin == 0 && readRootStart(cursor)) || readRootContent(cursor, end);
            if (!readModules(firstModule, begin, end))
                return false;
            if (end == size) {
                cursor.skipSpace();
                return cursor.atEnd();
            }
            if (rootEnded) // a module's end tag stands after the root's
                return false;
            at = cursor.position();
            begin = end;
        }
    } catch (const NotPlainForm&) {
        return false;
    }
}

size_t PlainHelpData::pieceEnd(size_t begin, size_t& filled, const MoreBytes& more) const {
    // The piece before ended at the last end tag in the bytes filled then: none is left in them.
    while (filled < bytes_.size()) {
        const size_t upTo = std::min(filled + PieceBytes, bytes_.size());
        const size_t now = more(filled, upTo);
        if (now < upTo) // the file is shorter than it was: it changes while it is read
            throw NotPlainForm{};
        filled = now;
        const size_t last = std::string_view(bytes_.data() + begin, filled - begin).rfind(ModuleEndTag);
        if (filled < bytes_.size() && last != std::string_view::npos)
            return begin + last + ModuleEndTag.size();
    }
    return bytes_.size();
}

bool PlainHelpData::isPlainPiece(size_t begin, size_t end) const {
    // A piece ends after a ">": a UTF-8 sequence never stands across its end.
    const std::string_view piece = bytes_.substr(begin, end - begin);
    if (piece.find('\0') != std::string_view::npos)
        return false;
    return begin == 0 ? isPlainUtf8Xml(piece) : isValidUtf8(piece);
}

bool PlainHelpData::readRootStart(PlainHelpDataCursor& cursor) {
    cursor.take(Declaration);
    cursor.skipSpace();
    cursor.expect("<");
    PlainStartTag root;
    cursor.startTag(root);
    if (root.name != "Root")
        throw NotPlainForm{};
    for (size_t i = 0; i < root.count; ++i) // copied: the bytes may go back
        rootAttributes_.emplace_back(root.attributes[i].name, root.attributes[i].value);
    return root.closed;
}

bool PlainHelpData::readModules(size_t first, size_t begin, size_t end) {
    const size_t count = modules_.size() - first;
    // The pages go back from the one the piece begins in, the rest of which the pieces before
    // have read; the one it ends in goes back with the next piece.
    std::optional<FinishedSpans> finished; // only where the owner lets the bytes go back
    size_t base = 0;
    if (ownBytes_) {
        const size_t page = platform::memoryPageSize();
        const auto address = [&](size_t at) { return static_cast<size_t>(reinterpret_cast<uintptr_t>(ownBytes_ + at)); };
        base = begin - std::min(begin, address(begin) % page);
        std::vector<FinishedSpans::Span> spans;
        spans.reserve(count);
        for (size_t i = first; i < modules_.size(); ++i) // the module's reading looks at the "</" after it
            spans.push_back({modules_[i].contentBegin - base, std::min(modules_[i].contentEnd + 2, end) - base});
        finished.emplace(std::move(spans), end - base, page, address(base));
    }
    std::vector<char> plain(count, 0);
    std::vector<char> givenBack(count, 0);
    const auto noteGivenBack = [&] {
        gaveBytesBack_ = gaveBytesBack_ || std::ranges::find(givenBack, 1) != givenBack.end();
    };
    try {
        forEachInParallel(count, [&](size_t k) {
            bool wellFormed = false;
            ModuleSpan& module = modules_[first + k];
            module.records = readModule(module, wellFormed);
            plain[k] = wellFormed ? 1 : 0;
            if (!finished || !module.records)
                return;
            const FinishedSpans::Span free = finished->finish(k);
            if (!free.empty())
                givenBack[k] = platform::releaseWholePages(ownBytes_ + base + free.begin, free.size()) ? 1 : 0;
        });
    } catch (...) { // out of memory: what went back is gone all the same
        noteGivenBack();
        throw;
    }
    noteGivenBack();
    return std::ranges::find(plain, 0) == plain.end();
}

// The languages and where each module's content lies; the modules' content is read with their
// records.
bool PlainHelpData::readRootContent(PlainHelpDataCursor& cursor, size_t end) {
    PlainStartTag element;
    for (;;) {
        if (end < bytes_.size() && cursor.position() == end) // the piece ends here, the root goes on
            return false;
        cursor.onlySpaceBeforeTag();
        if (cursor.take("</")) {
            cursor.endTag("Root");
            return true;
        }
        cursor.expect("<");
        cursor.startTag(element);
        if (element.name == "SelectedLanguage" && modules_.empty()) {
            std::optional<std::string_view> name = element.attribute("Name");
            if (!name || !element.closed)
                throw NotPlainForm{};
            std::string language = decodedPlainText(*name);
            if (!languages_.Contains(language)) // the first spelling counts, as loading keeps it
                languages_.Add(language, language);
        } else if (element.name == "VBComponent") {
            std::optional<std::string_view> name = element.attribute("ComponentName");
            if (!name)
                throw NotPlainForm{};
            ModuleSpan module{decodedPlainText(*name), cursor.position(), cursor.position(), nullptr};
            if (!element.closed) {
                // No "<" stands in a text or value of the plain form: the first end tag of the
                // name ends the module, or its records are not in the plain form.
                size_t moduleEnd = bytes_.substr(0, end).find(ModuleEnd, cursor.position());
                if (moduleEnd == std::string_view::npos)
                    throw NotPlainForm{};
                module.contentEnd = moduleEnd;
                cursor.moveTo(moduleEnd + 2);
                cursor.endTag("VBComponent");
            }
            modules_.push_back(std::move(module));
        } else {
            throw NotPlainForm{};
        }
    }
}

std::optional<std::string> PlainHelpData::rootAttribute(std::string_view name) const {
    for (const auto& [attributeName, value] : rootAttributes_)
        if (attributeName == name)
            return decodedPlainText(value);
    return std::nullopt;
}

bool PlainHelpData::readRecords(ModuleRecords& forms, NameList& formNames) {
    NameList names; // the modules' names, each once (letter case ignored)
    for (const ModuleSpan& module : modules_) {
        if (forms.Contains(module.name) || names.Contains(module.name))
            return false;
        names.Add(module.name, module.name);
    }
    for (const ModuleSpan& module : modules_)
        if (!module.records)
            return false;
    for (ModuleSpan& module : modules_) {
        forms.Add(std::move(module.records), module.name);
        formNames.Add(module.name, module.name);
    }
    return true;
}

std::shared_ptr<HelpItems> PlainHelpData::readModule(const ModuleSpan& module, bool& wellFormed) const {
    auto records = std::make_shared<HelpItems>();
    bool taken = true; // after a record that cannot be taken, the rest is only checked
    DecodedTexts decoded;
    wellFormed = readModuleItems(bytes_, module.contentBegin, module.contentEnd,
                                 [&](const PlainStartTag& item, const std::vector<RawText>& texts) {
        if (!taken)
            return;
        std::shared_ptr<HelpItem> record = recordOf(item, texts, *slot_, *records, decoded);
        taken = record != nullptr;
        if (taken) {
            std::string_view key = record->ControlName; // lives on in the record
            records->Add(std::move(record), key);
        }
    });
    if (!taken || !wellFormed)
        return nullptr;
    records->shrinkToFit();
    return records;
}

} // namespace corvane
