// PlainHelpDataCursor: reads the bytes of a help data file in the plain form (see PlainHelpData)
// one piece after the other: white space, start and end tags, character data. Where the bytes
// leave the plain form it throws NotPlainForm; what it returns is checked (names, quotes, and
// every "&" an entity or character reference the program writes) but not yet decoded.
//
//   PlainHelpDataCursor cursor(bytes, 0, bytes.size());
//   cursor.expect("<");
//   PlainStartTag tag;
//   cursor.startTag(tag);                       // tag.name, tag.attribute("Name"), tag.closed
//   std::string text = decodedPlainText(cursor.text());
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Thrown where the bytes leave the plain form.
struct NotPlainForm {};

// True when both hold the same bytes. The names and marks compared while reading are a few
// bytes long, where a loop costs less than a call of memcmp (a fifth of a plain reading's time
// went into such calls).
inline bool sameBytes(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// An attribute as written: its name and its checked value, entities not yet replaced.
struct PlainAttribute {
    std::string_view name;
    std::string_view value;
};

// A start tag: its name, its attributes and whether it closes itself. The program writes at
// most five attributes on an element; a tag with more than there is room for is not plain.
struct PlainStartTag {
    std::string_view name;
    std::array<PlainAttribute, 8> attributes;
    size_t count = 0;
    bool closed = false;

    // The raw value of the first attribute of a name.
    std::optional<std::string_view> attribute(std::string_view wanted) const {
        for (size_t i = 0; i < count; ++i)
            if (sameBytes(attributes[i].name, wanted))
                return attributes[i].value;
        return std::nullopt;
    }
};

// A checked text or value as written, its entities and character references replaced.
std::string decodedPlainText(std::string_view raw);
// The same text written into `text` (replacing what it held), which keeps its room for the next.
void decodePlainText(std::string_view raw, std::string& text);

class PlainHelpDataCursor {
public:
    // A cursor at `at` that reads no byte from `end` on.
    PlainHelpDataCursor(std::string_view bytes, size_t at, size_t end)
        : bytes_(bytes.substr(0, end)), at_(at) {}

    // Where the cursor stands.
    size_t position() const { return at_; }
    // True when no byte is left.
    bool atEnd() const { return at_ >= bytes_.size(); }
    // Moves the cursor (to a place the caller found).
    void moveTo(size_t at) { at_ = at; }
    // Moves past blanks, tabs, CRs and LFs.
    void skipSpace();
    // Moves past `literal` when the bytes start with it; false when they do not. Inline: the
    // reading asks this for marks of one or two bytes several times a record.
    bool take(std::string_view literal) {
        // A literal's size is known where this is inlined: the compiler then compares whole words.
        if (bytes_.size() - std::min(at_, bytes_.size()) < literal.size() ||
            std::memcmp(bytes_.data() + at_, literal.data(), literal.size()) != 0)
            return false;
        at_ += literal.size();
        return true;
    }
    // Moves past `literal`; throws when the bytes do not start with it.
    void expect(std::string_view literal) {
        if (!take(literal))
            throw NotPlainForm{};
    }
    // Reads a start tag after its "<" into `tag`.
    void startTag(PlainStartTag& tag);
    // Reads the rest of an end tag after its "</" (white space allowed before its ">").
    void endTag(std::string_view name);
    // Reads the character data up to the next "<".
    std::string_view text();
    // Moves to the next "<", which only white space may come before; true when none did.
    bool onlySpaceBeforeTag();

private:
    std::string_view name();
    PlainAttribute attribute();
    template <char Quote>
    size_t valueEnd() const;
    // Throws unless an entity or character reference the program writes starts at `at`.
    void checkReferenceAt(size_t at) const;

    std::string_view bytes_;
    size_t at_;
};

} // namespace corvane
