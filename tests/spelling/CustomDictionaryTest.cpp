#include "files/AppPaths.h"
#include "platform/AppFolders.h"
#include "spelling/CustomDictionary.h"
#include "testsupport/TempDir.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {
namespace {

using Words = std::vector<std::string>;

// Points the program's data folder and the user's data folder into a temporary folder for
// one test, and restores both afterwards.
class FolderOverride {
public:
    FolderOverride(const std::filesystem::path& data, const std::filesystem::path& xdgData) {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            oldXdg_ = old;
        setDataDirectory(data);
        platform::setEnvironmentVariable("XDG_DATA_HOME", xdgData.string().c_str());
    }
    ~FolderOverride() {
        setDataDirectory({});
        if (oldXdg_)
            platform::setEnvironmentVariable("XDG_DATA_HOME", oldXdg_->c_str());
        else
            platform::setEnvironmentVariable("XDG_DATA_HOME", nullptr);
    }

private:
    std::optional<std::string> oldXdg_;
};

TEST(CustomDictionary, ReadsOneWordALineWhateverTheLineEndsAndEncoding) {
    // BOM, CR LF, blanks, an empty line, and a Windows-1252 line ("Größe").
    std::istringstream in("\xEF\xBB\xBF" "Corvane\r\n  frmWizard \r\n\r\nGr\xF6\xDF" "e\nlast");
    auto dictionary = CustomDictionary::read(in, "custom.dic");
    EXPECT_EQ(dictionary.words(), (Words{"Corvane", "frmWizard", "Größe", "last"}));
    EXPECT_TRUE(dictionary.contains("Größe"));
    EXPECT_FALSE(dictionary.contains("corvane"));

    std::istringstream bad("ok\nbad\x01line\n");
    try {
        CustomDictionary::read(bad, "/x/custom.dic");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), vberr::InvalidCall);
        EXPECT_EQ(e.description(), "/x/custom.dic, line 2: the line is not text");
    }
}

TEST(CustomDictionary, AddAppendsWithTheFilesLineEndingAndPersists) {
    test::TempDir dir;
    auto file = dir / "custom.dic";
    auto fresh = CustomDictionary::load(file);
    EXPECT_TRUE(fresh.words().empty());
    EXPECT_TRUE(fresh.add("Corvane"));
    EXPECT_TRUE(fresh.add("Grüße"));
    EXPECT_FALSE(fresh.add("Corvane"));
    EXPECT_EQ(test::readFile(file), "Corvane\nGrüße\n");
    EXPECT_EQ(CustomDictionary::load(file).words(), (Words{"Corvane", "Grüße"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "custom.dic.tmp"));

    // A file from Windows keeps its bytes and its CR LF; a missing last line end is added.
    test::writeFile(file, "Gr\xF6\xDF" "e\r\nlast");
    auto windows = CustomDictionary::load(file);
    EXPECT_TRUE(windows.add("neu"));
    EXPECT_EQ(test::readFile(file), "Gr\xF6\xDF" "e\r\nlast\r\nneu\r\n");
    std::ostringstream out;
    windows.write(out);
    EXPECT_EQ(out.str(), test::readFile(file));

    for (const char* word : {"", "two words", "line\nbreak", "tab\t", "bad\xFF"})
        EXPECT_THROW(windows.add(word), VbError) << word;
    EXPECT_EQ(test::readFile(file), "Gr\xF6\xDF" "e\r\nlast\r\nneu\r\n");
}

TEST(CustomDictionary, AFailedSaveLeavesTheDictionaryUnchanged) {
    test::TempDir dir;
    test::writeFile(dir / "blocker", "a file where a folder should be");
    auto dictionary = CustomDictionary::load(dir / "blocker" / "custom.dic");
    try {
        dictionary.add("word");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), vberr::PathFileAccess);
    }
    EXPECT_TRUE(dictionary.words().empty());
    EXPECT_THROW(CustomDictionary::load(dir.path()), VbError); // a folder is no word list
}

TEST(CustomDictionary, LivesInTheDataFolderOrElseInTheUsersFolder) {
    test::TempDir dir;
    auto data = dir / "data";
    std::filesystem::create_directories(data);
    FolderOverride folders(data, dir / "xdg");
    auto user = dir / "xdg" / "corvane" / "custom.dic";

    EXPECT_EQ(CustomDictionary::defaultLocation(), data / "custom.dic");
    auto never = [](const std::filesystem::path&) { return false; };
    EXPECT_EQ(CustomDictionary::defaultLocation(never), user);

    // The user's folder is made when the first word is added.
    auto fallback = CustomDictionary::open(never);
    EXPECT_TRUE(fallback.add("Corvane"));
    EXPECT_EQ(test::readFile(user), "Corvane\n");
    EXPECT_EQ(CustomDictionary::open(never).words(), (Words{"Corvane"}));
    EXPECT_FALSE(std::filesystem::exists(data / "custom.dic"));

    // A data folder that does not exist is not writable.
    setDataDirectory(dir / "missing" / "data");
    EXPECT_EQ(CustomDictionary::defaultLocation(), user);

    // A read-only folder is not writable, except for root, whom permissions do not stop.
    setDataDirectory(data);
    std::filesystem::permissions(data, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    auto expected = platform::runsAsAdministrator() ? data / "custom.dic" : user;
    EXPECT_EQ(CustomDictionary::defaultLocation(), expected);
    std::filesystem::permissions(data, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

} // namespace
} // namespace corvane
