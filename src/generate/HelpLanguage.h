// HelpLanguage: the language facts a help project states in its own words — the RTF font
// character set of a code page, the LCID as the WinHelp project writes it — and the line ends
// every generated text file gets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// The Windows character set (RTF \fcharsetN, WinHelp CHARSET=) whose fonts show text of the
// ANSI code page: 0 for 1252, 204 for 1251, 128 for 932 ...; 1 (the default character set)
// for a code page Windows names no character set for.
int charsetOfCodePage(int codePage);

// An LCID as a WinHelp project's "LCID=" option writes it: "0x" and lower-case hex digits
// without leading zeros ("0x419").
std::string winHelpLcid(uint32_t lcid);

// The text with every line break (CR LF, lone LF, lone CR) written as CR LF.
std::string withCrLf(std::string_view text);

} // namespace corvane
