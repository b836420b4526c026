// RtfText: help text made safe for the topic document of a WinHelp project.
//
// Help text is kept as UTF-8; the WinHelp compiler reads 7-bit RTF in which `\`, `{` and
// `}` are syntax and other characters must be written as escapes. The topic template puts
// the escaped text between a control word and "\par", so every escape ends cleanly.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class RtfText {
public:
    // The UTF-8 text as RTF body text for a document whose ANSI code page is `codePage`:
    //   `\` `{` `}`           -> `\\` `\{` `\}`
    //   CR LF, LF, CR         -> `\par ` (one per line break)
    //   tab                   -> `\tab `
    //   printable ASCII       -> as it is
    //   other characters the code page holds (and ASCII controls) -> `\'hh` per byte
    //   characters it cannot hold -> `\uN?` with N the signed 16-bit UTF-16 unit, two for
    //                            characters beyond U+FFFF; bytes that are not UTF-8 -> `\u-3?`
    // Raises VbError 5 for a code page the system does not know.
    static std::string escape(std::string_view text, int codePage);
    // Appends escape(text, codePage) to `out` (no string of its own: for text written in bulk).
    static void appendEscaped(std::string& out, std::string_view text, int codePage);
};

} // namespace corvane
