#include "files/FileOperations.h"
#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

using test::errorOf;

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(FileOperations, CreateFolder) {
    TempDir dir;
    CreateFolder(dir / "Corvane" / "English");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Corvane" / "English"));
    CreateFolder(dir / "Corvane"); // existing: no error
    writeFile(dir / "file", "x");
    auto inTheWay = errorOf([&] { CreateFolder(dir / "file"); });
    EXPECT_EQ(inTheWay.number(), 75);
    EXPECT_EQ(inTheWay.description(),
              "Cannot create the folder " + quoted(dir / "file") + ": a file of that name exists");
    auto underFile = errorOf([&] { CreateFolder(dir / "file" / "sub"); });
    EXPECT_EQ(underFile.number(), 75);
    EXPECT_NE(underFile.description().find(quoted(dir / "file" / "sub")), std::string::npos);
}

TEST(FileOperations, CopyFile) {
    TempDir dir;
    const std::string bytes("chm\0\r\n\xFF", 7);
    writeFile(dir / "Corvane" / "English" / "P_Context.chm", bytes);
    writeFile(dir / "P_Context.chm", "older copy");
    CopyFile(dir / "Corvane" / "English" / "P_Context.chm", dir / "P_Context.chm");
    EXPECT_EQ(readFile(dir / "P_Context.chm"), bytes);
    EXPECT_EQ(readFile(dir / "Corvane" / "English" / "P_Context.chm"), bytes);

    auto missing = errorOf([&] { CopyFile(dir / "none.chm", dir / "copy.chm"); });
    EXPECT_EQ(missing.number(), 53);
    EXPECT_EQ(missing.description(), "File not found: " + quoted(dir / "none.chm"));
    EXPECT_FALSE(std::filesystem::exists(dir / "copy.chm"));

    auto noTarget = errorOf([&] { CopyFile(dir / "P_Context.chm", dir / "no" / "copy.chm"); });
    EXPECT_EQ(noTarget.number(), 75);
    EXPECT_EQ(noTarget.description().rfind("Cannot copy " + quoted(dir / "P_Context.chm") + " to " +
                                               quoted(dir / "no" / "copy.chm") + ". ",
                                           0),
              0u)
        << noTarget.description();
    EXPECT_EQ(errorOf([&] { CopyFile(dir / "Corvane", dir / "x"); }).number(), 75);
}

TEST(FileOperations, DeleteFile) {
    TempDir dir;
    writeFile(dir / "old.txt", "x");
    DeleteFile(dir / "old.txt");
    EXPECT_FALSE(std::filesystem::exists(dir / "old.txt"));
    DeleteFile(dir / "old.txt"); // missing: no error
    DeleteFile(dir / "no-folder" / "old.txt");
    std::filesystem::create_directory(dir / "folder");
    auto folder = errorOf([&] { DeleteFile(dir / "folder"); });
    EXPECT_EQ(folder.number(), 75);
    EXPECT_EQ(folder.description(), "Cannot delete " + quoted(dir / "folder") + ": it is a folder");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}

TEST(FileOperations, RenameFile) {
    TempDir dir;
    writeFile(dir / "ContextHelp.txt.tmp", "new");
    writeFile(dir / "ContextHelp.txt", "old");
    RenameFile(dir / "ContextHelp.txt.tmp", dir / "ContextHelp.txt");
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "ContextHelp.txt.tmp"));

    auto missing = errorOf([&] { RenameFile(dir / "gone.tmp", dir / "ContextHelp.txt"); });
    EXPECT_EQ(missing.number(), 53);
    EXPECT_EQ(missing.description(), "Cannot rename " + quoted(dir / "gone.tmp") + " to " +
                                         quoted(dir / "ContextHelp.txt") + ": the file does not exist");
    auto noFolder = errorOf([&] { RenameFile(dir / "ContextHelp.txt", dir / "no" / "x.txt"); });
    EXPECT_EQ(noFolder.number(), 75);
    EXPECT_EQ(noFolder.description(), "Cannot rename " + quoted(dir / "ContextHelp.txt") + " to " +
                                          quoted(dir / "no" / "x.txt") + ": No such file or directory");
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "new");
}

} // namespace
} // namespace corvane
