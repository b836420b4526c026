// CodePageCharacters: the bytes of single characters in an ANSI code page, for the writers of
// help files that go out in the code page of their language (RTF topics, popup text).
//
// Code pages other than 1252 go through the system's converter, far too slow to ask again for
// every character of every topic, so each answer is kept for the life of the thread that asked;
// the characters asked last are found without a look-up in the kept answers.
#pragma once

#include <string>

namespace corvane {

class CodePageCharacters {
public:
    // The bytes of `character` in `codePage`, "" when the code page cannot hold it. The answer
    // stays valid for the calling thread's life.
    static const std::string& bytesOf(char32_t character, int codePage);
    // VbError 5 when the system lacks `codePage`; checked once per thread and code page, so
    // that a writer can ask before every text.
    static void checkKnown(int codePage);
};

} // namespace corvane
