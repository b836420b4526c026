#include "spelling/SpellingCharacters.h"

namespace corvane {

namespace {

enum class LetterCase { NotALetter, Capital, Small, Caseless };

constexpr bool in(char32_t c, char32_t first, char32_t last) { return c >= first && c <= last; }

// Blocks where letters come in pairs: the capital on the even (or odd) code point.
LetterCase pairCase(char32_t c, bool capitalIsEven) {
    bool even = c % 2 == 0;
    return even == capitalIsEven ? LetterCase::Capital : LetterCase::Small;
}

LetterCase latinCase(char32_t c) {
    if (in(c, 'A', 'Z') || in(c, 0xC0, 0xDE))
        return c == 0xD7 ? LetterCase::NotALetter : LetterCase::Capital;
    if (in(c, 'a', 'z') || in(c, 0xDF, 0xFF))
        return c == 0xF7 ? LetterCase::NotALetter : LetterCase::Small;
    if (c == 0xB5)
        return LetterCase::Small;
    if (c == 0xAA || c == 0xBA)
        return LetterCase::Caseless;
    if (in(c, 0x100, 0x137) || in(c, 0x14A, 0x177))
        return pairCase(c, true);
    if (in(c, 0x139, 0x148) || in(c, 0x179, 0x17E))
        return pairCase(c, false);
    if (c == 0x178)
        return LetterCase::Capital;
    if (in(c, 0x138, 0x17F))
        return LetterCase::Small; // ĸ, ŉ, ſ
    if (in(c, 0x1CD, 0x1DC))
        return pairCase(c, false);
    if (in(c, 0x1DE, 0x1EF) || in(c, 0x1FA, 0x233) || in(c, 0x246, 0x24F))
        return pairCase(c, true);
    if (in(c, 0x180, 0x24F))
        return LetterCase::Caseless; // the irregular letters of Latin Extended-B
    if (in(c, 0x250, 0x2AF))
        return LetterCase::Small; // IPA letters
    if (in(c, 0x1E96, 0x1E9D) || c == 0x1E9F)
        return LetterCase::Small;
    if (in(c, 0x1E00, 0x1EFF))
        return pairCase(c, true); // Latin Extended Additional, with ẞ (U+1E9E) even
    return LetterCase::NotALetter;
}

LetterCase greekExtendedCase(char32_t c) {
    bool punctuation = c == 0x1FBD || in(c, 0x1FBF, 0x1FC1) || in(c, 0x1FCD, 0x1FCF) ||
                       in(c, 0x1FDD, 0x1FDF) || in(c, 0x1FED, 0x1FEF) || c >= 0x1FFD;
    if (punctuation)
        return LetterCase::NotALetter;
    unsigned low = c & 0xF;
    if (c < 0x1F70 || in(c, 0x1F80, 0x1FAF))
        return low >= 8 ? LetterCase::Capital : LetterCase::Small;
    if (c < 0x1F80)
        return LetterCase::Small;
    return low >= 8 && low <= 0xC ? LetterCase::Capital : LetterCase::Small;
}

LetterCase greekCase(char32_t c) {
    if (in(c, 0x1F00, 0x1FFF))
        return greekExtendedCase(c);
    if (in(c, 0x370, 0x373) || in(c, 0x3D8, 0x3EF))
        return pairCase(c, true);
    if (c == 0x376 || c == 0x37F || c == 0x386 || in(c, 0x388, 0x38A) || c == 0x38C ||
        in(c, 0x38E, 0x38F) || in(c, 0x391, 0x3A1) || in(c, 0x3A3, 0x3AB) || c == 0x3CF ||
        in(c, 0x3D2, 0x3D4) || c == 0x3F4 || c == 0x3F7 || in(c, 0x3F9, 0x3FA) || in(c, 0x3FD, 0x3FF))
        return LetterCase::Capital;
    if (c == 0x377 || in(c, 0x37B, 0x37D) || c == 0x390 || in(c, 0x3AC, 0x3CE) || in(c, 0x3D0, 0x3D1) ||
        in(c, 0x3D5, 0x3D7) || in(c, 0x3F0, 0x3F3) || c == 0x3F5 || c == 0x3F8 || in(c, 0x3FB, 0x3FC))
        return LetterCase::Small;
    return LetterCase::NotALetter;
}

LetterCase cyrillicCase(char32_t c) {
    if (in(c, 0x400, 0x42F) || c == 0x4C0)
        return LetterCase::Capital;
    if (in(c, 0x430, 0x45F) || c == 0x4CF)
        return LetterCase::Small;
    if (in(c, 0x460, 0x481) || in(c, 0x48A, 0x4BF) || in(c, 0x4D0, 0x52F))
        return pairCase(c, true);
    if (in(c, 0x4C1, 0x4CE))
        return pairCase(c, false);
    return LetterCase::NotALetter;
}

LetterCase letterCase(char32_t c) {
    if (c < 0x370 || in(c, 0x1E00, 0x1EFF))
        return latinCase(c);
    if (c < 0x400 || in(c, 0x1F00, 0x1FFF))
        return greekCase(c);
    if (c < 0x530)
        return cyrillicCase(c);
    return LetterCase::NotALetter;
}

} // namespace

LetterScript letterScript(char32_t c) {
    if (letterCase(c) == LetterCase::NotALetter)
        return LetterScript::None;
    if (c < 0x370 || in(c, 0x1E00, 0x1EFF))
        return LetterScript::Latin;
    if (c < 0x400 || in(c, 0x1F00, 0x1FFF))
        return LetterScript::Greek;
    return LetterScript::Cyrillic;
}

bool isWordLetter(char32_t c) { return letterCase(c) != LetterCase::NotALetter; }

bool isCapitalLetter(char32_t c) { return letterCase(c) == LetterCase::Capital; }

bool isSmallLetter(char32_t c) { return letterCase(c) == LetterCase::Small; }

bool isCombiningMark(char32_t c) { return in(c, 0x300, 0x36F); }

bool isDigitCharacter(char32_t c) {
    return in(c, '0', '9') || in(c, 0xFF10, 0xFF19) || c == 0xB2 || c == 0xB3 || c == 0xB9 ||
           in(c, 0x2070, 0x2079) || in(c, 0x2080, 0x2089);
}

bool isSpaceCharacter(char32_t c) {
    return c <= 0x20 || c == 0x7F || c == 0x85 || c == 0xA0 || c == 0x1680 || in(c, 0x2000, 0x200B) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool isApostrophe(char32_t c) { return c == '\'' || c == 0x2019; }

bool isHyphen(char32_t c) { return c == '-' || c == 0x2010 || c == 0x2011; }

} // namespace corvane
