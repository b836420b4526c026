// The data file as the program writes it is read straight into records; every other file is
// parsed as a document. Both ways must load the same: each file here is loaded as it is and
// with an empty comment after its declaration, which only the document reading takes (on the
// same line, so problems keep their line numbers), and the two loads are compared in full.
#include "helpdata/HelpDataFile.h"
#include "helpdata/PlainHelpData.h"
#include "helpdata/PlainHelpDataCursor.h"
#include "testsupport/TempDir.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// Everything a load gives, written out to be compared; `selected` is selected before.
std::string loadedFrom(const fs::path& file, const std::string& selected) {
    HelpDataSettings settings;
    settings.newSelectedLanguages();
    if (!selected.empty())
        settings.SelectedLanguages->Add(selected, selected);
    HelpDataFile data(settings);
    ModuleRecords forms;
    NameList formNames;
    data.load(file, forms, formNames);
    std::ostringstream out;
    out << "flags " << settings.mGenerateHTML << settings.mCompileHTML << settings.mGenerateWinHelp
        << settings.mCompileWinHelp << " current " << settings.mCurrentLanguage << " primary "
        << settings.mPrimaryLanguage << "\nlanguages";
    for (const std::string& language : *settings.SelectedLanguages)
        out << " [" << language << "]";
    for (int32_t m = 1; m <= forms.Count(); ++m) {
        out << "\nmodule [" << formNames.Item(m) << "] as [" << forms.KeyAt(m) << "]";
        for (int32_t r = 1; r <= forms.Item(m)->Count(); ++r) {
            const HelpItem& record = *forms.Item(m)->Item(r);
            out << "\n  [" << forms.Item(m)->KeyAt(r) << "] [" << record.ComponentName << "] ["
                << record.ControlName << "] [" << record.ControlType << "] " << record.ContextHelpID
                << " [" << record.Caption << "]";
            for (int32_t t = 1; t <= record.HelpTexts.Count(); ++t)
                out << " {" << record.HelpTexts.KeyAt(t) << ": " << record.HelpTexts.Item(t) << "}";
        }
    }
    for (const HelpDataProblem& problem : data.problems())
        out << "\nproblem line " << problem.line << ": " << problem.what;
    out << "\nnew " << data.isNew();
    return out.str();
}

// The bytes with a processing instruction after the declaration (or before everything without
// one): not the plain form, and nothing a load takes or names.
std::string withInstruction(std::string bytes) {
    size_t at = bytes.starts_with(Declaration) ? Declaration.size() : 0;
    return bytes.insert(at, "<?corvane test?>");
}

// True when the bytes are read without a document, records and all.
bool readPlain(std::string_view bytes) {
    HelpDataSettings settings;
    settings.newSelectedLanguages();
    PlainHelpData plain;
    if (!plain.read(bytes, settings.SelectedLanguages))
        return false;
    for (const std::string& language : plain.selectedLanguages())
        if (!settings.SelectedLanguages->Contains(language))
            settings.SelectedLanguages->Add(language, language);
    ModuleRecords forms;
    NameList names;
    return plain.readRecords(forms, names);
}

class PlainHelpDataTest : public ::testing::Test {
protected:
    // The load of the bytes, checked against the load of the same bytes as a document.
    // `selected`: a language selected before the load, as when a project is opened again.
    std::string loadBoth(const std::string& bytes, const std::string& selected = {}) {
        writeFile(dir_ / "plain.txt", bytes);
        writeFile(dir_ / "document.txt", withInstruction(bytes));
        std::string plain = loadedFrom(dir_ / "plain.txt", selected);
        EXPECT_EQ(plain, loadedFrom(dir_ / "document.txt", selected)) << bytes;
        return plain;
    }

    TempDir dir_;
};

const std::string Head = std::string(Declaration) +
                         "\n<Root CurrentLanguage=\"English\" PrimaryLanguage=\"German\" "
                         "GenerateHTML=\"True\" CompileHTML=\"False\">\n"
                         "  <SelectedLanguage Name=\"English\" />\n"
                         "  <SelectedLanguage Name=\"German\" />\n";

std::string item(const std::string& attributes, const std::string& content) {
    return "    <HelpItem ComponentName=\"frmA\" " + attributes + ">" + content + "</HelpItem>\n";
}

std::string file(const std::string& items) {
    return Head + "  <VBComponent ComponentName=\"frmA\">\n" + items + "  </VBComponent>\n</Root>\n";
}

TEST_F(PlainHelpDataTest, TheExampleAndWrittenFormsAreReadWithoutADocumentAndLoadTheSame) {
    std::string example = readFile(exampleFolder() / "ContextHelp.txt");
    ASSERT_TRUE(readPlain(example));
    EXPECT_NE(loadBoth(example).find("{English: "), std::string::npos);

    std::string unusual = file(
        item("ControlName=\"txt &amp; &lt;1&gt;\" ContextHelpID=\" 42x\" ControlType='TextBox' "
             "Caption='Say &quot;hi&quot;&#13;&#10;&#x9;&apos;now&apos;'",
             "\r\n\t<HelpText   Language = \"english\" >A &amp; B &gt; C\r\nline two</HelpText>"
             "<HelpText Language=\"German\"/>\n    ") +
        item("ControlName=\"cmdOk(3)\" ContextHelpID=\"-7\" ControlType=\"CommandButton\"", "") +
        "    <HelpItem ComponentName=\"frmA\" ControlName=\"lbl\" ContextHelpID=\"1\" ControlType=\"Label\" Extra=\"x\"/>\n" +
        item("ControlName=\"chk\" ContextHelpID=\"2\" ControlType=\"CheckBox\"",
             "<HelpText Language=\"English\">  </HelpText><HelpText Language=\"French\"></HelpText>")) +
        "";
    ASSERT_TRUE(readPlain(unusual));
    std::string loaded = loadBoth(unusual);
    EXPECT_NE(loaded.find("[txt & <1>] [frmA] [txt & <1>] [TextBox] 42 [Say \"hi\"\r\n\t'now'] "
                          "{english: A & B > C\r\nline two} {German: }"),
              std::string::npos)
        << loaded;
    EXPECT_NE(loaded.find("[cmdOk(3)] [frmA] [cmdOk(3)] [CommandButton] -7 [] {Neutral: }"),
              std::string::npos)
        << loaded;
    EXPECT_NE(loaded.find("[chk] [frmA] [chk] [CheckBox] 2 [] {English:   }"), std::string::npos)
        << loaded;
    // With another language selected as well, the records are read again to keep its texts.
    loaded = loadBoth(unusual, "French");
    EXPECT_NE(loaded.find("[chk] [frmA] [chk] [CheckBox] 2 [] {English:   } {French: }"),
              std::string::npos)
        << loaded;

    ASSERT_TRUE(readPlain("<Root/>"));
    EXPECT_EQ(loadBoth("<Root/>"),
              "flags 0000 current Neutral primary Neutral\nlanguages [Neutral]\nnew 1");
    ASSERT_TRUE(readPlain(Head + "  <VBComponent ComponentName=\"frmEmpty\" />\n</Root>"));
    loadBoth(Head + "  <VBComponent ComponentName=\"frmEmpty\" />\n</Root>");
    const std::string withoutLanguages = "<Root><VBComponent ComponentName=\"frmA\"/></Root>";
    ASSERT_TRUE(readPlain(withoutLanguages));
    EXPECT_NE(loadBoth(withoutLanguages).find("\nnew 0"), std::string::npos);
}

TEST(PlainHelpDataText, EntitiesAndAsciiReferencesAreReplacedAndAnyOtherAmpersandKept) {
    EXPECT_EQ(decodedPlainText("a &lt;b&gt; &amp;&quot;&apos; &#65;&#x42;&#9;"), "a <b> &\"' AB\t");
    EXPECT_EQ(decodedPlainText("&b &#233; &#;&"), "&b &#233; &#;&"); // the cursor refuses these
    EXPECT_EQ(decodedPlainText("plain"), "plain");
}

TEST_F(PlainHelpDataTest, WhatThePlainReadingDoesNotTakeIsLoadedAsADocument) {
    const std::string ok = "ContextHelpID=\"1\" ControlType=\"Label\"";
    const std::string text = "<HelpText Language=\"English\">t</HelpText>";
    const std::vector<std::string> others = {
        file(item("ControlName=\"a\" " + ok, "<HelpText Language=\"English\">&#233;&#x1F600;</HelpText>")),
        file(item("ControlName=\"a&#0;b\" " + ok, "<HelpText Language=\"English\">&#xD800;</HelpText>")),
        file(item("ControlName=\"a\" " + ok, "<HelpText Language=\"English\"><![CDATA[<b>]]></HelpText>")),
        file(item("ControlName=\"a\" " + ok, "<!-- note -->" + text)),
        file(item("ControlName=\"a\" " + ok, "\n      ")),                     // white space only
        file(item("ControlName=\"a\" " + ok, "stray" + text)),                  // text beside texts
        file(item("ControlName=\"a\" " + ok, "<Other/>" + text)),               // another element
        file(item("ControlName=\"a\" ControlName=\"b\" " + ok, text)),          // a name twice
        file(item("ControlName=\"a\tb\" " + ok, text)),                         // tab in a value
        file(item("ControlName=\"a\" " + ok, "<HelpText>no language</HelpText>")),
        file(item("ControlName=\"a\" " + ok, text + "<HelpText Language=\"ENGLISH\">u</HelpText>")),
        file(item("ControlName=\"a\" " + ok, "<HelpText Language=\"Klingon\">t</HelpText>")),
        file(item("ControlName=\"a\" ContextHelpID=\"99999999999\" ControlType=\"Label\"", text)),
        file(item("ControlName=\"a\" " + ok, text) + item("ControlName=\"A\" " + ok, text)),
        file(item("ContextHelpID=\"1\" ControlType=\"Label\"", text)),          // no key
        file(item("ControlName=\"a&nbsp;\" " + ok, text)),                      // unknown entity
        file(item("ControlName=\"a\" " + ok + " b=\"1\" c=\"1\" d=\"1\" e=\"1\"", text)),
        Head + "  <VBComponent ComponentName=\"frmA\"/>\n  <VBComponent ComponentName=\"FRMA\"/>\n</Root>\n",
        Head + "  <VBComponent/>\n</Root>\n",
        Head + "  <VBComponent ComponentName=\"frmA\"/>\n  <SelectedLanguage Name=\"French\" />\n</Root>\n",
        Head + "  <VBComponent ComponentName=\"frmA\">\n" + item("ControlName=\"a\" " + ok, text),
        file(item("ControlName=\"a\" " + ok, text)) + "<Root/>",
        file(item("ControlName=\"a\" " + ok, "<HelpText Language=\"English\">a &lt;/VBComponent&gt; b</HelpText>")),
    };
    for (size_t i = 0; i < others.size(); ++i) {
        SCOPED_TRACE(i);
        loadBoth(others[i]);
    }
    EXPECT_FALSE(readPlain(others[0]));
    EXPECT_FALSE(readPlain(others[1]));
    EXPECT_FALSE(readPlain(others[13])); // a key twice: a problem the document reading names
    EXPECT_TRUE(readPlain(others.back()));
    std::string twice = loadBoth(others[13]);
    EXPECT_NE(twice.find("problem line 7: the record 'A' of module 'frmA' is listed a second time"),
              std::string::npos)
        << twice;
}

TEST_F(PlainHelpDataTest, DamagedCopiesOfAWrittenFileLoadTheSameBothWays) {
    // Changes of one or a few bytes after the declaration, of the kind damage and hand edits
    // make: bytes dropped, markup characters put in, pieces repeated.
    const std::string original =
        file(item("ControlName=\"txt\" ContextHelpID=\"3\" ControlType=\"TextBox\" Caption=\"A &amp; B&#13;&#10;C\"",
                  "\n      <HelpText Language=\"English\">One &lt;two&gt;</HelpText>\n"
                  "      <HelpText Language=\"German\">Eins</HelpText>\n    ") +
             item("ControlName=\"cmd\" ContextHelpID=\"4\" ControlType=\"CommandButton\"",
                  "<HelpText Language=\"English\">Go</HelpText>"));
    ASSERT_TRUE(readPlain(original));
    const std::string inserts = "<>&;#x\"'/= \t\r\nA1";
    std::mt19937 random(20261207);
    int plainTaken = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = original;
        int changes = 1 + static_cast<int>(random() % 3);
        for (int c = 0; c < changes; ++c) {
            // after the declaration's line, whose columns the comment moves
            size_t at = Declaration.size() + 1 + random() % (bytes.size() - Declaration.size() - 1);
            switch (random() % 3) {
            case 0:
                bytes.erase(at, 1 + random() % 3);
                break;
            case 1:
                bytes.insert(at, 1, inserts[random() % inserts.size()]);
                break;
            default:
                bytes.insert(at, bytes.substr(at, 1 + random() % 12));
                break;
            }
        }
        SCOPED_TRACE(round);
        loadBoth(bytes);
        plainTaken += readPlain(bytes) ? 1 : 0;
        if (HasFailure())
            return;
    }
    EXPECT_GT(plainTaken, 100); // many changes leave a file in the plain form
}

} // namespace
} // namespace corvane::test
