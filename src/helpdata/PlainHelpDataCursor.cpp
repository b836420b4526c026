#include "helpdata/PlainHelpDataCursor.h"

#include "vbruntime/ByteScan.h"
#include "xml/XmlChecks.h"

namespace corvane {

namespace {

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
// character: only those of ASCII characters XML allows (the program writes tab, CR and LF so),
// which stand for one byte and are never cleaned after a parse. The other control characters
// (earlier versions wrote them so) are left to the document, which cleans them.
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
    if (digits == 0 || at >= text.size() || text[at] != ';' || value > 0x7F ||
        isForbiddenXmlControl(static_cast<char>(value)))
        return 0;
    stands = static_cast<char>(value);
    return at + 1;
}

// The length of the entity or character reference at the start of `text` (0 when it is none
// the plain form has) and the character it stands for.
size_t entityAt(std::string_view text, char& stands) {
    if (text.size() < 2 || text[0] != '&')
        return 0;
    if (text[1] == '#')
        return characterReferenceAt(text, stands);
    // The byte after "&" tells which entity it can be: one short comparison, not five calls.
    for (const auto& [entity, character] : Entities) {
        if (entity[1] == text[1] && text.size() >= entity.size() && sameBytes(text.substr(0, entity.size()), entity)) {
            stands = character;
            return entity.size();
        }
    }
    return 0;
}

// A checked text or value as written, its entities replaced.
} // namespace

std::string decodedPlainText(std::string_view raw) {
    std::string text;
    decodePlainText(raw, text);
    return text;
}

void decodePlainText(std::string_view raw, std::string& text) {
    size_t amp = raw.find('&');
    text.assign(raw.substr(0, amp));
    if (amp == std::string_view::npos)
        return;
    text.reserve(raw.size());
    for (size_t i = amp; i < raw.size();) {
        char stands = raw[i];
        size_t length = raw[i] == '&' ? entityAt(raw.substr(i), stands) : 0;
        i += length > 0 ? length : 1; // an "&" the cursor did not check stays as it is
        text += stands;
    }
}


// The loops below count in a local: a byte read through a char may alias the member, which
// would otherwise be stored and loaded again for every byte.
void PlainHelpDataCursor::skipSpace() {
    const char* data = bytes_.data();
    const size_t size = bytes_.size();
    size_t i = at_;
    while (i < size && is(Classes.space, data[i]))
        ++i;
    at_ = i;
}

void PlainHelpDataCursor::startTag(PlainStartTag& tag) {
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
            throw NotPlainForm{}; // an attribute follows white space
        tag.attributes[tag.count++] = attribute();
    }
}

void PlainHelpDataCursor::endTag(std::string_view name) {
    // The name it must be, and no name byte after it: the same as reading the name and comparing.
    if (!take(name) || (!atEnd() && is(Classes.name, bytes_[at_])))
        throw NotPlainForm{};
    skipSpace();
    expect(">");
}

std::string_view PlainHelpDataCursor::text() {
    // One scan to the next "<" that checks each "&" on the way.
    size_t end = at_;
    for (;;) {
        end += bytescan::runWithout<0, false, '<', '&'>(bytes_.substr(end));
        if (end >= bytes_.size())
            throw NotPlainForm{};
        if (bytes_[end] == '<')
            break;
        checkReferenceAt(end++);
    }
    std::string_view text = bytes_.substr(at_, end - at_);
    at_ = end;
    return text;
}

bool PlainHelpDataCursor::onlySpaceBeforeTag() {
    size_t begin = at_;
    skipSpace();
    if (atEnd() || bytes_[at_] != '<')
        throw NotPlainForm{};
    return at_ == begin;
}

std::string_view PlainHelpDataCursor::name() {
    const char* data = bytes_.data();
    const size_t size = bytes_.size();
    const size_t begin = at_;
    if (begin >= size || !is(Classes.nameStart, data[begin]))
        throw NotPlainForm{};
    size_t i = begin + 1;
    while (i < size && is(Classes.name, data[i]))
        ++i;
    at_ = i;
    return bytes_.substr(begin, i - begin);
}

PlainAttribute PlainHelpDataCursor::attribute() {
    PlainAttribute attribute{name(), {}};
    skipSpace();
    expect("=");
    skipSpace();
    if (atEnd() || (bytes_[at_] != '"' && bytes_[at_] != '\''))
        throw NotPlainForm{};
    const char quote = bytes_[at_++];
    const size_t end = quote == '"' ? valueEnd<'"'>() : valueEnd<'\''>();
    attribute.value = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    return attribute;
}

// Where the value after the cursor ends at its closing quote; one scan checks on the way that
// it holds no "<", tab, CR or LF and that each "&" is a reference the program writes.
template <char Quote>
size_t PlainHelpDataCursor::valueEnd() const {
    for (size_t i = at_;;) {
        i += bytescan::runWithout<'\r' + 1, false, '<', '&', Quote>(bytes_.substr(i));
        if (i >= bytes_.size())
            throw NotPlainForm{};
        const char c = bytes_[i];
        if (c == Quote)
            return i;
        if (c == '&')
            checkReferenceAt(i);
        else if (is(Classes.notInValue, c))
            throw NotPlainForm{};
        ++i; // a reference's other bytes and other control characters stand as they are
    }
}

void PlainHelpDataCursor::checkReferenceAt(size_t at) const {
    char stands = 0;
    if (entityAt(bytes_.substr(at), stands) == 0)
        throw NotPlainForm{};
}

} // namespace corvane
