// The built corvane.chm and the reader that takes files out of it.
#include "ownhelp/ChmArchive.h"
#include "ownhelp/HelpTopic.h"
#include "platform/AppFolders.h"
#include "process/ProcessRunner.h"
#include "ownhelp/BuiltHelpPage.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::builtPage;
using test::readFile;
using test::TempDir;
using test::writeFile;

const fs::path BuiltHelp = fs::path(CORVANE_BINARY_DIR) / "share" / "corvane" / "corvane.chm";
const fs::path HelpPages = fs::path(CORVANE_SOURCE_DIR) / "help" / "pages";

const fs::path TrialProgram = CORVANE_CHM_TRIAL;

// The archive finds the trial program (where it cannot fork) through CORVANE_CHM_TRIAL here,
// as this test program has no trial program beside it.
const bool TrialProgramNamed = [] {
    platform::setEnvironmentVariable("CORVANE_CHM_TRIAL", TrialProgram.string().c_str());
    return true;
}();

// The trial program's exit status for a file; -1 when it did not end by itself.
int trialStatus(const fs::path& file) {
    ProcessRunner runner;
    runner.setTimeLimit(std::chrono::seconds(20));
    runner.Run("\"" + TrialProgram.string() + "\" \"" + file.string() + "\"");
    return runner.ended() == RunEnd::Exited ? runner.ExitCode() : -1;
}

// The built help file with four zero bytes at `field` of its LZXC control data (a zero window
// size or version, on which chmlib divides by zero or reads out of bounds).
std::string withZeroedControlField(size_t field) {
    std::string bytes = readFile(BuiltHelp);
    size_t controlData = bytes.find("LZXC");
    EXPECT_NE(controlData, std::string::npos);
    if (controlData != std::string::npos)
        bytes.replace(controlData + field, 4, std::string(4, '\0'));
    return bytes;
}

// The source files that the project compiles into the help file (all but the project itself).
std::vector<std::string> sourcePages() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(HelpPages))
        if (entry.path().extension() != ".hhp")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every href="..." and src="..." of an HTML page, and every Local value of a contents or index file.
std::vector<std::string> linksOf(const std::string& html) {
    static const std::regex link(R"((?:href|src)="([^"]*)\"|name="Local" value="([^"]*)\")", std::regex::icase);
    std::vector<std::string> links;
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
        links.push_back((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
    return links;
}

TEST(OwnHelpChm, TheBuiltHelpFileHoldsEveryPageByteForByte) {
    ASSERT_TRUE(fs::is_regular_file(BuiltHelp)) << BuiltHelp;
    ChmArchive archive(BuiltHelp);
    auto names = sourcePages();
    for (const char* required : {"gettingstarted.html", "editor.html", "toolbar.html", "languages.html",
                                 "options.html", "generation.html", "spelling.html", "commandline.html",
                                 "style.css", "corvane.hhc", "corvane.hhk"})
        EXPECT_TRUE(std::binary_search(names.begin(), names.end(), required)) << required;

    std::vector<std::string> expected;
    for (const auto& name : names) {
        expected.push_back("/" + name);
        auto stored = archive.read(name);
        ASSERT_TRUE(stored) << name;
        EXPECT_EQ(*stored, builtPage(HelpPages / name)) << name;
    }
    auto entries = archive.entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected);
}

TEST(OwnHelpChm, TheDefaultWindowAndTheContentsAreCompiledIn) {
    ChmArchive archive(BuiltHelp);
    EXPECT_TRUE(archive.contains("/#WINDOWS"));
    auto strings = archive.read("/#STRINGS");
    ASSERT_TRUE(strings);
    EXPECT_NE(strings->find(std::string("Default") + '\0'), std::string::npos);
    EXPECT_NE(strings->find("Corvane Help"), std::string::npos);
    EXPECT_TRUE(archive.contains("/$WWKeywordLinks/BTree")) << "the index was not compiled";
}

TEST(OwnHelpChm, EveryLinkOfEveryPageLeadsToAFileOfTheHelpFile) {
    ChmArchive archive(BuiltHelp);
    size_t checked = 0;
    for (const auto& path : archive.entries()) {
        if (path.ends_with(".css"))
            continue;
        auto page = archive.read(path);
        ASSERT_TRUE(page);
        for (const auto& link : linksOf(*page)) {
            if (link.starts_with("http:") || link.starts_with("#"))
                continue;
            std::string target = resolveHelpLink(path, link);
            EXPECT_TRUE(archive.contains(target)) << path << " links to " << link;
            ++checked;
        }
    }
    EXPECT_GT(checked, 40u);
}

TEST(OwnHelpChm, ReadingIgnoresTheLeadingSlashAndBackslashes) {
    ChmArchive archive(BuiltHelp);
    EXPECT_EQ(archive.read("gettingstarted.html"), archive.read("/gettingstarted.html"));
    EXPECT_EQ(archive.read("\\style.css"), readFile(HelpPages / "style.css"));
    EXPECT_FALSE(archive.read("/nosuch.html"));
    EXPECT_FALSE(archive.contains("nosuch.html"));
    EXPECT_FALSE(archive.read(std::string(4000, 'a')));
    EXPECT_EQ(ChmArchive::archivePath("a\\b.html"), "/a/b.html");
    EXPECT_EQ(ChmArchive::archivePath(""), "/");
}

TEST(OwnHelpChm, AMissingOrForeignFileGivesAClearError) {
    TempDir dir;
    try {
        ChmArchive archive(dir / "missing.chm");
        FAIL() << "opened a missing file";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 53);
        EXPECT_NE(error.description().find((dir / "missing.chm").string()), std::string::npos);
    }
    writeFile(dir / "text.chm", "This is not a help file.\r\n");
    writeFile(dir / "empty.chm", "");
    for (const char* name : {"text.chm", "empty.chm"}) {
        try {
            ChmArchive archive(dir / name);
            FAIL() << "opened " << name;
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 75) << name;
            EXPECT_NE(error.description().find((dir / name).string()), std::string::npos);
        }
    }
    try {
        ChmArchive archive(dir.path());
        FAIL() << "opened a folder";
    } catch (const VbError& error) { // named as what it is, not as missing
        EXPECT_EQ(error.number(), 75);
        EXPECT_EQ(error.description(), "'" + dir.path().string() + "' is a folder, not a regular file, so it is not read");
    }
}

// A damaged help file (cut short, or bytes overwritten) must give an error or what can be read,
// never a crash or a hang.
TEST(OwnHelpChm, ADamagedHelpFileNeverCrashesTheReader) {
    const std::string bytes = readFile(BuiltHelp);
    ASSERT_GT(bytes.size(), 1000u);
    TempDir dir;
    auto tryAll = [&](const std::string& damaged) {
        writeFile(dir / "damaged.chm", damaged);
        try {
            ChmArchive archive(dir / "damaged.chm");
            for (const auto& path : archive.entries())
                (void)archive.read(path);
            (void)archive.read("/gettingstarted.html");
        } catch (const VbError& error) {
            EXPECT_TRUE(error.number() == 75 || error.number() == 53) << error.what();
        }
    };
    for (size_t length = 0; length < bytes.size(); length += bytes.size() / 29 + 1)
        tryAll(bytes.substr(0, length));
    uint32_t seed = 12345;
    for (int round = 0; round < 40; ++round) {
        std::string damaged = bytes;
        for (int hit = 0; hit < 16; ++hit) {
            seed = seed * 1103515245u + 12345u;
            damaged[(seed >> 8) % damaged.size()] = static_cast<char>(seed >> 24);
        }
        tryAll(damaged);
    }
}

// chmlib itself crashes on these (a bad version or window size of the compression), so the
// archive must be refused before chmlib decompresses anything.
TEST(OwnHelpChm, AnArchiveThatWouldCrashChmlibIsRefused) {
    TempDir dir;
    for (size_t field : {4u, 12u}) {
        writeFile(dir / "damaged.chm", withZeroedControlField(field));
        try {
            ChmArchive archive(dir / "damaged.chm");
            FAIL() << "opened an archive with a zero at offset " << field << " of its LZXC data";
        } catch (const VbError& error) {
            EXPECT_EQ(error.number(), 75);
            EXPECT_NE(error.description().find("damaged"), std::string::npos);
        }
    }
}

// The trial program reads a sound archive to the end, names a file that is none, and ends
// otherwise (by a crash, whose status the system chooses) on an archive that crashes chmlib.
TEST(OwnHelpChm, TheTrialProgramReadsSoundArchivesThroughAndFailsOnDamagedOnes) {
    ASSERT_TRUE(TrialProgramNamed);
    TempDir dir;
    EXPECT_EQ(trialStatus(BuiltHelp), 0);
    writeFile(dir / "text.chm", "not an archive");
    EXPECT_EQ(trialStatus(dir / "text.chm"), 1);
    for (size_t field : {4u, 12u}) {
        writeFile(dir / "damaged.chm", withZeroedControlField(field));
        EXPECT_NE(trialStatus(dir / "damaged.chm"), 0) << field;
    }
    ProcessRunner wrongCall;
    wrongCall.Run("\"" + TrialProgram.string() + "\"");
    EXPECT_EQ(wrongCall.ExitCode(), 2);
}

TEST(OwnHelpChm, LinksResolveAgainstThePageThatHoldsThem) {
    EXPECT_EQ(resolveHelpLink("/gettingstarted.html", "editor.html"), "/editor.html");
    EXPECT_EQ(resolveHelpLink("/a/b/page.html", "../style.css"), "/a/style.css");
    EXPECT_EQ(resolveHelpLink("/a/page.html", "./img/x.png?v=2"), "/a/img/x.png");
    EXPECT_EQ(resolveHelpLink("/a/page.html", "/top.html#part"), "/top.html");
    EXPECT_EQ(resolveHelpLink("/a/page.html", "sub\\p.html"), "/a/sub/p.html");
    EXPECT_EQ(resolveHelpLink("/page.html", "../../../x.html"), "/x.html");
    EXPECT_EQ(resolveHelpLink("/page.html", "ms-its:corvane.chm::/editor.html"), "/editor.html");
    EXPECT_EQ(resolveHelpLink("/page.html", "http://example.org/a.html"), "");
    EXPECT_EQ(resolveHelpLink("/page.html", "#top"), "");
    EXPECT_EQ(resolveHelpLink("/page.html", ""), "");
}

TEST(OwnHelpChm, ThePageTitleIsReadFromItsTitleElement) {
    EXPECT_EQ(htmlTitle("<html><head><TITLE>\r\n  Options &amp; more\t</TITLE></head>"), "Options & more");
    EXPECT_EQ(htmlTitle("<title lang=\"en\">A &lt;b&gt; &#39;c&#x27; &mdash; d&unknown;</title>"),
              "A <b> 'c' \xE2\x80\x94 d&unknown;");
    EXPECT_EQ(htmlTitle("<title>&#0; &#x110000; &#99999999;</title>"), "\xEF\xBF\xBD \xEF\xBF\xBD &#99999999;");
    EXPECT_EQ(htmlTitle("<html><body>no title</body></html>"), "");
    EXPECT_EQ(htmlTitle("<title>cut short"), "");
    EXPECT_EQ(htmlTitle("<title"), "");
}

} // namespace
} // namespace corvane
