// Export and import with files that are odd or hostile: encodings the file declares (read as
// declared, or refused naming the encoding), bytes that are not UTF-8 in a PO file (named by
// line), control characters XML does not allow (never written), the primary language, a file
// beyond the size limit or one that is a device, and the exit statuses the help states.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"
#include "testsupport/TextTools.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

// `text` (UTF-8 XML) in ISO-8859-1, as a tool writes it: a character beyond its 256 becomes a
// character reference.
std::string latin1(const std::string& text) {
    std::string bytes;
    for (size_t at = 0; at < text.size();) {
        char32_t c = nextCodePoint(text, at);
        bytes += c < 256 ? std::string(1, static_cast<char>(c)) : "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
    return bytes;
}

// `text` (UTF-8) in UTF-16 with a byte-order mark, little endian (the Basic Multilingual Plane).
std::string utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (size_t at = 0; at < text.size();) {
        char32_t c = nextCodePoint(text, at);
        EXPECT_LT(c, 0x10000u);
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

class ExchangeOddFiles : public ProjectCopy {
protected:
    // Exports German in `format` and returns the file's text.
    std::string exported(const std::string& format) {
        const fs::path file = dir_ / ("German." + format);
        Outcome result = runCommandLine({"export", project(), "--language", "German", "--format", format, "-o",
                                         file.string()});
        EXPECT_EQ(result.status, 0) << result.err;
        return test::readFile(file);
    }
    // `text` with its one `what` replaced by `with`.
    static std::string replaced(std::string text, const std::string& what, const std::string& with) {
        size_t at = text.find(what);
        EXPECT_NE(at, std::string::npos) << what;
        if (at != std::string::npos)
            text.replace(at, what.size(), with);
        return text;
    }
    Outcome import(const std::string& name, const std::string& bytes) {
        test::writeFile(dir_ / name, bytes);
        return runCommandLine({"import", project(), (dir_ / name).string()});
    }
    // Imports the file and expects it refused with "corvane import: FILE" + `why`, nothing changed.
    void expectRefused(const std::string& name, const std::string& bytes, const std::string& why) {
        SCOPED_TRACE(name);
        Outcome refused = import(name, bytes);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err, "corvane import: " + (dir_ / name).string() + why + "\n");
        EXPECT_EQ(test::readFile(dataFile()), original_);
    }

    const std::string original_ = test::readFile(dataFile());
};

TEST_F(ExchangeOddFiles, XliffIsReadInTheEncodingItDeclares) {
    const std::string xliff =
        replaced(exported("xlf"), "Öffnet den markierten Auftrag zur Bearbeitung.", "Öffnet Größe «ß» é.");
    Outcome latin = import("German-latin1.xlf",
                           replaced(latin1(xliff), "encoding=\"UTF-8\"", "encoding=\"ISO-8859-1\""));
    EXPECT_EQ(latin.err, "");
    EXPECT_EQ(latin.out, "Changed frmMain/cmdOpen\nGerman: 1 changed, 40 unchanged, 0 skipped.\nSaved " +
                             dataFile().string() + "\n");
    EXPECT_NE(test::readFile(dataFile()).find(">Öffnet Größe «ß» é.<"), std::string::npos);

    test::writeFile(dataFile(), original_);
    Outcome wide = import("German-utf16.xlf", utf16(replaced(xliff, "encoding=\"UTF-8\"", "encoding=\"UTF-16\"")));
    EXPECT_EQ(wide.err, "");
    EXPECT_EQ(wide.status, 0);
    EXPECT_NE(test::readFile(dataFile()).find(">Öffnet Größe «ß» é.<"), std::string::npos);

    // An encoding it cannot honour is refused by name, and nothing changes.
    test::writeFile(dataFile(), original_);
    expectRefused("German-1252.xlf", replaced(latin1(xliff), "encoding=\"UTF-8\"", "encoding=\"windows-1252\""),
                  ": is in the encoding 'windows-1252', which corvane cannot read; save it as UTF-8 (or UTF-16 or "
                  "ISO-8859-1) and import it again");
}

TEST_F(ExchangeOddFiles, APoByteThatIsNotUtf8IsNamedByItsLineAndThePrimaryLanguageIsRefused) {
    std::string po = exported("po");
    const std::string target = "msgstr \"Öffnet den markierten Auftrag zur Bearbeitung.\"";
    const size_t line = 1 + static_cast<size_t>(std::count(po.begin(), po.begin() + po.find(target), '\n'));
    po = replaced(po, target, "msgstr \"\xD6" "ffnet den Auftrag.\"");
    expectRefused("Latin.po", po,
                  ": line " + std::to_string(line) +
                      ": the byte 0xD6 (column 9) is not UTF-8; save the file as UTF-8 and import it again");

    // English is the primary language: its texts are the sources, never imported.
    std::string english = exported("xlf");
    english = replaced(english, "corvane:target-language=\"German\"", "corvane:target-language=\"English\"");
    expectRefused("English.xlf", english,
                  " holds text in 'English', the primary language of OrderEntry.vbp; an import changes only the "
                  "other languages; nothing was imported");
}

TEST_F(ExchangeOddFiles, ControlCharactersOfATranslationNeverMakeAFileUnreadable) {
    // A word processor's line break (a vertical tab) and a stray U+0001 in a translation: the
    // import names both, stores a line break and leaves the other out.
    const std::string target = "msgstr \"Öffnet den markierten Auftrag zur Bearbeitung.\"";
    Outcome imported = import("Controls.po", replaced(exported("po"), target, "msgstr \"Öffnet\x0B den\x01 Auftrag.\""));
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "Changed frmMain/cmdOpen\nNote: frmMain/cmdOpen: its vertical tab (U+000B) became a line "
                            "break; the control character U+0001, which a data file cannot hold, was left out\n"
                            "German: 1 changed, 40 unchanged, 0 skipped.\nSaved " +
                                dataFile().string() + "\n");
    EXPECT_NE(test::readFile(dataFile()).find(">Öffnet&#13;\n den Auftrag.<"), std::string::npos);
    // A data file that holds such characters as references (as earlier versions wrote them)
    // loads; what is saved and exported from it is XML that every reader takes.
    test::writeFile(dataFile(), replaced(test::readFile(dataFile()), "&#13;\n den", "&#11; d&#01;en&#x7;"));
    Outcome saved = runCommandLine({"scan", project(), "--save"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    const std::string xliff = exported("xlf");
    EXPECT_NE(test::readFile(dataFile()).find(">Öffnet&#13;\n den Auftrag.<"), std::string::npos);
    EXPECT_NE(xliff.find(">Öffnet&#13;\n den Auftrag.</target>"), std::string::npos);
    // xmllint and xliff2po (libxml2, Translate Toolkit) are Linux programs here.
    if (fs::path::preferred_separator == '/') {
        for (const fs::path& file : {dataFile(), dir_ / "German.xlf"}) {
            test::ToolRun lint = test::runToolWithStatus("xmllint --noout " + file.string());
            EXPECT_EQ(lint.status, 0) << file << lint.output;
        }
        test::ToolRun converted = test::runToolWithStatus("xliff2po " + (dir_ / "German.xlf").string() + " " +
                                                          (dir_ / "converted.po").string());
        EXPECT_EQ(converted.status, 0) << converted.output;
    }
    Outcome again = import("German-again.xlf", xliff);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "German: 0 changed, 41 unchanged, 0 skipped.\nNothing to change; " +
                             dataFile().string() + " was not written.\n");
}

TEST_F(ExchangeOddFiles, ADeviceAFileBeyondTheLimitAndEntityDeclarationsAreRefused) {
    Outcome zero = runCommandLine({"import", project(), "/dev/zero"});
    EXPECT_EQ(zero.status, 2);
    EXPECT_EQ(zero.err, "corvane import: '/dev/zero' is a character device, not a regular file, so it is not read\n");

    const fs::path huge = dir_ / "Huge.xlf";
    test::writeFile(huge, "<?xml version=\"1.0\"?>");
    fs::resize_file(huge, (uint64_t{1} << 30) + 1); // sparse: no room taken
    Outcome tooLarge = runCommandLine({"import", project(), huge.string()});
    EXPECT_EQ(tooLarge.status, 2);
    EXPECT_EQ(tooLarge.err,
              "corvane import: '" + huge.string() +
                  "' holds 1073741825 bytes (1.0 GB); files larger than 1.0 GB are not read\n");

    // Entity declarations (the "billion laughs") are refused before anything is expanded.
    std::string xliff = exported("xlf");
    xliff = replaced(xliff, "<xliff ",
                     "<!DOCTYPE xliff [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<xliff ");
    expectRefused("Entities.xlf", xliff, ": declares entities, which an XLIFF file does not need; it is not read");
}

TEST_F(ExchangeOddFiles, ManyUnknownUnitsAreCountedNotAllListed) {
    std::string xliff = exported("xlf");
    std::string units;
    for (int i = 0; i < 1500; ++i)
        units += "<trans-unit id=\"frmMain/cmdGone" + std::to_string(i) +
                 "\"><source>x</source><target>y</target></trans-unit>\n";
    xliff = replaced(xliff, "    </body>", units + "    </body>");
    Outcome result = import("Many.xlf", xliff);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Skipped frmMain/cmdGone999: unknown unit"), std::string::npos);
    EXPECT_EQ(result.out.find("Skipped frmMain/cmdGone1000:"), std::string::npos);
    EXPECT_NE(result.out.find("Skipped 500 more units (only the first 1000 are listed).\n"
                              "German: 0 changed, 41 unchanged, 1500 skipped.\n"),
              std::string::npos)
        << result.out.substr(result.out.size() - 300);
}

// Under address space limits from small to ample, an import of one unit of 60 MB either works
// or ends with a message: never an abort. (A sanitizer's shadow memory needs more address
// space than any of these limits: the check runs in the plain build.)
TEST_F(ExchangeOddFiles, RunningOutOfMemoryIsReportedNeverAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "address space limits do not fit a sanitizer's shadow memory";
#endif
    if (fs::path::preferred_separator != '/')
        GTEST_SKIP() << "the address space limit comes from a POSIX shell's ulimit -v; Windows has none";
    std::string xliff = exported("xlf");
    const std::string target = "<target state=\"translated\">";
    xliff.insert(xliff.find(target) + target.size(), std::string(60u << 20, 'A'));
    test::writeFile(dir_ / "Huge.xlf", xliff);
    bool reported = false;
    for (int megabytes = 150; megabytes <= 1500 && !reported; megabytes += 50) {
        SCOPED_TRACE(megabytes);
        test::ToolRun run = test::runShell("ulimit -v " + std::to_string(megabytes * 1024) + "; " +
                                           test::shellQuoted(test::corvaneProgram().string()) + " import " +
                                           test::shellQuoted(project()) + " " +
                                           test::shellQuoted((dir_ / "Huge.xlf").string()));
        ASSERT_TRUE(run.status == 0 || run.status == 1 || run.status == 2) << run.status << run.output;
        reported = run.output.find("corvane: out of memory: the command needed more memory than the system gives "
                                   "it; it ended without finishing\n") != std::string::npos;
        if (reported) {
            EXPECT_EQ(run.status, 2);
        }
        if (run.status == 0)
            break; // enough memory for all of it: nothing more to find
    }
    EXPECT_TRUE(reported) << "no limit made the import run out of memory";
    EXPECT_EQ(test::readFile(dataFile()), original_);
}

} // namespace
} // namespace corvane::cli
