// SpellingCharacters: the character classes the word splitter needs, for the scripts whose
// text the program spell checks: Latin (with its extensions), Greek and Cyrillic.
//
// The tables are our own so that every platform splits words the same way, whatever the
// C library's locale data says. Letters of other scripts are not word letters: no
// dictionary the program offers could check them.
#pragma once

namespace corvane {

// The scripts whose letters are word letters.
enum class LetterScript { None, Latin, Greek, Cyrillic };

// The script of a word letter; None for every other character.
LetterScript letterScript(char32_t c);

// True for a letter of the Latin, Greek or Cyrillic blocks (including the extended blocks).
bool isWordLetter(char32_t c);

// True for a capital letter of those blocks.
bool isCapitalLetter(char32_t c);

// True for a small letter of those blocks.
bool isSmallLetter(char32_t c);

// True for a combining mark (U+0300..U+036F) that belongs to the letter before it.
bool isCombiningMark(char32_t c);

// True for the decimal digits 0..9 and the fullwidth, superscript and subscript digits.
bool isDigitCharacter(char32_t c);

// True for white space: ASCII spaces and controls, no-break space, the Unicode spaces.
bool isSpaceCharacter(char32_t c);

// True for an apostrophe that may stand inside a word: ' (U+0027) and ’ (U+2019).
bool isApostrophe(char32_t c);

// True for a hyphen that may stand inside a word: - (U+002D), U+2010 and U+2011.
bool isHyphen(char32_t c);

} // namespace corvane
