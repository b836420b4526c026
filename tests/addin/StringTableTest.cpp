#include "addin/StringTable.h"
#include "platform/AppFolders.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

using test::ScopedEnvironment;
using test::ScriptedReports;
using test::TempDir;
using test::writeFile;

// Uses an override file for the program's table while it lives.
class StringsOverride {
public:
    explicit StringsOverride(const std::filesystem::path& file) : variable_("CORVANE_STRINGS", file.string()) {
        reloadProgramStringTable();
    }
    ~StringsOverride() {
        platform::setEnvironmentVariable("CORVANE_STRINGS", nullptr);
        reloadProgramStringTable();
    }

private:
    ScopedEnvironment variable_;
};

// The VbError a call raises (number 0 when none).
template <typename F>
VbError failureOf(F&& call) {
    try {
        call();
    } catch (const VbError& error) {
        return error;
    }
    return VbError(0, "no error");
}

TEST(StringTable, TheBuiltInTableHoldsEntries101To159Exactly) {
    StringTable table = StringTable::builtIn();
    EXPECT_EQ(table.size(), 59u);
    for (int16_t n = 101; n <= 159; ++n)
        EXPECT_NE(table.find(n), nullptr) << n;
    EXPECT_EQ(table.find(100), nullptr);
    EXPECT_EQ(table.find(160), nullptr);
    EXPECT_EQ(table.text(101), "Corvane ...");
    EXPECT_EQ(table.text(105), "<No module selected>");
    EXPECT_EQ(table.text(106), "Corvane Help Text Manager");
    EXPECT_EQ(table.text(133),
              "Please identify your primary language.  When you are editting Help Text for other languages, the Help "
              "text in your primary language will be displayed as a reference.");
    EXPECT_EQ(table.text(138), "Help projects were created in the directory ");
    EXPECT_EQ(table.text(148),
              "The Winhelp file was not compiled successfully.  It was not possible to obtain a description of the "
              "failure.  Please attempt to compile manually using the Microsoft Winhelp compiler (hcw.exe), which is "
              "supplied with Microsoft Visual Basic.  Do you wish to continue Help generation ?");
}

TEST(StringTable, LoadResStringRaises326ForAMissingEntry) {
    EXPECT_EQ(LoadResString(127), "Compile Help file(s)");
    VbError error = failureOf([] { LoadResString(999); });
    EXPECT_EQ(error.number(), 326);
    EXPECT_EQ(error.description(), "Resource with identifier '999' not found");
}

TEST(StringTable, ReadsCrLfLinesBomCommentsAndKeepsTabsAndSpacesInTexts) {
    std::istringstream in("\xEF\xBB\xBF# comment\r\n\r\n110\tOK \r\n111\tA\tB\n  \n112\t\n");
    StringTable table = StringTable::read(in, "test.txt");
    EXPECT_EQ(table.size(), 3u);
    EXPECT_EQ(table.text(110), "OK ");
    EXPECT_EQ(table.text(111), "A\tB");
    EXPECT_EQ(table.text(112), "");
}

TEST(StringTable, BadLinesNameTheFileAndTheLine) {
    auto errorOf = [](const std::string& text) {
        return failureOf([&] {
            std::istringstream in(text);
            StringTable::read(in, "de.txt");
        });
    };
    VbError noTab = errorOf("# head\n110 OK\n");
    EXPECT_EQ(noTab.number(), 5);
    EXPECT_EQ(noTab.description(), "'de.txt' line 2: expected the entry number, a tab and the text");
    EXPECT_EQ(errorOf("1O6\tx\n").description(), "'de.txt' line 1: '1O6' is not an entry number");
    EXPECT_EQ(errorOf("-5\tx\n").description(), "'de.txt' line 1: '-5' is not an entry number");
    EXPECT_EQ(errorOf("99999\tx\n").description(), "'de.txt' line 1: '99999' is not an entry number");
    EXPECT_EQ(errorOf("\tx\n").description(), "'de.txt' line 1: '' is not an entry number");
    EXPECT_EQ(errorOf("110\ta\n\n110\tb\n").description(), "'de.txt' line 3: entry 110 is given twice (first on line 1)");
    EXPECT_EQ(errorOf("110\t\xC3(\n").description(), "'de.txt' line 1: the text is not valid UTF-8");
}

TEST(StringTable, AnOverrideFileReplacesEntriesAndIsChecked) {
    TempDir dir;
    writeFile(dir / "de.txt", "# Deutsch\n110\tOK!\n\n200\tunknown\n");
    StringTable table = StringTable::builtIn();
    VbError unknown = failureOf([&] { table.override(StringTable::read(dir / "de.txt")); });
    EXPECT_EQ(unknown.number(), 5);
    EXPECT_EQ(unknown.description(), "'" + (dir / "de.txt").string() + "' line 4: the program has no entry 200");
    EXPECT_EQ(table.text(110), "OK"); // unchanged after the error

    VbError missing = failureOf([&] { StringTable::read(dir / "none.txt"); });
    EXPECT_EQ(missing.number(), 53);

    EXPECT_EQ(LoadResString(110), "OK"); // the table in use
    writeFile(dir / "bad.txt", "110\tAbbrechen\nnonsense\n");
    ScopedEnvironment variable("CORVANE_STRINGS", (dir / "bad.txt").string());
    VbError bad = failureOf([] { reloadProgramStringTable(); });
    EXPECT_EQ(bad.description(), "'" + (dir / "bad.txt").string() + "' line 2: expected the entry number, a tab and the text");
    EXPECT_EQ(LoadResString(110), "OK"); // the table in use is kept
}

TEST(StringTable, GetResStringJoinsContinuedEntriesAndAdvancesNRes) {
    TempDir dir;
    writeFile(dir / "strings.txt", "120\tFirst part, _\r\n121\tsecond_\r\n122\t part.\r\n123\tnot joined_x\r\n");
    StringsOverride use(dir / "strings.txt");
    int16_t nRes = 120;
    EXPECT_EQ(GetResString(nRes), "First part, second part.");
    EXPECT_EQ(nRes, 123);
    EXPECT_EQ(GetResString(nRes), "not joined_x");
    EXPECT_EQ(nRes, 124);
    nRes = 106;
    EXPECT_EQ(GetResString(nRes), "Corvane Help Text Manager");
    EXPECT_EQ(nRes, 107);
    EXPECT_EQ(LoadResString(121), "second_"); // a single entry keeps its "_"
}

TEST(StringTable, GetResStringReportsAMissingEntryInModWizard) {
    ScriptedReports script({""});
    int16_t nRes = 999;
    VbError error = failureOf([&] { GetResString(nRes); });
    EXPECT_EQ(error.number(), 65535);
    ASSERT_EQ(script.reports().size(), 1u);
    const auto& report = script.reports()[0];
    EXPECT_EQ(report.number.toLong(), 326);
    EXPECT_EQ(report.module.toText(), "modWizard");
    EXPECT_EQ(report.procedure.toText(), "GetResString");
    EXPECT_EQ(report.description.toText(), "Resource with identifier '999' not found");
    EXPECT_GT(report.line.toLong(), 0);
    EXPECT_EQ(report.variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n<sTmp></sTmp>\r\n<sRetStr></sRetStr>\r\n</LocalVariables>\r\n"
              "<ModuleVariables>\r\n</ModuleVariables>\r\n</Variables>\r\n<Parameters>\r\n<nRes>999</nRes>\r\n\r\n"
              "</Parameters>");
    EXPECT_EQ(nRes, 999);
}

TEST(StringTable, GetResStringSkipsAMissingEntryOnRetryNext) {
    TempDir dir;
    writeFile(dir / "strings.txt", "159\tlast_\n");
    StringsOverride use(dir / "strings.txt");
    ScriptedReports script({"RetryNext"});
    int16_t nRes = 159;
    EXPECT_EQ(GetResString(nRes), "last"); // 160 is missing: skipped, the joining ends
    EXPECT_EQ(nRes, 161);
    ASSERT_EQ(script.reports().size(), 1u);
    EXPECT_NE(script.reports()[0].variables.toText().find("<sRetStr>last</sRetStr>"), std::string::npos);
    EXPECT_NE(script.reports()[0].variables.toText().find("<nRes>160</nRes>"), std::string::npos);
}

} // namespace
} // namespace corvane
