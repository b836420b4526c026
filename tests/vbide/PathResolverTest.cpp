// Paths as a project file writes them (backslashes, another letter case, "..") found on a disk
// that tells letter cases apart, in folders of many files.
#include "testsupport/TempDir.h"
#include "vbide/PathResolver.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::vbide {
namespace {

namespace fs = std::filesystem;

TEST(PathResolver, NamesAreFoundInAnyLetterCaseAnExactSpellingFirst) {
    test::TempDir dir;
    fs::create_directories(dir / "Forms");
    fs::create_directories(dir / "Modules");
    test::writeFile(dir / "Forms" / "Other.frm", "form");
    test::writeFile(dir / "Modules" / "Util.bas", "module");
    for (int i = 0; i < 500; ++i)
        test::writeFile(dir / "Forms" / ("frmForm" + std::to_string(i) + ".frm"), "form");
    const PathResolver paths(dir.path());

    EXPECT_EQ(paths.resolve("FORMS\\OTHER.FRM"), dir / "Forms" / "Other.frm");
    EXPECT_EQ(paths.resolve("forms\\..\\modules\\util.BAS"), dir / "Modules" / "Util.bas");
    EXPECT_EQ(paths.resolve("Forms/Other.frm"), dir / "Forms" / "Other.frm");
    for (int i = 0; i < 500; i += 7)
        EXPECT_EQ(paths.resolve("Forms\\FRMFORM" + std::to_string(i) + ".FRM"),
                  dir / "Forms" / ("frmForm" + std::to_string(i) + ".frm"));
    // A file that is not there: the path as written, below the project's folder.
    EXPECT_EQ(paths.resolve("Forms\\Missing.frm"), dir / "Forms" / "Missing.frm");
    EXPECT_EQ(paths.resolve("Gone\\Other.frm"), dir / "Gone" / "Other.frm");

    // Two files whose names differ in letter case alone (where the disk can hold both): each
    // spelling finds its own file, another spelling one of them.
    test::writeFile(dir / "Forms" / "Main.frm", "one");
    test::writeFile(dir / "Forms" / "main.FRM", "two");
    const PathResolver fresh(dir.path());
    if (fs::exists(dir / "Forms" / "Main.frm") && fs::exists(dir / "Forms" / "main.FRM") &&
        !fs::equivalent(dir / "Forms" / "Main.frm", dir / "Forms" / "main.FRM")) {
        EXPECT_EQ(fresh.resolve("Forms\\Main.frm"), dir / "Forms" / "Main.frm");
        EXPECT_EQ(fresh.resolve("Forms\\main.FRM"), dir / "Forms" / "main.FRM");
        const fs::path either = fresh.resolve("Forms\\MAIN.FRM");
        EXPECT_TRUE(either == dir / "Forms" / "Main.frm" || either == dir / "Forms" / "main.FRM") << either;
    }
}

} // namespace
} // namespace corvane::vbide
