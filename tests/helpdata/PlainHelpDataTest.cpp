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

#include <algorithm>
#include <random>
#include <utility>
#include <sstream>
#include <tuple>

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
            out << "\n  [" << forms.Item(m)->KeyAt(r) << "] [" << record.ComponentName.str() << "] ["
                << record.ControlName << "] [" << record.ControlType.str() << "] " << record.ContextHelpID
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

// A file in the plain form of `modules` modules ("frm0" ...) of `records` records each, every
// text `textBytes` long; `lastRecord` is added to the last module.
std::string largeFile(int modules, int records, size_t textBytes, const std::string& lastRecord = {}) {
    std::string bytes = Head;
    for (int m = 0; m < modules; ++m) {
        const std::string module = "frm" + std::to_string(m);
        bytes += "  <VBComponent ComponentName=\"" + module + "\">\n";
        for (int r = 0; r < records; ++r) {
            const std::string key = "txt" + std::to_string(r);
            const char letter = static_cast<char>('a' + (m + r) % 26);
            bytes += "    <HelpItem ComponentName=\"" + module + "\" ControlName=\"" + key + "\" ContextHelpID=\"" +
                     std::to_string(m * records + r + 1) + "\" ControlType=\"TextBox\" Caption=\"&amp;" + key +
                     "\">\n      <HelpText Language=\"English\">" + std::string(textBytes, letter) +
                     " &lt;" + key + "&gt;</HelpText>\n      <HelpText Language=\"German\">" +
                     std::string(textBytes, static_cast<char>(letter - 32)) + "</HelpText>\n    </HelpItem>\n";
        }
        if (m == modules - 1)
            bytes += lastRecord;
        bytes += "  </VBComponent>\n";
    }
    return bytes + "</Root>\n";
}

// Where the content of module `name` lies in `bytes`.
std::pair<size_t, size_t> moduleContent(const std::string& bytes, const std::string& name) {
    const std::string start = "<VBComponent ComponentName=\"" + name + "\">";
    const size_t begin = bytes.find(start) + start.size();
    return {begin, bytes.find("</VBComponent>", begin)};
}

TEST(PlainHelpDataBytes, TheBytesOfModulesWhoseRecordsAreTakenAreGivenBackWhenTheOwnerAllows) {
    const std::string twice = "    <HelpItem ComponentName=\"frm3\" ControlName=\"TXT0\" ContextHelpID=\"9\" "
                              "ControlType=\"TextBox\" />\n";
    const std::string original = largeFile(4, 10, 3000, twice);
    for (PlainHelpData::BytesRead use : {PlainHelpData::BytesRead::Keep, PlainHelpData::BytesRead::GiveBack}) {
        SCOPED_TRACE(use == PlainHelpData::BytesRead::Keep ? "keep" : "give back");
        std::string bytes = original;
        HelpDataSettings settings;
        settings.newSelectedLanguages();
        PlainHelpData plain;
        ASSERT_TRUE(plain.read(bytes.data(), bytes.size(), settings.SelectedLanguages, use)) << "well-formed";
#ifdef _WIN32
        constexpr bool systemGivesBack = false; // the program gives no pages back on Windows
#else
        constexpr bool systemGivesBack = true;
#endif
        const bool givesBack = use == PlainHelpData::BytesRead::GiveBack && systemGivesBack;
        EXPECT_EQ(plain.gaveBytesBack(), givesBack);
        for (int m = 0; m < 4; ++m) {
            const auto [begin, end] = moduleContent(original, "frm" + std::to_string(m));
            const std::string_view now(bytes.data() + begin, end - begin);
            const size_t zeros = static_cast<size_t>(std::count(now.begin(), now.end(), '\0'));
            if (givesBack && m < 3) // at least the 7 whole pages of the 60 KB a module holds
                EXPECT_GE(zeros, 7u * 4096) << m;
            else // kept, or the module whose key stands twice: not taken, its bytes are read again
                EXPECT_EQ(now, std::string_view(original).substr(begin, end - begin)) << m;
        }
        ModuleRecords forms;
        NameList names;
        EXPECT_FALSE(plain.readRecords(forms, names)) << "the key twice is named by the document reading";
    }
}

#ifndef _WIN32
TEST(PlainHelpDataBytes, ThePagesModulesShareWithTheirNeighboursGoBackOnceBothAreRead) {
    // Modules of about 4 KB each: most pages hold the end of one module, the markup between two
    // and the start of the next, and no page lies wholly inside a module.
    const std::string original = largeFile(80, 2, 900);
    std::string bytes = original;
    HelpDataSettings settings;
    settings.newSelectedLanguages();
    PlainHelpData plain;
    ASSERT_TRUE(plain.read(bytes.data(), bytes.size(), settings.SelectedLanguages,
                           PlainHelpData::BytesRead::GiveBack));
    EXPECT_TRUE(plain.gaveBytesBack());
    // Only the pages the buffer begins and ends in are not the buffer's alone.
    const size_t kept = bytes.size() - static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\0'));
    EXPECT_LT(kept, 2u * 4096) << "of " << bytes.size();
    // What was read from the given back bytes stays: the root's values, the languages, the records.
    EXPECT_EQ(plain.rootAttribute("PrimaryLanguage"), "German");
    EXPECT_EQ(plain.rootAttribute("CompileHTML"), "False");
    EXPECT_EQ(plain.selectedLanguages().Count(), 2);
    ModuleRecords forms;
    NameList names;
    ASSERT_TRUE(plain.readRecords(forms, names));
    ASSERT_EQ(forms.Count(), 80);
    const HelpItem& last = *forms.Item("frm79")->Item("txt1");
    EXPECT_EQ(last.Caption, "&txt1");
    EXPECT_EQ(last.ContextHelpID, 160);
    EXPECT_EQ(last.textIn("English"), std::string(900, 'c') + " <txt1>");
    EXPECT_EQ(last.textIn("German"), std::string(900, 'C'));
}
#endif

#ifndef _WIN32
TEST(PlainHelpDataBytes, AFileReadInPiecesGivesBackEachPieceBeforeTheNextIsRead) {
    const std::string original = largeFile(170, 20, 2600); // about 18 MB, modules of about 100 KB
    constexpr size_t Module = 120 << 10;
    // A buffer of bytes the reading must not take for the file's, filled from the file as asked.
    std::string bytes(original.size(), '<');
    std::vector<std::pair<size_t, size_t>> asked;
    const auto more = [&](size_t from, size_t upTo) {
        const size_t zeros = static_cast<size_t>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(from), '\0'));
        if (!asked.empty()) { // all but the module after the last piece and a page at each end
            EXPECT_GE(zeros + 2 * Module, from) << "asked from " << from;
        }
        asked.emplace_back(from, upTo);
        std::copy(original.begin() + static_cast<std::ptrdiff_t>(from), original.begin() + static_cast<std::ptrdiff_t>(upTo),
                  bytes.begin() + static_cast<std::ptrdiff_t>(from));
        return upTo;
    };
    HelpDataSettings settings;
    settings.newSelectedLanguages();
    PlainHelpData plain;
    ASSERT_TRUE(plain.read(bytes.data(), bytes.size(), settings.SelectedLanguages, PlainHelpData::BytesRead::GiveBack, more));
    EXPECT_TRUE(plain.gaveBytesBack());
    ASSERT_GE(asked.size(), 3u);
    for (size_t i = 0; i < asked.size(); ++i) // each byte asked for once, in order
        EXPECT_EQ(asked[i].first, i == 0 ? 0 : asked[i - 1].second) << i;
    EXPECT_EQ(asked.back().second, original.size());
    EXPECT_EQ(plain.rootAttribute("PrimaryLanguage"), "German");
    ModuleRecords forms;
    NameList names;
    ASSERT_TRUE(plain.readRecords(forms, names));
    ASSERT_EQ(forms.Count(), 170);
    const HelpItem& last = *forms.Item("frm169")->Item("txt19");
    EXPECT_EQ(last.ContextHelpID, 3400);
    EXPECT_EQ(last.textIn("German"), std::string(2600, 'G'));

    // A piece that is not in the plain form after others were read, or a file that ends early.
    const std::string stray = "<HelpItem ComponentName=\"frm169\" ControlName=\"x\" ContextHelpID=\"9\" "
                              "ControlType=\"Label\"><HelpText Language=\"English\">";
    const std::vector<std::pair<std::string, std::string>> others = {
        {"a byte not UTF-8", largeFile(170, 20, 2600, stray + "caf\xE9</HelpText></HelpItem>")},
        {"a NUL byte", largeFile(170, 20, 2600, stray + "a" + std::string(1, '\0') + "b</HelpText></HelpItem>")},
        {"a file that ends early", original},
    };
    for (const auto& [name, file] : others) {
        SCOPED_TRACE(name);
        std::string whole = file;
        EXPECT_EQ(plain.read(whole.data(), whole.size(), settings.SelectedLanguages, PlainHelpData::BytesRead::Keep),
                  name == "a file that ends early");
        bytes.assign(file.size(), '<');
        const size_t ends = name == "a file that ends early" ? file.size() - 100 : file.size();
        EXPECT_FALSE(plain.read(bytes.data(), bytes.size(), settings.SelectedLanguages, PlainHelpData::BytesRead::GiveBack,
                                [&](size_t from, size_t upTo) {
            upTo = std::min(upTo, ends);
            std::copy(file.begin() + static_cast<std::ptrdiff_t>(from), file.begin() + static_cast<std::ptrdiff_t>(upTo),
                      bytes.begin() + static_cast<std::ptrdiff_t>(from));
            return upTo;
        }));
    }
}
#endif

TEST_F(PlainHelpDataTest, ALargeFileLoadsTheSameWhenTheBytesItsRecordsWereReadFromAreGivenBack) {
    // Beyond 16 MB a file's bytes are given back as its records are read; a load that then finds
    // what only the document reading takes reads the file again.
    const std::string twice = "    <HelpItem ComponentName=\"frm169\" ControlName=\"TXT0\" ContextHelpID=\"9\" "
                              "ControlType=\"TextBox\" />\n";
    const std::string comment = "    <!-- a note in the last module -->\n";
    // Such a file is read a piece at a time: what only the document reading takes may stand in
    // a piece after others were read and given back.
    const std::string latin1 = "    <HelpItem ComponentName=\"frm169\" ControlName=\"lbl\" ContextHelpID=\"9\" "
                               "ControlType=\"Label\"><HelpText Language=\"English\">caf\xE9</HelpText></HelpItem>\n";
    // Each file with the problem its load names ("" for none).
    const std::vector<std::tuple<std::string, std::string, std::string>> files = {
        {"plain", largeFile(170, 20, 2600), ""},
        {"a key twice", largeFile(170, 20, 2600, twice),
         "the record 'TXT0' of module 'frm169' is listed a second time"},
        {"a comment", largeFile(170, 20, 2600, comment), "a comment, which a save does not keep"},
        {"a byte not UTF-8", largeFile(170, 20, 2600, latin1), "it is UTF-8, but line"},
    };
    for (const auto& [name, bytes, problem] : files) {
        SCOPED_TRACE(name);
        ASSERT_GT(bytes.size(), size_t{17} << 20);
        writeFile(dir_ / "plain.txt", bytes);
        writeFile(dir_ / "document.txt", withInstruction(bytes));
        const std::string plain = loadedFrom(dir_ / "plain.txt", {});
        const std::string document = loadedFrom(dir_ / "document.txt", {});
        EXPECT_TRUE(plain == document) << "the loads differ";
        const std::string lastRecord = "\n  [txt19] [frm169] [txt19] [TextBox] 3400 [&txt19] {English: " +
                                       std::string(2600, 'g') + " <txt19>} {German: " + std::string(2600, 'G') + "}";
        EXPECT_NE(plain.find(lastRecord), std::string::npos);
        const std::string firstRecord = "\n  [txt0] [frm0] [txt0] [TextBox] 1 [&txt0] {English: " +
                                        std::string(2600, 'a') + " <txt0>}";
        EXPECT_NE(plain.find(firstRecord), std::string::npos);
        const size_t named = plain.find("\nproblem line");
        if (problem.empty())
            EXPECT_EQ(named, std::string::npos) << plain.substr(named, 400);
        else
            EXPECT_NE(plain.find(problem, named), std::string::npos) << plain.substr(std::min(named, plain.size()), 400);
    }
}

} // namespace
} // namespace corvane::test
