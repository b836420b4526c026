// WordSplitter: finds the words of a help text that the spell checker checks.
//
// Positions are counted in characters (Unicode code points) from 0, as the text box reports
// its selection; byte offsets into the UTF-8 text come with them. A byte that is not part of
// valid UTF-8 counts as one character and is never part of a word.
//
// The rules, in the order they apply:
// 1. The text is cut into tokens at white space (ASCII spaces and controls, no-break space,
//    the Unicode spaces).
// 2. A whole token is skipped when it is
//    - an internet address: it contains "://", or starts with "www." (letter case ignored,
//      after opening brackets and quotes), or contains "@" with a letter or digit on both
//      sides (e-mail addresses, "mailto:a@b.c");
//    - a file path: it contains a backslash ("C:\Temp", "\custom.dic"), starts with "/",
//      "~/", "./" or "../" (after opening brackets and quotes), starts with a drive ("C:/"),
//      or contains two or more slashes ("usr/share/hunspell"). One slash separates words
//      ("and/or").
// 3. Inside a token, a word is a run of letters (Latin, Greek and Cyrillic, see
//    SpellingCharacters.h), digits and underscores, with combining marks kept with their
//    letter. An apostrophe (' or ’), a hyphen (-, U+2010, U+2011) or a period joins two such
//    runs when it stands between them, so "don't", "it’s", "e-mail" and "well-known" are one
//    word each. A hyphenated word is checked whole; the dictionary itself tries the parts
//    when the whole is not listed (Hunspell's BREAK rules), so "well-knwon" is questioned
//    as one word and "Hilfe-Text" is accepted. Apostrophes and hyphens at the start or end
//    of a word are not part of it ("students'" is "students").
// 4. A word is skipped (never questioned) when it
//    - contains a digit: numbers, "Win32", "3rd", "MP3-Player";
//    - contains an underscore: identifiers ("cmd_Click", "IDH_100");
//    - contains a period: file names ("ContextHelp.txt"), qualified names ("Text1.Text",
//      "App.Path") and dotted abbreviations ("e.g.", "z.B."). A missing space after a full
//      stop ("end.Next") is therefore not caught;
//    - is in capitals, two or more capital letters and no small one: acronyms ("OK",
//      "HTML", "DON'T"); a single capital ("A", "I") is a word, though the spelling
//      service never questions a single letter;
//    - has a capital letter right after a small one: identifiers and brand names in mixed
//      case ("txtHelpText", "ContextHelp", "iPhone").
//    Letters of other scripts (Arabic, CJK ...) and symbols (emoji) end a word and are never
//    checked.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace corvane {

// Where one word of a text stands.
struct WordSpan {
    size_t start = 0;      // first character, from 0
    size_t length = 0;     // number of characters
    size_t byteStart = 0;  // first byte in the UTF-8 text
    size_t byteLength = 0; // number of bytes

    friend bool operator==(const WordSpan&, const WordSpan&) = default;
};

// The words of a UTF-8 text that should be spell checked, in text order (rules above).
std::vector<WordSpan> splitWords(std::string_view utf8Text);

// The UTF-8 text of a word found in `utf8Text`.
std::string_view wordText(std::string_view utf8Text, const WordSpan& span);

} // namespace corvane
