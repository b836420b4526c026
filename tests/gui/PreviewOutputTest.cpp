// `corvane preview -o` writes its picture as every other output is written: a whole new file
// in place of the old one, so a full disk leaves the old picture and no temporary file, a
// read-only picture is not replaced, and no file of the project is ever its target.
#include "gui/GuiTestSupport.h"

#include "app/preview/PreviewCommand.h"
#include "files/FileFailures.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

std::string quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// Runs the command in this process, as the program would, with a file system that fails as
// `fault` says; its exit status, and what it wrote to standard error in `err`.
int previewHere(const std::vector<std::string>& arguments, AtomicFaultInjector fault, std::string& err) {
    AtomicFaultInjector before = setAtomicFaultInjector(std::move(fault));
    int argc = 1;
    char name[] = "corvane";
    char* argv[] = {name, nullptr};
    testing::internal::CaptureStderr();
    int status = app::runPreview(argc, argv, arguments);
    err = testing::internal::GetCapturedStderr();
    setAtomicFaultInjector(std::move(before));
    return status;
}

TEST(PreviewOutput, AFullDiskLeavesTheOldPictureAndNoTemporaryFile) {
    ensureApplication();
    GuiFixture fixture;
    const fs::path picture = fixture.dir() / "frmOrder.png";
    writeFile(picture, "the old picture");
    std::string err;
    int status = previewHere({fixture.project().string(), "--module", "frmOrder", "-o", picture.string()},
                             [](AtomicStep step, const fs::path&) { return step == AtomicStep::Write ? ENOSPC : 0; },
                             err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("corvane preview: "), std::string::npos) << err;
    EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
    EXPECT_EQ(readFile(picture), "the old picture");
    for (const auto& entry : fs::directory_iterator(fixture.dir().path()))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();

    // Without the fault the picture is replaced whole.
    status = previewHere({fixture.project().string(), "--module", "frmOrder", "-o", picture.string()}, {}, err);
    EXPECT_EQ(status, 0) << err;
    EXPECT_TRUE(readFile(picture).starts_with("\x89PNG"));
}

TEST(PreviewOutput, AReadOnlyPictureAndTheProjectsFilesAreNotReplaced) {
    GuiFixture fixture;
    const fs::path picture = fixture.dir() / "frmOrder.png";
    writeFile(picture, "kept");
    fs::permissions(picture, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove); // read-only (its attribute on Windows)
    ToolRun readOnly = runCorvane("preview " + quoted(fixture.project()) + " --module frmOrder -o " + quoted(picture));
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_NE(readOnly.output.find("is read-only"), std::string::npos) << readOnly.output;
    EXPECT_EQ(readFile(picture), "kept");

    const fs::path data = fixture.project().parent_path() / "ContextHelp.txt";
    const std::string before = readFile(data);
    ToolRun onData = runCorvane("preview " + quoted(fixture.project()) + " --module frmOrder -o " + quoted(data));
    EXPECT_EQ(onData.status, 2);
    EXPECT_NE(onData.output.find("corvane preview: -o " + data.string() + " is the help data file '" + data.string() +
                                 "'; a picture never replaces a file of the project; nothing was written"),
              std::string::npos)
        << onData.output;
    EXPECT_EQ(readFile(data), before);
}

} // namespace
} // namespace corvane::test
