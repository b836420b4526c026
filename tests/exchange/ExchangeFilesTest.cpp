// The XLIFF and PO writers and readers: exact texts both ways, files that translation tools
// changed, malformed files, and the real tools (msgfmt, pocount, xliff2po) reading our files.
#include "exchange/ExchangeFile.h"
#include "exchange/PoReader.h"
#include "exchange/PoWriter.h"
#include "exchange/XliffReader.h"
#include "exchange/XliffWriter.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"

#include <gtest/gtest.h>
#include <sstream>

namespace corvane::exchange {
namespace {

using test::readFile;
using test::runToolWithStatus;
using test::TempDir;
using test::ToolRun;
using test::writeFile;

ExchangeUnit unit(const std::string& module, const std::string& key, const std::string& source,
                  const std::string& target) {
    return {unitId(module, key),
            module,
            key,
            "CommandButton",
            "&Save \"all\"",
            source,
            target,
            false,
            ""};
}

// Texts a help text may hold and a careless writer would change.
ExchangeDocument awkwardDocument() {
    ExchangeDocument document{"Order Entry.vbp", "English", "German", "en-US", "de-DE", {}};
    document.units = {
        unit("frmOrder", "cmdSave", "Saves the order.\r\nThen closes it.",
             "Speichert den Auftrag.\r\nDann zu."),
        unit("frmOrder", "txtNote", "\tTab first, two spaces last  ", "\tTab zuerst  "),
        unit("frmOrder", "optPay(1)", "<b> & \"quoted\" 'single' > x",
             "<b> & \"zitiert\" 'einfach'"),
        unit("frmOrder", "lblOnlySpaces", "   ", ""),
        unit("frmMain", "cboFilter", "Lone\rCR and lone\nLF, ü ß €", ""),
        unit("frmMain", "cmdGo", "Ends with a line break\n", "Endet ohne Zeilenumbruch"),
    };
    return document;
}

void expectSameTexts(const ExchangeDocument& read, const ExchangeDocument& written) {
    EXPECT_EQ(read.project, written.project);
    EXPECT_EQ(read.sourceLanguage, written.sourceLanguage);
    EXPECT_EQ(read.targetLanguage, written.targetLanguage);
    ASSERT_EQ(read.units.size(), written.units.size());
    for (size_t i = 0; i < read.units.size(); ++i) {
        SCOPED_TRACE(written.units[i].id);
        EXPECT_EQ(read.units[i].id, written.units[i].id);
        EXPECT_EQ(read.units[i].module, written.units[i].module);
        EXPECT_EQ(read.units[i].controlKey, written.units[i].controlKey);
        EXPECT_EQ(read.units[i].source, written.units[i].source);
        EXPECT_EQ(read.units[i].target, written.units[i].target);
        EXPECT_EQ(read.units[i].problem, "");
    }
}

TEST(ExchangeFiles, XliffAndPoKeepEveryCharacterOfTheTexts) {
    ExchangeDocument document = awkwardDocument();
    std::stringstream xliff;
    writeXliff(xliff, document);
    expectSameTexts(readXliff(xliff, "test.xlf"), document);
    // CR is a character reference: a conforming reader would turn a literal CR LF into LF.
    EXPECT_NE(xliff.str().find("Saves the order.&#13;\nThen"), std::string::npos);

    std::stringstream po;
    writePo(po, document, "2026-12-06 23:10+0000");
    ExchangeDocument read = readPo(po, "test.po");
    expectSameTexts(read, document);
    EXPECT_EQ(read.targetTag, "de_DE");
    // gettext refuses a translation that ends without the source's line feed: it is marked
    // fuzzy, so the file passes msgfmt --check.
    EXPECT_TRUE(read.units[5].needsReview);
    EXPECT_FALSE(read.units[0].needsReview);
    EXPECT_NE(po.str().find("msgctxt \"frmOrder/cmdSave\"\nmsgid \"\"\n\"Saves the "
                            "order.\\r\\n\"\n\"Then closes it.\"\n"),
              std::string::npos)
        << po.str();
}

// The message counts of `pocount --csv`: translated, fuzzy, untranslated, total.
std::vector<int> pocountMessages(const std::string& output) {
    std::istringstream lines(output);
    std::string line;
    std::getline(lines, line); // the column names
    std::getline(lines, line);
    std::vector<int> fields;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, ','))
        fields.push_back(std::atoi(cell.c_str()));
    if (fields.size() < 9)
        return fields;
    return {fields[1], fields[4], fields[6], fields[8]};
}

TEST(ExchangeFiles, RealToolsReadTheWrittenFiles) {
    if (std::filesystem::path::preferred_separator != '/')
        GTEST_SKIP() << "msgfmt, pocount and xliff2po (gettext, Translate Toolkit) are Linux programs here";
    TempDir dir;
    ExchangeDocument document = awkwardDocument();
    writePoFile(dir / "German.po", document);
    writeXliffFile(dir / "German.xlf", document);

    ToolRun check = runToolWithStatus("msgfmt --check -o " + (dir / "German.mo").string() + " " +
                                      (dir / "German.po").string());
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output, "");

    // pocount: 6 units, 2 untranslated; in PO the text without the source's final line feed
    // is fuzzy, in XLIFF it counts as translated.
    const std::pair<const char*, std::vector<int>> counts[] = {{"German.po", {3, 1, 2, 6}},
                                                               {"German.xlf", {4, 0, 2, 6}}};
    for (const auto& [name, expected] : counts) {
        ToolRun count = runToolWithStatus("pocount --csv " + (dir / name).string());
        EXPECT_EQ(count.status, 0) << count.output;
        EXPECT_EQ(pocountMessages(count.output), expected) << count.output;
    }

    ToolRun convert = runToolWithStatus("xliff2po " + (dir / "German.xlf").string() + " " +
                                        (dir / "FromXliff.po").string());
    EXPECT_EQ(convert.status, 0) << convert.output;
    std::string converted = readFile(dir / "FromXliff.po");
    EXPECT_NE(converted.find("#: frmOrder/optPay(1)\nmsgid \"<b> & \\\"quoted\\\" 'single' > x\"\n"
                             "msgstr \"<b> & \\\"zitiert\\\" 'einfach'\""),
              std::string::npos)
        << converted;
    EXPECT_NE(converted.find("\"Saves the order.\\r\\n\""), std::string::npos) << converted;
    EXPECT_NE(converted.find("msgid \"\\tTab first, two spaces last  \""), std::string::npos)
        << converted;
}

TEST(ExchangeFiles, FilesChangedByTranslationToolsAreRead) {
    // Another namespace prefix, a group, segment markers, a target without state, one with
    // inline markup, a unit without target.
    std::istringstream xliff(
        "<?xml version='1.0'?>\r\n"
        "<x:xliff version='1.2' xmlns:x='urn:oasis:names:tc:xliff:document:1.2' "
        "xmlns:cv='urn:corvane:exchange:1'>\r\n"
        " <x:file original='Order.vbp' source-language='en' target-language='de' "
        "cv:source-language='English'"
        " cv:target-language='German'><x:body><x:group>\r\n"
        "  <x:trans-unit id='frmOrder/cmdOK'><x:source>OK&#13;\nthen</x:source>"
        "<x:target><x:mrk mtype='seg'>Gut</x:mrk> so</x:target></x:trans-unit>\r\n"
        "  <x:trans-unit id='frmOrder/cmdX'><x:source>X</x:source><x:target "
        "state='needs-review-translation'>"
        "Y <x:g id='1'>b</x:g></x:target></x:trans-unit>\r\n"
        "  <x:trans-unit id='frmOrder/cmdY'><x:source>Y</x:source></x:trans-unit>\r\n"
        " </x:group></x:body></x:file></x:xliff>\r\n");
    ExchangeDocument read = readXliff(xliff, "tool.xlf");
    EXPECT_EQ(read.targetLanguage, "German");
    ASSERT_EQ(read.units.size(), 3u);
    EXPECT_EQ(read.units[0].source, "OK\r\nthen");
    EXPECT_EQ(read.units[0].target, "Gut so");
    EXPECT_EQ(read.units[0].controlKey, "cmdOK");
    EXPECT_TRUE(read.units[1].needsReview);
    EXPECT_EQ(read.units[1].problem, "its text holds inline markup, which help text cannot hold");
    EXPECT_EQ(read.units[2].target, "");

    // Entries without blank lines between them, CR LF line ends, a byte-order mark, obsolete
    // entries, flags, an entry without context and one with plural forms.
    std::istringstream po(
        "\xEF\xBB\xBFmsgid \"\"\r\nmsgstr \"X-Corvane-Language: German\\n\"\r\n"
        "\"X-Corvane-Project: Order.vbp\\n\"\r\n"
        "#, fuzzy, no-wrap\r\nmsgctxt \"frmOrder/cmdOK\"\r\nmsgid \"OK\"\r\nmsgstr \"Gut\"\r\n"
        "msgctxt \"frmOrder/cmdX\"\r\nmsgid \"\"\r\n\"X\\n\"\r\n\"Y\"\r\nmsgstr \"Z\"\r\n"
        "#~ msgctxt \"frmOrder/old\"\r\n#~ msgid \"old\"\r\n#~ msgstr \"alt\"\r\n\r\n"
        "msgid \"no context\"\r\nmsgstr \"kein\"\r\n\r\n"
        "msgctxt \"frmOrder/cmdP\"\r\nmsgid \"one\"\r\nmsgid_plural \"two\"\r\n"
        "msgstr[0] \"eins\"\r\nmsgstr[1] \"zwei\"\r\n");
    ExchangeDocument fromPo = readPo(po, "tool.po");
    EXPECT_EQ(fromPo.project, "Order.vbp");
    ASSERT_EQ(fromPo.units.size(), 4u);
    EXPECT_TRUE(fromPo.units[0].needsReview);
    EXPECT_EQ(fromPo.units[1].source, "X\nY");
    EXPECT_FALSE(fromPo.units[1].needsReview);
    EXPECT_EQ(fromPo.units[2].problem,
              "the entry at line 17 has no msgctxt, so it names no control");
    EXPECT_EQ(fromPo.units[3].problem, "it has plural forms, which help text does not have");
}

// The message a reader raises for `text` ("read" when it raises none).
std::string readError(ExchangeDocument (*reader)(std::istream&, const std::string&),
                      const std::string& text, const std::string& name) {
    std::istringstream in(text);
    try {
        reader(in, name);
    } catch (const ExchangeFormatError& error) {
        return error.what();
    }
    return "read";
}

TEST(ExchangeFiles, MalformedFilesAreRefusedNamingTheFileAndLine) {
    auto xliffError = [](const std::string& text) { return readError(readXliff, text, "bad.xlf"); };
    EXPECT_EQ(xliffError("<xliff>\n<file corvane:target-language='German'>\n</xliff>"),
              "bad.xlf: line 3: not well-formed XML (mismatched tag)");
    EXPECT_EQ(xliffError("<Root/>"), "bad.xlf: not an XLIFF file (its root element is 'Root')");
    EXPECT_EQ(xliffError("<xliff/>"),
              "bad.xlf: holds 0 <file> elements; corvane export writes exactly one");
    EXPECT_EQ(xliffError("<xliff><file target-language='de'/></xliff>"),
              "bad.xlf: the <file> element does not name the project's language (attribute "
              "corvane:target-language); it was not written by corvane export");

    auto poError = [](const std::string& text) { return readError(readPo, text, "bad.po"); };
    const std::string header = "msgid \"\"\nmsgstr \"X-Corvane-Language: German\\n\"\n\n";
    EXPECT_EQ(poError(header + "msgctxt \"a/b\"\nmsgid \"x\nmsgstr \"y\"\n"),
              "bad.po: line 5: not a well-formed quoted string: \"x");
    EXPECT_EQ(poError(header + "msgctxt \"a/b\"\nmsgid \"x\\q\"\nmsgstr \"y\"\n"),
              "bad.po: line 5: not a well-formed quoted string: \"x\\q\"");
    EXPECT_EQ(poError(header + "msgctxt \"a/b\"\nmsgid \"x\"\n\n"),
              "bad.po: line 4: an entry without msgstr");
    EXPECT_EQ(poError(header + "Hello\n"), "bad.po: line 4: unexpected text 'Hello'");
    EXPECT_EQ(poError("\"orphan\"\n"), "bad.po: line 1: a quoted string belongs to no keyword");
    EXPECT_EQ(poError("msgctxt \"a/b\"\nmsgid \"x\"\nmsgstr \"y\"\n"),
              "bad.po: the header does not name the project's language (field X-Corvane-Language); "
              "the file "
              "was not written by corvane export");
    EXPECT_EQ(poError("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n"),
              "bad.po: the file is not in UTF-8 (text/plain; charset=ISO-8859-1); save it as UTF-8 "
              "and import it "
              "again");
}

TEST(ExchangeFiles, DeepNestingAndOversizedEscapesAreHandledWithoutHarm) {
    // Groups nested far deeper than any tool writes: the units are still found, in order.
    std::ostringstream written;
    writeXliff(written, awkwardDocument());
    std::string xliff = written.str();
    const size_t depth = 200000;
    std::string opening, closing;
    for (size_t i = 0; i < depth; ++i) {
        opening += "<group>";
        closing += "</group>";
    }
    size_t bodyStart = xliff.find('>', xliff.find("<body")) + 1;
    xliff.insert(xliff.find("</body>"), closing);
    xliff.insert(bodyStart, opening);
    std::istringstream in(xliff);
    expectSameTexts(readXliff(in, "deep.xlf"), awkwardDocument());

    // Escapes that name no byte are refused, however many digits they have.
    auto poError = [](const std::string& text) { return readError(readPo, text, "bad.po"); };
    const std::string header = "msgid \"\"\nmsgstr \"X-Corvane-Language: German\\n\"\n\n";
    EXPECT_EQ(poError(header + "msgctxt \"a/b\"\nmsgid \"\\x123456789abcdef\"\nmsgstr \"y\"\n"),
              "bad.po: line 5: not a well-formed quoted string: \"\\x123456789abcdef\"");
    EXPECT_EQ(poError(header + "msgctxt \"a/b\"\nmsgid \"\\777\"\nmsgstr \"y\"\n"),
              "bad.po: line 5: not a well-formed quoted string: \"\\777\"");
}

TEST(ExchangeFiles, TheFormatIsFoundByNameOrContent) {
    TempDir dir;
    ExchangeDocument document = awkwardDocument();
    writeXliffFile(dir / "German.xlf", document);
    writePoFile(dir / "German.po", document);
    writeFile(dir / "German.txt", readFile(dir / "German.xlf"));
    writeFile(dir / "German", readFile(dir / "German.po"));
    for (const char* name : {"German.xlf", "German.po", "German.txt", "German"})
        expectSameTexts(readExchangeFile(dir / name), document);
    EXPECT_EQ(formatNamed("XLIFF"), ExchangeFormat::Xliff);
    EXPECT_EQ(formatNamed("po"), ExchangeFormat::Po);
    EXPECT_EQ(formatNamed("tmx"), std::nullopt);
}

} // namespace
} // namespace corvane::exchange
