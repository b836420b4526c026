// Paths as a project file writes them (backslashes, another letter case, "..") found on a disk
// that tells letter cases apart, in folders of many files.
#include "testsupport/TempDir.h"
#include "vbide/DesignerReader.h"
#include "vbide/PathResolver.h"
#include "vbide/VBComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(PathResolver, ProjectReadsEachFolderOnceForAllItsDesignersAndLetsTheListingsGo) {
    // Forms in one crowded folder, each naming its .frx in another letter case than the disk's,
    // with a caption kept there; the folder is read once for all of them, by the project's own
    // resolver, and let go when the last form is read.
    test::TempDir dir;
    fs::create_directories(dir / "Forms");
    for (int i = 0; i < 300; ++i)
        test::writeFile(dir / "Forms" / ("Picture" + std::to_string(i) + ".bmp"), "BM");
    auto listings = std::make_shared<FolderListings>();
    const PathResolver paths(dir.path(), listings);
    std::vector<std::shared_ptr<VBComponent>> components;
    constexpr int Forms = 40;
    for (int i = 0; i < Forms; ++i) {
        const std::string name = "frmAccount" + std::to_string(i), caption = "Balance " + std::to_string(i);
        test::writeFile(dir / "Forms" / (name + ".frx"), std::string(1, static_cast<char>(caption.size())) + caption);
        test::writeFile(dir / "Forms" / (name + ".frm"),
                        "VERSION 5.00\r\nBegin VB.Form " + name + " \r\n   Begin VB.Label lblBalance \r\n"
                        "      Caption         =   \"FRMACCOUNT" + std::to_string(i) + ".FRX\":0000\r\n"
                        "   End\r\nEnd\r\nAttribute VB_Name = \"" + name + "\"\r\n");
    }
    for (int i = 0; i < Forms; ++i)
        components.push_back(
            VBComponent::create({0, 5, "Form", "", "forms\\frmAccount" + std::to_string(i) + ".FRM"}, paths));
    EXPECT_EQ(listings->reads(), 2u); // the project's folder and "Forms", for every form's path
    DesignerReader(components, 1252, ControlTypeTable::standard(), listings); // waits for the reads
    EXPECT_EQ(listings->reads(), 2u); // every .frx found in the listing already read

    // A .frx renamed since its form found it is looked for again when the form's properties are built.
    fs::rename(dir / "Forms" / "frmAccount5.frx", dir / "Forms" / "FrmAccount5.Frx");
    for (int i = 0; i < Forms; ++i) {
        auto& controls = components[static_cast<size_t>(i)]->Designer()->VBControls();
        ASSERT_EQ(controls.Count(), 1) << i;
        EXPECT_EQ(controls.Item(1)->Properties().Item("Caption").Value().toText(), "Balance " + std::to_string(i));
    }
#ifdef _WIN32
    constexpr size_t RenamedRead = 0; // the name it found still opens the file: names ignore letter case
#else
    constexpr size_t RenamedRead = 1;
#endif
    const size_t afterRename = listings->reads();
    EXPECT_EQ(afterRename, 2u + RenamedRead); // each form remembers the .frx it found; "Forms" read anew for one
    // The listings were let go and are not kept since: a file made later is found, each time
    // by a listing read anew, until they are kept again.
    test::writeFile(dir / "Forms" / "frmLater.frm", "form");
    EXPECT_EQ(paths.resolve("Forms\\FRMLATER.FRM"), dir / "Forms" / "frmLater.frm");
    EXPECT_EQ(listings->reads(), afterRename + 2);
    fs::rename(dir / "Forms" / "frmLater.frm", dir / "Forms" / "frmLatest.frm");
    EXPECT_EQ(paths.resolve("Forms\\FRMLATEST.FRM"), dir / "Forms" / "frmLatest.frm");
    listings->keep();
    EXPECT_EQ(paths.resolve("Forms\\FRMLATEST.FRM"), dir / "Forms" / "frmLatest.frm");
    EXPECT_EQ(paths.resolve("Forms\\FRMACCOUNT7.FRM"), dir / "Forms" / "frmAccount7.frm");
    EXPECT_EQ(listings->reads(), afterRename + 6);
}

} // namespace
} // namespace corvane::vbide
