#include "process/CommandLineSplit.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Args = std::vector<std::string>;

Args split(std::string_view line) { return splitWindowsCommandLine(line); }

TEST(CommandLineSplit, ProgramNameIsQuotedOrEndsAtTheFirstBlank) {
    EXPECT_EQ(split(R"("C:\Program Files\hhc.exe" x)"), (Args{R"(C:\Program Files\hhc.exe)", "x"}));
    // no backslash processing in the program name, even before the closing quote
    EXPECT_EQ(split(R"("C:\dir\" x)"), (Args{R"(C:\dir\)", "x"}));
    EXPECT_EQ(split(R"(C:\tools\hcrtf.exe -x)"), (Args{R"(C:\tools\hcrtf.exe)", "-x"}));
    // quotes inside an unquoted name are part of it
    EXPECT_EQ(split(R"(a"b c d)"), (Args{R"(a"b)", "c", "d"}));
    // the argument list starts right after the closing quote of the name
    EXPECT_EQ(split(R"("a b"c d)"), (Args{"a b", "c", "d"}));
    EXPECT_EQ(split(R"("unterminated name)"), (Args{"unterminated name"}));
    EXPECT_EQ(split(R"("")"), (Args{""}));
    EXPECT_EQ(split("prog\targ"), (Args{"prog", "arg"}));
    EXPECT_EQ(split("prog"), (Args{"prog"}));
    EXPECT_EQ(split("prog   "), (Args{"prog"}));
    // a leading blank ends an empty program name
    EXPECT_EQ(split(" prog a"), (Args{"", "prog", "a"}));
    EXPECT_EQ(split(""), Args{});
}

TEST(CommandLineSplit, FollowsTheDocumentedBackslashAndQuoteRules) {
    EXPECT_EQ(split(R"(p "abc" d e)"), (Args{"p", "abc", "d", "e"}));
    EXPECT_EQ(split(R"(p a\\b d"e f"g h)"), (Args{"p", R"(a\\b)", "de fg", "h"}));
    EXPECT_EQ(split(R"(p a\\\"b c d)"), (Args{"p", R"(a\"b)", "c", "d"}));
    EXPECT_EQ(split(R"(p a\\\\"b c" d e)"), (Args{"p", R"(a\\b c)", "d", "e"}));
    EXPECT_EQ(split(R"(p "hello there.txt")"), (Args{"p", "hello there.txt"}));
    EXPECT_EQ(split(R"(p "C:\Hello there.txt")"), (Args{"p", R"(C:\Hello there.txt)"}));
    EXPECT_EQ(split(R"(p "hello\"there")"), (Args{"p", R"(hello"there)"}));
    EXPECT_EQ(split(R"(p "hello\\")"), (Args{"p", R"(hello\)"}));
    // backslashes that precede no quote stay as they are, also at the end
    EXPECT_EQ(split(R"(p a\b\\c\\\ d\\)"), (Args{"p", R"(a\b\\c\\\)", R"(d\\)"}));
    EXPECT_EQ(split(R"(p \\\\\"x)"), (Args{"p", R"(\\"x)"}));
    EXPECT_EQ(split(R"(p \"a b\")"), (Args{"p", R"("a)", R"(b")"}));
}

TEST(CommandLineSplit, DoubledQuotesInsideQuotesGiveAQuoteAndCloseThePart) {
    // CommandLineToArgvW leaves the quoted part after "" (newer C run times would not)
    EXPECT_EQ(split(R"(p a"b"" c d)"), (Args{"p", R"(ab")", "c", "d"}));
    EXPECT_EQ(split(R"(p "a"""b c")"), (Args{"p", R"(a"b c)"}));
    EXPECT_EQ(split(R"(p """)"), (Args{"p", R"(")"}));
    EXPECT_EQ(split(R"(p """" x)"), (Args{"p", R"(" x)"}));
    EXPECT_EQ(split(R"(p """"" x)"), (Args{"p", R"(")", "x"}));
    EXPECT_EQ(split(R"(p "\""" x)"), (Args{"p", R"("")", "x"}));
    EXPECT_EQ(split(R"(p \""a b)"), (Args{"p", R"("a b)"}));
}

TEST(CommandLineSplit, SeparatesAtBlanksOutsideQuotesAndKeepsEmptyArguments) {
    EXPECT_EQ(split("p  a \t b\t"), (Args{"p", "a", "b"}));
    EXPECT_EQ(split(R"(p a "" b "")"), (Args{"p", "a", "", "b", ""}));
    EXPECT_EQ(split(R"(p x""y)"), (Args{"p", "xy"}));
    EXPECT_EQ(split(R"(p "open to the end  )"), (Args{"p", "open to the end  "}));
    EXPECT_EQ(split(R"(p "tab	inside")"), (Args{"p", "tab\tinside"}));
    // shell characters are ordinary bytes
    EXPECT_EQ(split(R"(p ;|&$(x)`y`*?<>'z')"), (Args{"p", ";|&$(x)`y`*?<>'z'"}));
    EXPECT_EQ(split("p caf\xC3\xA9 \"\xE2\x82\xAC x\""), (Args{"p", "caf\xC3\xA9", "\xE2\x82\xAC x"}));
    // the line ends at NUL, as a Windows string does
    EXPECT_EQ(split(std::string_view("p a\0b c", 7)), (Args{"p", "a"}));
}

TEST(CommandLineSplit, SplitsTheCompilerCommandsThatTheProgramBuilds) {
    EXPECT_EQ(split(R"(/usr/bin/chmcmd "/home/ann/My Project/Corvane/English/P_Context.hhp")"),
              (Args{"/usr/bin/chmcmd", "/home/ann/My Project/Corvane/English/P_Context.hhp"}));
    EXPECT_EQ(split(R"("/opt/help tools/hcrtf" -x "/p/Corvane/Deutsch/P_Context.hpj")"),
              (Args{"/opt/help tools/hcrtf", "-x", "/p/Corvane/Deutsch/P_Context.hpj"}));
}

} // namespace
} // namespace corvane
