#include "spelling/WordSplitter.h"

#include "spelling/SpellingCharacters.h"
#include "text/TextCodec.h"

namespace corvane {

namespace {

// One decoded character and the offset of its first byte.
struct Character {
    char32_t code;
    size_t byte;
};

// Stands for a byte that is not part of valid UTF-8; it is no letter, digit or space.
constexpr char32_t InvalidByte = 0xFFFD;

std::vector<Character> decode(std::string_view text) {
    std::vector<Character> characters;
    characters.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = pos;
        if (utf8SequenceLength(text, pos) != 0) {
            characters.push_back({nextCodePoint(text, pos), start});
        } else {
            characters.push_back({InvalidByte, start});
            ++pos;
        }
    }
    return characters;
}

bool isRunCharacter(char32_t c) { return isWordLetter(c) || isDigitCharacter(c) || c == '_'; }

bool isAlphanumeric(char32_t c) { return isWordLetter(c) || isDigitCharacter(c); }

bool isOpeningPunctuation(char32_t c) {
    switch (c) {
    case '(': case '[': case '{': case '<': case '"': case '\'':
    case 0x201C: case 0x2018: case 0x00AB: case 0x201E: case 0x201A:
        return true;
    default:
        return false;
    }
}

char32_t asciiSmall(char32_t c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// The characters of one white-space delimited token.
class Token {
public:
    Token(const std::vector<Character>& characters, size_t first, size_t end)
        : characters_(characters), first_(first), end_(end) {
        while (trimmed_ < end_ && isOpeningPunctuation(at(trimmed_)))
            ++trimmed_;
    }

    // True when the token is an internet address or a file path (rule 2).
    bool isAddressOrPath() const {
        return hasTrimmedPrefix("www.") || hasTrimmedPrefix("/") || hasTrimmedPrefix("~/") ||
               hasTrimmedPrefix("./") || hasTrimmedPrefix("../") || startsWithDrive() ||
               count('/') >= 2 || count('\\') > 0 || hasMailSign();
    }

private:
    char32_t at(size_t i) const { return characters_[i].code; }

    // ASCII prefix after the opening punctuation, letter case ignored.
    bool hasTrimmedPrefix(std::string_view prefix) const {
        if (end_ - trimmed_ < prefix.size())
            return false;
        for (size_t k = 0; k < prefix.size(); ++k)
            if (asciiSmall(at(trimmed_ + k)) != static_cast<char32_t>(prefix[k]))
                return false;
        return true;
    }

    bool startsWithDrive() const {
        if (end_ - trimmed_ < 3)
            return false;
        char32_t drive = asciiSmall(at(trimmed_));
        char32_t slash = at(trimmed_ + 2);
        return drive >= 'a' && drive <= 'z' && at(trimmed_ + 1) == ':' && (slash == '/' || slash == '\\');
    }

    size_t count(char32_t wanted) const {
        size_t n = 0;
        for (size_t i = first_; i < end_; ++i)
            n += at(i) == wanted ? 1 : 0;
        return n;
    }

    bool hasMailSign() const {
        for (size_t i = first_ + 1; i + 1 < end_; ++i)
            if (at(i) == '@' && isAlphanumeric(at(i - 1)) && isAlphanumeric(at(i + 1)))
                return true;
        return false;
    }

    const std::vector<Character>& characters_;
    size_t first_;
    size_t end_;
    size_t trimmed_ = first_;
};

// What a word candidate is made of, for the skip rules (rule 4).
struct Candidate {
    size_t first = 0;
    size_t end = 0;
    size_t capitals = 0;
    size_t smalls = 0;
    bool hasDigit = false;
    bool hasUnderscore = false;
    bool hasPeriod = false;
    bool hasMixedCase = false;

    void note(char32_t c, char32_t previous) {
        capitals += isCapitalLetter(c) ? 1 : 0;
        smalls += isSmallLetter(c) ? 1 : 0;
        hasDigit = hasDigit || isDigitCharacter(c);
        hasUnderscore = hasUnderscore || c == '_';
        hasPeriod = hasPeriod || c == '.';
        hasMixedCase = hasMixedCase || (isSmallLetter(previous) && isCapitalLetter(c));
    }

    bool isChecked() const {
        bool allCapitals = capitals >= 2 && smalls == 0;
        return !(hasDigit || hasUnderscore || hasPeriod || allCapitals || hasMixedCase);
    }
};

bool isJoiner(char32_t c) { return isApostrophe(c) || isHyphen(c) || c == '.'; }

// Reads the candidate that starts at `first` (a run character) inside [first, end).
Candidate readCandidate(const std::vector<Character>& characters, size_t first, size_t end) {
    Candidate word;
    word.first = first;
    char32_t previous = 0;
    size_t i = first;
    while (i < end) {
        char32_t c = characters[i].code;
        bool joins = isJoiner(c) && i + 1 < end && isRunCharacter(characters[i + 1].code);
        if (!isRunCharacter(c) && !isCombiningMark(c) && !joins)
            break;
        word.note(c, previous);
        previous = c;
        ++i;
    }
    word.end = i;
    return word;
}

void collectWords(const std::vector<Character>& characters, size_t first, size_t end,
                  size_t textSize, std::vector<WordSpan>& words) {
    auto byteAt = [&](size_t i) { return i < characters.size() ? characters[i].byte : textSize; };
    size_t i = first;
    while (i < end) {
        if (!isRunCharacter(characters[i].code)) {
            ++i;
            continue;
        }
        Candidate word = readCandidate(characters, i, end);
        if (word.isChecked())
            words.push_back({word.first, word.end - word.first, byteAt(word.first),
                             byteAt(word.end) - byteAt(word.first)});
        i = word.end;
    }
}

} // namespace

std::vector<WordSpan> splitWords(std::string_view utf8Text) {
    std::vector<Character> characters = decode(utf8Text);
    std::vector<WordSpan> words;
    size_t i = 0;
    while (i < characters.size()) {
        if (isSpaceCharacter(characters[i].code)) {
            ++i;
            continue;
        }
        size_t first = i;
        while (i < characters.size() && !isSpaceCharacter(characters[i].code))
            ++i;
        if (!Token(characters, first, i).isAddressOrPath())
            collectWords(characters, first, i, utf8Text.size(), words);
    }
    return words;
}

std::string_view wordText(std::string_view utf8Text, const WordSpan& span) {
    return utf8Text.substr(span.byteStart, span.byteLength);
}

} // namespace corvane
