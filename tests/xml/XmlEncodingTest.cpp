#include "xml/XmlEncoding.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

TEST(XmlEncoding, Utf8WithAndWithoutByteOrderMark) {
    EXPECT_EQ(decodeXmlBytes("<a>Grüße</a>"), "<a>Grüße</a>");
    EXPECT_EQ(decodeXmlBytes("\xEF\xBB\xBF<a>é</a>"), "<a>é</a>");
    EXPECT_EQ(decodeXmlBytes(""), "");
    // A mark followed by ANSI bytes: the editor lied, the bytes are Windows-1252.
    EXPECT_EQ(decodeXmlBytes("\xEF\xBB\xBF<a>\xE9</a>"), "<a>é</a>");
}

TEST(XmlEncoding, Utf16WithByteOrderMarkAndWithout) {
    // "<a>é€😀</a>" in UTF-16: é U+00E9, € U+20AC, 😀 U+1F600 (D83D DE00)
    std::string le = bytes({0xFF, 0xFE, '<',  0,    'a', 0, '>', 0, 0xE9, 0, 0xAC, 0x20,
                            0x3D, 0xD8, 0x00, 0xDE, '<', 0, '/', 0, 'a',  0, '>',  0});
    std::string be = bytes({0xFE, 0xFF, 0,    '<',  0, 'a', 0, '>', 0, 0xE9, 0x20, 0xAC,
                            0xD8, 0x3D, 0xDE, 0x00, 0, '<', 0, '/', 0, 'a',  0,    '>'});
    EXPECT_EQ(decodeXmlBytes(le), "<a>é€😀</a>");
    EXPECT_EQ(decodeXmlBytes(be), "<a>é€😀</a>");
    EXPECT_EQ(decodeXmlBytes(bytes({'<', 0, '?', 0, 'x', 0})), "<?x");
    EXPECT_EQ(decodeXmlBytes(bytes({0, '<', 0, '?', 0, 'x'})), "<?x");
    // An unpaired surrogate and an odd last byte do not stop decoding.
    EXPECT_EQ(decodeXmlBytes(bytes({0xFF, 0xFE, 0x00, 0xD8, 'x', 0, 'y'})), "\xEF\xBF\xBDx");
}

TEST(XmlEncoding, Windows1252WhenNotUtf8OrWhenDeclared) {
    EXPECT_EQ(decodeXmlBytes("<a>Gr\xFC\xDF"
                             "e \x80 \x93q\x94</a>"),
              "<a>Grüße € “q”</a>");
    // Bytes that happen to be valid UTF-8 follow the declaration.
    const std::string body = "<a>\xC3\xA9</a>";
    for (std::string name : {"windows-1252", "Windows-1252", "ISO-8859-1", "latin1", "cp1252"}) {
        std::string declared = "<?xml version=\"1.0\" encoding=\"" + name + "\"?>";
        EXPECT_EQ(decodeXmlBytes(declared + body), declared + "<a>Ã©</a>") << name;
    }
    EXPECT_EQ(decodeXmlBytes("<?xml version='1.0' encoding = 'latin1' ?><a>\xE9</a>"),
              "<?xml version='1.0' encoding = 'latin1' ?><a>é</a>");
    const std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>";
    EXPECT_EQ(decodeXmlBytes(utf8), utf8);
    // Undefined Windows-1252 bytes become the C1 control of the same number, as Windows does.
    EXPECT_EQ(decodeXmlBytes("\x81"), "\xC2\x81");
}

TEST(XmlEncoding, AnsiCodePagesAsDeclared) {
    const std::string japanese = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>";
    const std::string table = japanese + "<a>\x91\xEC\x8B\x85</a>"; // 卓球
    EXPECT_EQ(decodeXmlBytes(table), japanese + "<a>卓球</a>");
    EXPECT_FALSE(isPlainUtf8Xml(table));
    CheckedXmlText checked = decodeXmlBytesChecked(table);
    EXPECT_EQ(checked.text, japanese + "<a>卓球</a>");
    EXPECT_TRUE(checked.replaced.empty());
    const std::string russian = "<?xml version='1.0' encoding='windows-1251'?>";
    EXPECT_EQ(decodeXmlBytes(russian + "<a>\xCF\xF0\xE8</a>"), russian + "<a>При</a>");
    // Nothing beyond ASCII: the bytes are the text.
    EXPECT_TRUE(isPlainUtf8Xml(japanese + "<a/>"));
}

TEST(XmlEncoding, OwnedBytesDecodeAsBorrowedOnes) {
    const std::string run(21, 'x'); // long enough for the eight-byte ASCII steps
    std::string le = bytes({0xFF, 0xFE, '<', 0, 'a', 0, '>', 0});
    for (std::string input :
         {std::string(), std::string("<a/>"), run + "<a>Grüße</a>" + run, run + "\xE9" + run,
          run + "\xC3" + run, "\xEF\xBB\xBF" + run + "é", "\xEF\xBB\xBF" + run + "\xE9", le,
          std::string("\0<\0?\0x", 6),
          std::string("<?xml version=\"1.0\" encoding=\"latin1\"?><a>\xC3\xA9</a>"),
          std::string("\xF0\x9F\x98\x80") + run, std::string("\xFE\xFF")}) {
        std::string expected = decodeXmlBytes(input);
        EXPECT_EQ(decodeOwnedXmlBytes(std::string(input)), expected) << input;
    }
    EXPECT_EQ(decodeOwnedXmlBytes(run + "\xE9" + run), run + "é" + run);
}

TEST(XmlEncoding, DeclaredEncoding) {
    EXPECT_EQ(declaredXmlEncoding("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>"), "UTF-8");
    EXPECT_EQ(declaredXmlEncoding("<?xml version='1.0' encoding\t=\t'latin1'?>"), "latin1");
    EXPECT_EQ(declaredXmlEncoding("<?xml version=\"1.0\"?><a encoding=\"latin1\"/>"), "");
    EXPECT_EQ(declaredXmlEncoding("<?xml-stylesheet encoding=\"latin1\"?>"), "");
    EXPECT_EQ(declaredXmlEncoding(" <?xml version=\"1.0\" encoding=\"latin1\"?>"), "");
    EXPECT_EQ(declaredXmlEncoding("<?xml encoding=\"unterminated"), "");
}

} // namespace
} // namespace corvane
