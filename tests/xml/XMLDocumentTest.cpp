#include "xml/XMLDocument.h"

#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include <vector>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

using test::errorNumberOf;

// A help data document as the program writes it.
XMLDocument helpDataDocument() {
    XMLDocument document;
    XMLElement root = document.Root();
    root.AddAttribute("CurrentLanguage", "Neutral");
    root.AddAttribute("GenerateHTML", "True");
    root.AddElement("SelectedLanguage", "").AddAttribute("Name", "Neutral");
    XMLElement component = root.AddElement("VBComponent", "");
    component.AddAttribute("ComponentName", "frmMain");
    XMLElement item = component.AddElement("HelpItem", "");
    item.AddAttribute("ControlName", "cmdOK(1)");
    item.AddAttribute("Caption", "&Save <all> \"now\"\t'ok'\r\n");
    item.AddElement("HelpText", "Saves.\r\nThen  closes.  ").AddAttribute("Language", "Neutral");
    item.AddElement("HelpText", "   ").AddAttribute("Language", "German");
    return document;
}

// A copy of `text` in a buffer the document may own.
char* ownedBuffer(std::string_view text) {
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(text.size() + 1));
    std::memcpy(buffer, text.data(), text.size());
    return buffer;
}

TEST(XmlDocument, RendersOneElementPerLineAndTextsInline) {
    EXPECT_EQ(XMLDocument().XMLText(), declaration + "<Root />\n");
    // The pieces handed to a sink make up the same text, the declaration first.
    std::vector<std::string> pieces;
    helpDataDocument().WriteText([&](std::string_view piece) { pieces.emplace_back(piece); });
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces.front(), declaration);
    std::string joined;
    for (const std::string& piece : pieces)
        joined += piece;
    EXPECT_EQ(joined, helpDataDocument().XMLText());
    EXPECT_EQ(helpDataDocument().XMLText(),
              declaration +
                  "<Root CurrentLanguage=\"Neutral\" GenerateHTML=\"True\">\n"
                  "  <SelectedLanguage Name=\"Neutral\" />\n"
                  "  <VBComponent ComponentName=\"frmMain\">\n"
                  "    <HelpItem ControlName=\"cmdOK(1)\" "
                  "Caption=\"&amp;Save &lt;all> &quot;now&quot;&#09;'ok'&#13;&#10;\">\n"
                  "      <HelpText Language=\"Neutral\">Saves.&#13;\nThen  closes.  </HelpText>\n"
                  "      <HelpText Language=\"German\">   </HelpText>\n"
                  "    </HelpItem>\n"
                  "  </VBComponent>\n"
                  "</Root>\n");
}

TEST(XmlDocument, TextsAndAttributeValuesRoundTripExactly) {
    const std::vector<std::string> texts = {"line 1\r\nline 2\r\n",
                                            "lone\rCR",
                                            "only\nLF",
                                            "\ttabs\t",
                                            "  leading and trailing  ",
                                            " ",
                                            "     ",
                                            "\r\n",
                                            "< & > \" ' ]]> &amp; &#65;",
                                            "Grüße, 日本, €, 😀",
                                            "\n  indented\n"};
    XMLDocument document;
    for (const std::string& text : texts)
        document.Root().AddElement("T", text).AddAttribute("V", text);
    std::string rendered = document.XMLText();

    XMLDocument loaded;
    ASSERT_TRUE(loaded.LoadText(rendered)) << loaded.LastError()->reason;
    EXPECT_FALSE(loaded.LastError().has_value());
    ASSERT_EQ(loaded.Root().Elements().Count(), static_cast<int32_t>(texts.size()));
    size_t i = 0;
    for (XMLElement element : loaded.Root().Elements()) {
        EXPECT_EQ(element.Text(), texts[i]) << "text " << i;
        EXPECT_EQ(element.Attributes().Item("V").Value(), texts[i]) << "value " << i;
        ++i;
    }
    EXPECT_EQ(loaded.XMLText(), rendered);
}

TEST(XmlDocument, TextsThatCannotBeStoredAreCleanedNotCorrupted) {
    XMLDocument document;
    XMLElement element = document.Root().AddElement("T", std::string("a\0b\xFFz", 5));
    element.AddAttribute("V", std::string("\0x", 2));
    EXPECT_EQ(element.Text(), "ab\xEF\xBF\xBDz"); // NUL dropped, the stray byte is U+FFFD
    EXPECT_EQ(element.Attributes().Item("V").Value(), "x");
    // Control characters XML 1.0 does not allow are never written, not even as references: a
    // vertical tab is a line break, the others go; a file that holds them (as earlier versions
    // wrote them) loads into the same texts.
    XMLElement controls = document.Root().AddElement("C", "\x01 bell\x07 vertical\x0b\x1F.");
    controls.AddAttribute("V", "a\vb\x02");
    EXPECT_EQ(controls.Text(), " bell vertical\r\n.");
    EXPECT_EQ(controls.Attributes().Item("V").Value(), "a\r\nb");
    EXPECT_NE(document.XMLText().find("<C V=\"a&#13;&#10;b\"> bell vertical&#13;\n.</C>"), std::string::npos)
        << document.XMLText();
    XMLDocument earlier;
    ASSERT_TRUE(earlier.LoadText("<a v=\"&#01;x&#11;\">&#01; bell&#07; vertical&#11;</a>"));
    EXPECT_EQ(earlier.Root().Text(), " bell vertical\r\n");
    EXPECT_EQ(earlier.Root().Attributes().Item("v").Value(), "x\r\n");
    const std::string raw = "<a>\x01 raw\x0b</a>";
    XMLDocument inPlace;
    ASSERT_FALSE(inPlace.LoadInPlace(ownedBuffer(raw), raw.size())); // left to LoadText, which cleans
    ASSERT_TRUE(earlier.LoadText(raw));
    EXPECT_EQ(earlier.Root().Text(), " raw\r\n");

    // Character references to non-characters, to NUL and empty CDATA sections load into texts
    // that render and load again unchanged (found by the fuzz target).
    XMLDocument loaded;
    ASSERT_TRUE(loaded.LoadText("<a x=\"&#xD800;\"><b>&#0;</b><c><![CDATA[]]></c>"
                                "<d>&#8888888888888;</d><e><![CDATA[<&>]]></e></a>"));
    std::string rendered = loaded.XMLText();
    EXPECT_EQ(rendered, declaration +
                            "<a x=\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\">\n"
                            "  <b />\n  <c />\n"
                            "  <d>" +
                            loaded.Root().Elements().Item(3).Text() +
                            "</d>\n  <e><![CDATA[<&>]]></e>\n</a>\n");
    EXPECT_EQ(loaded.Root().Elements().Item(4).Text(), "<&>");
    XMLDocument again;
    ASSERT_TRUE(again.LoadText(rendered));
    EXPECT_EQ(again.XMLText(), rendered);
    // "&#0;" cuts a text short, here to white space beside elements: that is layout, too.
    ASSERT_TRUE(loaded.LoadText("<a><b/> &#0;x<b/></a>"));
    EXPECT_EQ(loaded.XMLText(), declaration + "<a>\n  <b />\n  <b />\n</a>\n");
}

TEST(XmlDocument, WhiteSpaceBesideChildElementsIsLayout) {
    XMLDocument document;
    XMLElement parent = document.Root().AddElement("P", "  \r\n ");
    EXPECT_EQ(parent.Text(), "  \r\n ");
    parent.AddElement("C", "x");
    EXPECT_EQ(parent.Text(), ""); // the indentation of the child takes its place
    XMLElement mixed = document.Root().AddElement("M", " own ");
    mixed.AddElement("C", "");
    EXPECT_EQ(mixed.Text(), " own ");

    XMLDocument loaded;
    ASSERT_TRUE(
        loaded.LoadText("<r>\n  <a>  </a>\n  <b>\n    <c/>  \n  </b><m>x<c>y</c>z</m></r>"));
    XMLElements children = loaded.Root().Elements();
    EXPECT_EQ(children.Item(1).Text(), "  ");
    EXPECT_EQ(children.Item(2).Text(), "");
    EXPECT_EQ(children.Item(3).Text(), "xz");
    XMLDocument again;
    ASSERT_TRUE(again.LoadText(loaded.XMLText()));
    EXPECT_EQ(again.Root().Elements().Item(3).Text(), "xz");
    EXPECT_EQ(again.XMLText(), loaded.XMLText());
}

TEST(XmlDocument, MalformedTextGivesPositionAndAnEmptyRoot) {
    XMLDocument document;
    ASSERT_TRUE(document.LoadText("<a><b/></a>"));
    XMLElement before = document.Root();
    EXPECT_FALSE(document.LoadText("<a>\r\n  <b>é</c></a>"));
    ASSERT_TRUE(document.LastError().has_value());
    EXPECT_EQ(document.LastError()->line, 2);
    EXPECT_EQ(document.LastError()->column, 9); // at "c", counted in characters
    EXPECT_EQ(document.LastError()->reason, "Start-end tags mismatch");
    XMLElement root = document.Root();
    EXPECT_EQ(root.Name(), "");
    EXPECT_EQ(root.Attributes().Count(), 0);
    EXPECT_EQ(root.Elements().Count(), 0);
    EXPECT_EQ(errorNumberOf([&] { (void)document.XMLText(); }), 5);
    EXPECT_EQ(before.Elements().Count(), 1); // a handle keeps the content it was taken from

    EXPECT_FALSE(document.LoadText("<a>\rx\n<b attr=1/>"));
    EXPECT_EQ(document.LastError()->line, 3);
    EXPECT_FALSE(document.LoadText(""));
    EXPECT_EQ(document.LastError()->reason, "No document element found");
    EXPECT_FALSE(document.LoadText("<Root>"));
    EXPECT_FALSE(document.LoadText("\xEF\xBB\xBF<a>\t</b>"));
    EXPECT_EQ(document.LastError()->column, 7);

    ASSERT_TRUE(document.LoadText("<Root></Root>"));
    EXPECT_FALSE(document.LastError().has_value());
    EXPECT_EQ(document.Root().Name(), "Root");
}

TEST(XmlDocument, DeepNestingRendersWithoutLayout) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "<e a=\"1\">";
    text += " x ";
    for (int i = 0; i < 5000; ++i)
        text += "</e>";
    XMLDocument document;
    ASSERT_TRUE(document.LoadText(text));
    EXPECT_EQ(document.XMLText(), declaration + text); // indentation would take 25 MB

    // The depth counts on a later branch after the walk came back from shallow ones.
    std::string branches = "<r><a><b/></a><c/>";
    for (int i = 0; i < 5000; ++i)
        branches += "<d>";
    branches += "x";
    for (int i = 0; i < 5000; ++i)
        branches += "</d>";
    branches += "</r>";
    XMLDocument later;
    ASSERT_TRUE(later.LoadText(branches));
    EXPECT_EQ(later.XMLText(), declaration + branches);

    XMLDocument shallow;
    XMLElement element = shallow.Root();
    for (int i = 0; i < 3; ++i)
        element = element.AddElement("e", "");
    EXPECT_EQ(shallow.XMLText(),
              declaration + "<Root>\n  <e>\n    <e>\n      <e />\n    </e>\n  </e>\n</Root>\n");
}

TEST(XmlDocument, LoadTextIgnoresTheDeclaredEncoding) {
    XMLDocument document;
    ASSERT_TRUE(document.LoadText(
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<!-- c --><a>\xC3\xA9</a>"));
    EXPECT_EQ(document.Root().Text(), "é");
    EXPECT_EQ(document.XMLText(), declaration + "<a>é</a>\n");
}

TEST(XmlDocument, HandlesKeepTheDocumentAlive) {
    XMLElement item;
    XMLAttribute attribute;
    {
        XMLDocument document = helpDataDocument();
        item = document.Root().Elements().Item(2).Elements().Item(1);
        attribute = item.Attributes().Item("ControlName");
    }
    EXPECT_EQ(item.Name(), "HelpItem");
    EXPECT_EQ(attribute.Value(), "cmdOK(1)");
    item.AddElement("HelpText", "added");
    EXPECT_EQ(item.Elements().Count(), 3);

    // The last of the handles copied, moved and assigned over each other still holds it.
    XMLElements children = item.Elements();
    XMLElement moved = std::move(item);
    item = moved;
    moved = XMLElement();
    XMLAttributes attributes = item.Attributes();
    item = XMLElement();
    attribute = XMLAttribute();
    EXPECT_EQ(attributes.Item("ControlName").Value(), "cmdOK(1)");
    attributes = XMLAttributes();
    EXPECT_EQ(children.Item(3).Text(), "added");

    XMLDocument first;
    XMLDocument alias = first; // the same object, as a VB object reference
    alias.Root().SetName("Renamed");
    EXPECT_EQ(first.Root().Name(), "Renamed");
}

TEST(XmlDocument, CollectionsKeepOrderAndFailAsVbDoes) {
    XMLDocument document;
    ASSERT_TRUE(document.LoadText("<r z=\"1\" a=\"2\" M=\"3\">t<c1/>u<c2/><c3/></r>"));
    XMLElement root = document.Root();
    std::string names;
    for (XMLAttribute attribute : root.Attributes())
        names += attribute.Name() + "=" + attribute.Value() + ";";
    EXPECT_EQ(names, "z=1;a=2;M=3;");
    EXPECT_EQ(root.Attributes().Count(), 3);
    EXPECT_TRUE(root.Attributes().Contains("M"));
    EXPECT_FALSE(root.Attributes().Contains("m")); // names compare exactly

    std::string description;
    EXPECT_EQ(errorNumberOf([&] { root.Attributes().Item("Caption"); }, &description), 5);
    EXPECT_NE(description.find("'Caption'"), std::string::npos) << description;

    // One collection asked in any order, again and again, and for names no attribute has.
    XMLAttributes attributes = root.Attributes();
    std::string values;
    for (const char* name : {"a", "M", "z", "M", "a", "a", "z"})
        values += attributes.Item(name).Value();
    EXPECT_EQ(values, "2313221");
    EXPECT_FALSE(attributes.Contains(std::string_view("a\0", 2))); // not the name "a"
    // A name repeated (which only a damaged file can hold) reads as its first attribute.
    ASSERT_TRUE(document.LoadText("<r a=\"1\" b=\"2\" a=\"3\"/>"));
    XMLAttributes repeated = document.Root().Attributes();
    EXPECT_EQ(repeated.Item("a").Value() + repeated.Item("b").Value() + repeated.Item("a").Value(), "121");
    EXPECT_FALSE(attributes.Contains(""));
    std::string longName(100, 'n');
    ASSERT_TRUE(document.LoadText("<r " + longName + "=\"1\" " + longName + "x=\"2\"/>"));
    EXPECT_EQ(document.Root().Attributes().Item(longName + "x").Value(), "2");
    EXPECT_EQ(document.Root().Attributes().Item(longName).Value(), "1");
    EXPECT_FALSE(document.Root().Attributes().Contains(longName.substr(1)));

    XMLElements children = root.Elements();
    EXPECT_EQ(children.Count(), 3);
    EXPECT_EQ(children.Item(1).Name(), "c1");
    EXPECT_TRUE(children.Item(1).hasName("c1"));
    EXPECT_FALSE(children.Item(1).hasName("c"));
    EXPECT_FALSE(children.Item(1).hasName("c1 "));
    EXPECT_FALSE(XMLElement().hasName("c1"));
    EXPECT_EQ(children.Item(3).Name(), "c3");
    EXPECT_EQ(errorNumberOf([&] { children.Item(0); }), 9);
    EXPECT_EQ(errorNumberOf([&] { children.Item(4); }), 9);
    names.clear();
    for (XMLElement child : children)
        names += child.Name() + ";";
    EXPECT_EQ(names, "c1;c2;c3;");
}

TEST(XmlDocument, RefusesNamesAndAttributesThatWouldBreakTheFile) {
    XMLDocument document;
    XMLElement root = document.Root();
    for (std::string bad : {"", "1st", "a b", "a<b", "-x", "a=b", "x/"}) {
        EXPECT_EQ(errorNumberOf([&] { root.AddElement(bad, ""); }), 5) << bad;
        EXPECT_EQ(errorNumberOf([&] { root.AddAttribute(bad, ""); }), 5) << bad;
        EXPECT_EQ(errorNumberOf([&] { root.SetName(bad); }), 5) << bad;
    }
    root.AddElement("_ns:Wörter-1.2", "");
    root.AddAttribute("Name", "1");
    EXPECT_EQ(errorNumberOf([&] { root.AddAttribute("Name", "2"); }), 457);
    EXPECT_EQ(errorNumberOf([&] { XMLElement().AddElement("x", ""); }), 91);
    EXPECT_EQ(XMLElement().Elements().Count(), 0);
    EXPECT_EQ(document.XMLText(),
              declaration + "<Root Name=\"1\">\n  <_ns:Wörter-1.2 />\n</Root>\n");
}

TEST(XmlDocument, FilesAndStreams) {
    TempDir dir;
    XMLDocument document;
    std::string description;
    EXPECT_EQ(errorNumberOf([&] { document.LoadFile(dir / "missing.txt"); }, &description), 53);
    EXPECT_NE(description.find("missing.txt"), std::string::npos) << description;

    XMLDocument original = helpDataDocument();
    original.SaveFile(dir / "ContextHelp.txt");
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), original.XMLText());
    EXPECT_FALSE(std::filesystem::exists(dir / "ContextHelp.txt.tmp"));
    ASSERT_TRUE(document.LoadFile(dir / "ContextHelp.txt"));
    EXPECT_EQ(document.XMLText(), original.XMLText());

    std::ostringstream out;
    original.Save(out);
    EXPECT_EQ(out.str(), original.XMLText());

    // A Windows-1252 file as an old editor saved it.
    writeFile(dir / "old.txt", "<Root><HelpItem>Gr\xFC\xDF"
                               "e \x80</HelpItem></Root>");
    ASSERT_TRUE(document.LoadFile(dir / "old.txt"));
    EXPECT_EQ(document.Root().Elements().Item(1).Text(), "Grüße €");

    // Bytes a UTF-8 file may hold that the document cannot: a NUL, and references to code
    // points that are not characters.
    // A file reads as its text does.
    std::string odd = std::string("<Root><a>x") + '\0' + "y</a><b>&#xD800;z</b><c>&amp;&#65;</c></Root>";
    writeFile(dir / "odd.txt", odd);
    ASSERT_TRUE(document.LoadFile(dir / "odd.txt"));
    EXPECT_EQ(document.Root().Elements().Item(1).Text(), "xy");
    EXPECT_EQ(document.Root().Elements().Item(3).Text(), "&A");
    XMLDocument fromText;
    ASSERT_TRUE(fromText.LoadText(odd));
    EXPECT_EQ(document.XMLText(), fromText.XMLText());
    EXPECT_TRUE(fromText.LoadText(fromText.XMLText())); // and writes a file that loads again
    std::string references = "<Root><b>&#xD800;z</b><c a=\"&lt;&#9;\">&amp;&#65;<![CDATA[]]></c></Root>";
    writeFile(dir / "references.txt", references);
    ASSERT_TRUE(document.LoadFile(dir / "references.txt"));
    ASSERT_TRUE(fromText.LoadText(references));
    EXPECT_EQ(document.XMLText(), fromText.XMLText());
    // A damaged file reports the place of its fault as its text does, escapes before it too.
    std::string damaged = "<Root>\n  <a>&amp;&lt;\n&#65;</a>\n  <b>x</c>\n</Root>\n";
    writeFile(dir / "damaged.txt", damaged);
    EXPECT_FALSE(document.LoadFile(dir / "damaged.txt"));
    EXPECT_FALSE(fromText.LoadText(damaged));
    ASSERT_TRUE(document.LastError() && fromText.LastError());
    EXPECT_EQ(document.LastError()->line, 4);
    EXPECT_EQ(document.LastError()->column, fromText.LastError()->column);
    EXPECT_EQ(document.LastError()->reason, fromText.LastError()->reason);
    EXPECT_EQ(document.Root().Name(), "");

    std::istringstream utf16(std::string("\xFF\xFE<\0a\0>\0\xE9\0<\0/\0a\0>\0", 18));
    ASSERT_TRUE(document.Load(utf16));
    EXPECT_EQ(document.Root().Text(), "é");
    std::istringstream broken("<a>");
    EXPECT_FALSE(document.Load(broken));
}

TEST(XmlDocument, SetTextReplacesOnlyTheElementsOwnTextAndReadsBack) {
    XMLDocument document = helpDataDocument();
    std::string before = document.XMLText();
    XMLElement item = document.Root().Elements().Item(2).Elements().Item(1);
    XMLElement neutral = item.Elements().Item(1);
    neutral.SetText(neutral.Text());
    EXPECT_EQ(document.XMLText(), before); // the same text renders the same bytes

    neutral.SetText(" <b> & \"x\"\r\n\t");
    item.Elements().Item(2).SetText("");
    XMLDocument reloaded;
    ASSERT_TRUE(reloaded.LoadText(document.XMLText()));
    XMLElement reloadedItem = reloaded.Root().Elements().Item(2).Elements().Item(1);
    EXPECT_EQ(reloadedItem.Elements().Count(), 2);
    EXPECT_EQ(reloadedItem.Elements().Item(1).Text(), " <b> & \"x\"\r\n\t");
    EXPECT_EQ(reloadedItem.Elements().Item(2).Text(), "");
    EXPECT_EQ(reloadedItem.Elements().Item(2).Attributes().Item("Language").Value(), "German");
    EXPECT_EQ(errorNumberOf([] { XMLElement().SetText("x"); }), 91);
}

} // namespace
} // namespace corvane

namespace corvane {
namespace {


TEST(XmlDocument, LoadingInPlaceGivesTheDocumentLoadTextGivesOrDeclines) {
    const std::string text = "<?xml version=\"1.0\"?>\r\n<Root A=\"&lt;&#9;&quot;\">\r\n"
                             "  <T L=\"x\">a &amp; b\r\n&#01;c</T>\n  <U><![CDATA[<raw>]]></U>\n"
                             "  <V>  </V><W>Größe</W></Root>";
    XMLDocument usual;
    ASSERT_TRUE(usual.LoadText(text));
    XMLDocument inPlace;
    ASSERT_TRUE(inPlace.LoadInPlace(ownedBuffer(text), text.size()));
    EXPECT_EQ(inPlace.XMLText(), usual.XMLText());
    EXPECT_EQ(inPlace.Root().Elements().Item(1).Text(), "a & b\r\nc"); // "&#01;" is no XML character

    // Declined, the document unchanged: another encoding, NUL, not well-formed, empty.
    for (std::string declined : {std::string("\xEF\xBB\xBF<a/>"), std::string("<a>\xE4</a>"),
                                 std::string("<?xml version=\"1.0\" encoding=\"latin1\"?><a/>"),
                                 std::string("<a>\0</a>", 8), std::string("<a><b></a>"),
                                 std::string()}) {
        SCOPED_TRACE(declined);
        EXPECT_FALSE(inPlace.LoadInPlace(ownedBuffer(declined), declined.size()));
        EXPECT_EQ(inPlace.XMLText(), usual.XMLText());
    }
}

} // namespace
} // namespace corvane
