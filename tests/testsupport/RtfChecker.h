// RtfChecker: validates the structure of generated RTF help documents and reads back what
// the WinHelp compiler would see, so tests can assert more than "some bytes came out".
//
// It checks: the document is one group starting with "{\rtf1" and nothing but blanks after
// it; groups balance; every control word is on a known list; control symbols and "\'hh"
// escapes are well formed; "\uN" is in range and surrogates pair; no byte above 127 and no
// control character other than CR and LF appears outside an escape. It reads: the ANSI
// code page (\ansicpg), the topics (ended by \page) with their footnotes (the mark before
// "{\footnote": '#' context string, '$' title, 'K' keywords) and their text decoded to UTF-8
// (\par and \line as "\n", \tab as "\t"; font tables and other destinations skipped).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

// One footnote: its mark character (0 when none precedes it) and its text.
struct RtfFootnote {
    char mark = 0;
    std::string text;
};

// One topic of the document: the footnotes and body text up to its \page.
struct RtfTopic {
    std::vector<RtfFootnote> footnotes;
    std::string text;

    // The text of the first '#' footnote ("" when the topic has none).
    std::string contextString() const;
};

// What the checker found.
struct RtfCheckResult {
    std::string error;                       // "" when well formed; else "byte N, line L: what"
    int codePage = 1252;                     // from \ansicpg
    std::vector<RtfTopic> topics;            // in document order
    std::vector<std::string> contextStrings; // the text of every '#' footnote, in order
    int pageBreaks = 0;                      // count of \page

    // True when the document is well formed.
    bool ok() const { return error.empty(); }
};

class RtfChecker {
public:
    // Checks and reads a whole RTF document.
    static RtfCheckResult check(std::string_view document);
    // The control words the checker accepts.
    static const std::set<std::string, std::less<>>& knownControlWords();
};

// For EXPECT_TRUE: success when the document is well formed, else the checker's error.
::testing::AssertionResult isWellFormedRtf(std::string_view document);

} // namespace corvane::test
