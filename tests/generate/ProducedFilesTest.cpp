// What a help file creation run produced: a file counts as written when its version on disk
// changed since the run began, also where a rewrite leaves the time of the last write as it was
// (a file system that keeps whole seconds, or a run within the second of the last one).
#include "generate/ProducedFiles.h"

#include "generate/HelpOutputLayout.h"
#include "helpdata/HelpDataSettings.h"
#include "platform/Utf8Path.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;

TEST(ProducedFiles, ARewriteCountsEvenWithTheSameWriteTimeAndAnUntouchedFileDoesNot) {
    test::TempDir dir;
    HelpDataSettings settings;
    settings.newSelectedLanguages();
    settings.SelectedLanguages->Add("English", "English");
    settings.mGenerateHTML = true;
    // A project named beyond ASCII: the files are found by their UTF-8 names.
    const HelpOutputLayout layout(platform::utf8Of(dir / "Café.vbp"), "Café", 1252);
    const fs::path folder = dir / "Corvane" / "English";
    const fs::path popups = folder / platform::pathFromUtf8("Café_ContextTopics.txt");
    const fs::path project = folder / platform::pathFromUtf8("Café_Context.hhp");
    test::writeFile(popups, "old topics");
    test::writeFile(project, "old project");

    const ProducedFiles files(settings, layout);
    ASSERT_EQ(files.requested(), (std::vector<fs::path>{popups, project}));
    EXPECT_EQ(files.missing(), files.requested());
    EXPECT_TRUE(files.delivered().empty());

    // Replaced with bytes of the same length, and given back the time it had.
    const auto time = fs::last_write_time(popups);
    const fs::path replacement = dir / "replacement.txt";
    test::writeFile(replacement, "new topics");
    fs::rename(replacement, popups);
    fs::last_write_time(popups, time);
    EXPECT_EQ(files.missing(), std::vector<fs::path>{project});
    // Written in place, as a compiler writes its file.
    test::writeFile(project, "new project");
    fs::last_write_time(project, time);
    EXPECT_TRUE(files.missing().empty());
    EXPECT_EQ(files.delivered(), std::vector<fs::path>{project});
}

} // namespace
} // namespace corvane
