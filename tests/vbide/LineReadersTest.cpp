#include "vbide/FrxReader.h"
#include "vbide/PropertyLine.h"
#include "vbide/PropertyValues.h"
#include "vbide/TextLines.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <random>

using namespace corvane;
using namespace corvane::vbide;

TEST(TextLinesTest, JoinGivesBackTheBytesForEveryKindOfLineEnd) {
    for (std::string bytes : {"a\r\nb\r\n", "a\nb", "a\rb\r\n\r\n", "", "\n", "x\r\n\ny"}) {
        auto lines = splitLines(bytes);
        EXPECT_EQ(joinLines(lines), bytes);
    }
    // The line index cuts as splitLines does, also with breaks anywhere in eight-byte words.
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        // Other control bytes and bytes from 0x80 on are no line ends, in sixteen-byte runs too.
        std::string_view alphabet = round % 2 ? "ab\r\n \t\x0B\x0C\xC3\x8D" : "abcdefghijklmnopqrstuvwxyz\r\n";
        size_t length = random() % 80;
        for (size_t i = 0; i < length; ++i)
            bytes += alphabet[random() % alphabet.size()];
        std::vector<TextLine> lines = splitLines(bytes);
        std::vector<size_t> starts = lineStarts(bytes);
        ASSERT_EQ(starts.size(), lines.size() + 1) << bytes;
        for (size_t i = 0; i < lines.size(); ++i) {
            ASSERT_EQ(lineTextAt(bytes, starts, i), lines[i].text) << bytes;
            ASSERT_EQ(lineEndingAt(bytes, starts, i), lines[i].ending) << bytes;
        }
    }
    EXPECT_EQ(findLineBreak("abc\n", 4), 4u);
    EXPECT_EQ(findLineBreak("abc\n", 9), 4u); // a search from past the end answers the end
    EXPECT_EQ(findLineBreak(std::string(40, ' ') + "\x8Dx\r", 3), 42u);
    EXPECT_EQ(splitLines("a\nb").size(), 2u);
    EXPECT_EQ(splitLines("a\nb")[1].ending, "");
    EXPECT_EQ(usualLineEnding(splitLines("a\nb\nc\r\n")), "\n");
    EXPECT_EQ(usualLineEnding(splitLines("abc")), "\r\n");
}

TEST(TextLinesTest, TrimsRemoveExactlyTheBlanksAndTabsAtTheEnds) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::mt19937 random(5);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        size_t length = random() % 40;
        for (size_t i = 0; i < length; ++i) // mostly spaces, so that runs cross whole words
            text += " \t x\xC3"[random() % 8 < 5 ? 0 : random() % 5];
        std::string_view view = text;
        size_t first = 0, last = view.size();
        while (first < last && isBlank(view[first]))
            ++first;
        while (last > first && isBlank(view[last - 1]))
            --last;
        size_t lastOfAll = view.size();
        while (lastOfAll > 0 && isBlank(view[lastOfAll - 1]))
            --lastOfAll;
        ASSERT_EQ(trimBlanks(view), view.substr(first, last - first)) << '[' << text << ']';
        ASSERT_EQ(trimLeadingBlanks(view), view.substr(first)) << '[' << text << ']';
        ASSERT_EQ(trimTrailingBlanks(view), view.substr(0, lastOfAll)) << '[' << text << ']';
    }
}

TEST(PropertyLineTest, ReadsEveryFormOfValue) {
    auto caption = parsePropertyLine("   Caption         =   \"Say \"\"hi\"\"\"");
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->name, "Caption");
    EXPECT_EQ(caption->form, ValueForm::Quoted);
    EXPECT_EQ(caption->text, "Say \"hi\"");

    auto flag = parsePropertyLine("WhatsThisHelp   =   -1  'True");
    EXPECT_EQ(flag->form, ValueForm::Plain);
    EXPECT_EQ(flag->text, "-1");
    EXPECT_TRUE(flag->hasComment);
    EXPECT_EQ(flag->comment, "True");

    auto frx = parsePropertyLine("Caption = $\"frm A.frx\":01F0");
    EXPECT_EQ(frx->form, ValueForm::FrxRef);
    EXPECT_EQ(frx->text, "frm A.frx");
    EXPECT_EQ(frx->frxOffset, 0x1F0u);
    EXPECT_TRUE(frx->dollar);

    auto tight = parsePropertyLine("ColumnWidth[0].Value=   5");
    EXPECT_EQ(tight->name, "ColumnWidth[0].Value");
    EXPECT_EQ(tight->text, "5");
    EXPECT_EQ(parsePropertyLine("Tab(0).Control(3)=   \"cmdOk\"")->name, "Tab(0).Control(3)");

    // Blanks and tabs around the parts, in runs longer and shorter than eight.
    auto padded = parsePropertyLine("\t         TabIndex \t        =  \t          7 \t         ");
    EXPECT_EQ(padded->name, "TabIndex");
    EXPECT_EQ(padded->text, "7");
    auto commented = parsePropertyLine("Value           =   1                   'Checked   ");
    EXPECT_EQ(commented->text, "1");
    EXPECT_EQ(commented->comment, "Checked"); // the line's trailing blanks are not part of it
    EXPECT_FALSE(parsePropertyLine("                =   1"));

    EXPECT_FALSE(parsePropertyLine("no equals sign"));
    EXPECT_THROW(parsePropertyLine("Caption = \"open"), VbError);
    EXPECT_THROW(parsePropertyLine("Picture = \"a.frx\":ZZ"), VbError);
}

TEST(PropertyLineTest, WritesTheIdeLayout) {
    EXPECT_EQ(formatPropertyLine("      ", "WhatsThisHelpID", formatPropertyValue(Variant(int32_t{12}))),
              "      WhatsThisHelpID =   12");
    EXPECT_EQ(formatPropertyLine("   ", "WhatsThisHelp", formatPropertyValue(Variant(true))),
              "   WhatsThisHelp   =   -1  'True");
    EXPECT_EQ(formatPropertyLine("", "Visible", formatPropertyValue(Variant(false))),
              "Visible         =   0   'False");
    EXPECT_EQ(formatPropertyLine("", "ColumnWidth[0].Value", "5"), "ColumnWidth[0].Value=   5");
    EXPECT_EQ(formatPropertyValue(Variant("a\"b")), "\"a\"\"b\"");
}

TEST(PropertyValuesTest, ReadsVbNumberNotations) {
    EXPECT_EQ(parseLongText("&H8000000F&"), int32_t(0x8000000F));
    EXPECT_EQ(parseLongText("&H00FF00&"), 0xFF00);
    EXPECT_EQ(parseLongText("-120"), -120);
    EXPECT_EQ(parseLongText("12&"), 12);
    EXPECT_FALSE(parseLongText("8.25"));
    EXPECT_FALSE(parseLongText("99999999999"));
    // Short decimals and the edges of a Long.
    EXPECT_EQ(parseLongText("0"), 0);
    EXPECT_EQ(parseLongText("-0"), 0);
    EXPECT_EQ(parseLongText("007"), 7);
    EXPECT_EQ(parseLongText("-123456789"), -123456789);
    EXPECT_EQ(parseLongText("2147483647"), 2147483647);
    EXPECT_EQ(parseLongText("-2147483648"), INT32_MIN);
    EXPECT_FALSE(parseLongText("2147483648"));
    for (const char* notNumber : {"", "-", "+5", "12a", "1 2", "--1"})
        EXPECT_FALSE(parseLongText(notNumber)) << notNumber;
}

TEST(FrxReaderTest, ReadsEachTextRecordKind) {
    std::string frx;
    frx += std::string("\x05" "Hello", 6);                       // 8-bit length at 0
    frx += std::string("\x03\0\0\0" "abc", 7);                  // 32-bit length at 6
    std::string longText(300, 'x');
    frx += std::string("\xFF\x2C\x01", 3) + longText;           // 0xFF + 16-bit length at 13
    EXPECT_EQ(readFrxText(frx, 0, 6), "Hello");
    EXPECT_EQ(readFrxText(frx, 6, 13), "abc");
    EXPECT_EQ(readFrxText(frx, 13, frx.size()), longText);
    // The room of a record is what tells the kinds apart where its first bytes could be either.
    std::string shortThenZeros("\x01" "A" "\0\0\x09\0", 6); // "A", then a record starting 0 0
    EXPECT_EQ(readFrxText(shortThenZeros, 0, 2), "A");
    EXPECT_EQ(readFrxText(shortThenZeros, 0, shortThenZeros.size()), "A");
    std::string long511 = std::string("\xFF\x01\0\0", 4) + std::string(511, 'y'); // 32-bit, low byte 0xFF
    EXPECT_EQ(readFrxText(long511, 0, long511.size()), std::string(511, 'y'));
    std::string multiLine("\x0A\0\0\0" "one\r\ntwo\tx", 14);
    EXPECT_EQ(readFrxText(multiLine, 0, 100), "one\r\ntwo\tx"); // an end past the file is the file's
}

TEST(FrxReaderTest, RecordsThatDoNotReadAreErrorsNotReads) {
    std::string frx("\x10\0\0\0" "abc", 7); // says 16 bytes, has 3
    try {
        readFrxText(frx, 0, frx.size());
        FAIL() << "no error";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_NE(error.description().find("offset 0000"), std::string::npos) << error.description();
    }
    EXPECT_THROW(readFrxText(frx, 7, 7), VbError); // offset at the end
    EXPECT_THROW(readFrxText(std::string("\xFF", 1), 0, 1), VbError);
    EXPECT_THROW(readFrxText(std::string("\x09" "abc", 4), 0, 4), VbError);
    EXPECT_THROW(readFrxText(std::string("\0\0\0\0\0", 5), 0, 5), VbError); // no text is no record
    // A length that runs into the next record the form refers to.
    std::string twoTexts("\x05" "Hello" "\x02" "ok", 9);
    EXPECT_THROW(readFrxText(twoTexts, 0, 3), VbError);
    // Fifteen bytes too early (a .frx out of step with its form): the bytes there are no text.
    std::string picture = std::string("\x0A\0\0\0" "lt\0\0" "\x02\0\0\0" "BM", 14) + std::string("\x02" "ok", 3);
    EXPECT_THROW(readFrxText(picture, 0, picture.size()), VbError);
}
