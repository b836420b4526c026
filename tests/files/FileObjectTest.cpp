#include "files/FileObject.h"
#include "testsupport/TempDir.h"
#include "testsupport/VbErrors.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace corvane {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

struct Parts {
    std::string path, fileName, baseName, extension;
    bool operator==(const Parts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Parts& parts) {
    return out << "{" << parts.path << " | " << parts.fileName << " | " << parts.baseName << " | "
               << parts.extension << "}";
}

Parts partsOf(const FileObject& file) {
    return {file.Path(), file.FileName(), file.BaseName(), file.Extension()};
}

using test::errorOf;

TEST(FileObject, SplitsPathsIntoFolderNameAndExtension) {
    const std::vector<std::pair<std::string, Parts>> cases{
        {"/p/ContextHelp.txt", {"/p/", "ContextHelp.txt", "ContextHelp", "txt"}},
        {"/p/README", {"/p/", "README", "README", ""}},
        {"/p/.profile", {"/p/", ".profile", ".profile", ""}},
        {"/p/.config.txt", {"/p/", ".config.txt", ".config", "txt"}},
        {"/p/name.", {"/p/", "name.", "name.", ""}},
        {"/my.folder/v1.2/Form1", {"/my.folder/v1.2/", "Form1", "Form1", ""}},
        {"/my.folder/a.b.c", {"/my.folder/", "a.b.c", "a.b", "c"}},
        {"Project1.vbp", {"", "Project1.vbp", "Project1", "vbp"}},
        {"/p/sub/", {"/p/sub/", "", "", ""}},
        {"/", {"/", "", "", ""}},
        {"", {"", "", "", ""}},
    };
    for (const auto& [fullPath, expected] : cases) {
        FileObject file(fullPath);
        EXPECT_EQ(partsOf(file), expected) << fullPath;
        EXPECT_EQ(file.FullPath(), fullPath);
    }
}

TEST(FileObject, SplitsAtTheSystemsOwnSeparatorToo) {
    // Windows separates folders with '\\' as well as '/'; elsewhere '\\' is a letter of a name.
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    FileObject file("C:" + separator + "Work" + separator + "OrderEntry.vbp");
    EXPECT_EQ(partsOf(file), (Parts{"C:" + separator + "Work" + separator, "OrderEntry.vbp", "OrderEntry", "vbp"}));
    FileObject mixed(std::string("/p/a\\b.txt"));
    const bool backslashSeparates = separator == "\\";
    EXPECT_EQ(mixed.FileName(), backslashSeparates ? "b.txt" : "a\\b.txt");
    EXPECT_THROW(mixed.SetBaseName("x" + separator + "y"), VbError);
}

TEST(FileObject, ComposesPathsOnePartAtATime) {
    FileObject file;
    file.SetFullPath("/work/My.Project/ContextHelp.txt");
    file.SetExtension("txt.tmp");
    EXPECT_EQ(file.FullPath(), "/work/My.Project/ContextHelp.txt.tmp");
    EXPECT_EQ(partsOf(file), (Parts{"/work/My.Project/", "ContextHelp.txt.tmp", "ContextHelp", "txt.tmp"}));
    file.SetExtension("txt");
    EXPECT_EQ(file.FullPath(), "/work/My.Project/ContextHelp.txt");
    file.SetBaseName("Project1_Context");
    file.SetExtension("chm");
    EXPECT_EQ(file.FullPath(), "/work/My.Project/Project1_Context.chm");
    file.SetExtension("");
    EXPECT_EQ(file.FullPath(), "/work/My.Project/Project1_Context");
    file.SetExtension("hlp");
    EXPECT_EQ(file.FullPath(), "/work/My.Project/Project1_Context.hlp");

    FileObject dotted("/p/.profile");
    dotted.SetExtension("bak");
    EXPECT_EQ(dotted.FullPath(), "/p/.profile.bak");
    dotted.SetBaseName("x");
    EXPECT_EQ(dotted.FullPath(), "/p/x.bak");

    EXPECT_EQ(errorOf([&] { file.SetBaseName("a/b"); }).number(), 5);
    EXPECT_EQ(errorOf([&] { file.SetExtension("a/b"); }).number(), 5);
    EXPECT_EQ(file.FullPath(), "/work/My.Project/Project1_Context.hlp");
}

TEST(FileObject, ReadsLinesAndWholeFilesAsStored) {
    TempDir dir;
    writeFile(dir / "languages.txt", "English\r\nGerman\n\nFrançais\r\n  spaced  \nlast");
    FileObject file(dir / "languages.txt");
    EXPECT_TRUE(file.Exists());
    file.OpenForReading();
    std::vector<std::string> lines;
    while (!file.AtEndOfStream())
        lines.push_back(file.ReadLine());
    EXPECT_EQ(lines, (std::vector<std::string>{"English", "German", "", "Français", "  spaced  ", "last"}));
    auto pastEnd = errorOf([&] { file.ReadLine(); });
    EXPECT_EQ(pastEnd.number(), 62);
    EXPECT_EQ(pastEnd.description(), "Input past end of file '" + (dir / "languages.txt").string() + "'");
    EXPECT_EQ(file.ReadAll(), "");
    file.Close();
    EXPECT_TRUE(file.AtEndOfStream());

    writeFile(dir / "data.txt", std::string("\xEF\xBB\xBF<Root>\r\n\0</Root>\r\n", 21));
    FileObject data(dir / "data.txt");
    data.OpenForReading();
    EXPECT_EQ(data.ReadLine(), "\xEF\xBB\xBF<Root>");
    EXPECT_EQ(data.ReadAll(), std::string("\0</Root>\r\n", 10));
    EXPECT_TRUE(data.AtEndOfStream());
    data.Close();

    writeFile(dir / "empty.txt", "");
    FileObject empty(dir / "empty.txt");
    empty.OpenForReading();
    EXPECT_TRUE(empty.AtEndOfStream());
    EXPECT_EQ(empty.ReadAll(), "");
}

TEST(FileObject, WritesThroughAnAtomicFileOnClose) {
    TempDir dir;
    writeFile(dir / "ContextHelp.txt", "old");
    FileObject file(dir / "ContextHelp.txt");
    file.OpenForWriting();
    file.WriteLine("<Root>");
    file.Write("text");
    file.WriteLine("");
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "old"); // nothing replaced before Close
    file.Close();
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "<Root>\r\ntext\r\n");
    file.Close(); // nothing open: no-op

    // Dropping an object that is still writing leaves the old file whole.
    {
        FileObject abandoned(dir / "ContextHelp.txt");
        abandoned.OpenForWriting();
        abandoned.Write("half");
    }
    EXPECT_EQ(readFile(dir / "ContextHelp.txt"), "<Root>\r\ntext\r\n");

    // The save sequence of the help data file: write the .tmp beside it, then swap.
    FileObject save(dir / "ContextHelp.txt");
    save.SetExtension("txt.tmp");
    save.OpenForWriting();
    save.WriteLine("new");
    save.Close();
    EXPECT_EQ(readFile(dir / "ContextHelp.txt.tmp"), "new\r\n");
    save.SetExtension("txt");
    save.Delete();
    EXPECT_FALSE(save.Exists());
    save.Delete(); // missing: no error
    EXPECT_FALSE(std::filesystem::exists(dir / "ContextHelp.txt.tmp.tmp"));
}

TEST(FileObject, AnEndRenderedStraightIntoTheFileFollowsWhatWasWrittenOnceEvenAfterAFailedClose) {
    TempDir dir;
    writeFile(dir / "P.h", "old");
    FileObject file(dir / "P.h");
    int renderings = 0;
    const auto rest = [&](OutputBuffer& out) {
        ++renderings;
        for (int i = 1; i <= 3; ++i)
            out.append("#define IDH_" + std::to_string(i) + " " + std::to_string(i) + "\r\n");
    };
    EXPECT_EQ(errorOf([&] { file.Close(rest); }).description(), "The file '" + file.FullPath() + "' is not open for writing");
    file.OpenForWriting();
    file.WriteLine("// map");
    auto previous = setAtomicFaultInjector( // the commit cannot write
        [](AtomicStep step, const std::filesystem::path&) { return step == AtomicStep::Write ? ENOSPC : 0; });
    EXPECT_EQ(errorOf([&] { file.Close(rest); }).number(), 75);
    setAtomicFaultInjector(previous);
    EXPECT_EQ(readFile(dir / "P.h"), "old");
    file.Close(rest); // tried again: what was written is kept, the end rendered anew
    EXPECT_EQ(readFile(dir / "P.h"), "// map\r\n#define IDH_1 1\r\n#define IDH_2 2\r\n#define IDH_3 3\r\n");
    EXPECT_EQ(renderings, 2);
    file.Close(); // closed: no-op
    EXPECT_EQ(renderings, 2);

    AtomicFile prepared(dir / "Q.h"); // a prepared file is committed as it was prepared
    prepared.prepare([](OutputBuffer& out) { out.append("prepared"); });
    EXPECT_EQ(errorOf([&] { prepared.commitFollowedBy(rest); }).number(), 5);
    prepared.commit();
    EXPECT_EQ(readFile(dir / "Q.h"), "prepared");
}

TEST(FileObject, FailuresNameTheFile) {
    TempDir dir;
    const std::string missing = (dir / "missing.txt").string();
    FileObject file(missing);
    EXPECT_FALSE(file.Exists());
    auto notFound = errorOf([&] { file.OpenForReading(); });
    EXPECT_EQ(notFound.number(), 53);
    EXPECT_EQ(notFound.description(), "File not found: '" + missing + "'");

    auto notOpen = errorOf([&] { file.ReadLine(); });
    EXPECT_EQ(notOpen.number(), 5);
    EXPECT_EQ(notOpen.description(), "The file '" + missing + "' is not open for reading");
    EXPECT_EQ(errorOf([&] { file.WriteLine("x"); }).description(),
              "The file '" + missing + "' is not open for writing");

    FileObject noFolder(dir / "nowhere" / "x.txt");
    auto pathError = errorOf([&] { noFolder.OpenForWriting(); });
    EXPECT_EQ(pathError.number(), 75);
    EXPECT_EQ(pathError.description(),
              "Cannot create '" + (dir / "nowhere" / "x.txt").string() + "': the folder does not exist");

    std::filesystem::create_directory(dir / "folder.txt");
    FileObject folder(dir / "folder.txt");
    EXPECT_FALSE(folder.Exists());
    EXPECT_EQ(errorOf([&] { folder.OpenForWriting(); }).number(), 75);
    EXPECT_EQ(errorOf([&] { folder.OpenForReading(); }).number(), 75);
    EXPECT_EQ(errorOf([&] { folder.Delete(); }).number(), 75);

    // A commit that fails keeps the content so that Close can be tried again.
    FileObject late(dir / "late" / "x.txt");
    std::filesystem::create_directory(dir / "late");
    late.OpenForWriting();
    late.WriteLine("kept");
    std::filesystem::remove(dir / "late");
    auto commitError = errorOf([&] { late.Close(); });
    EXPECT_EQ(commitError.number(), 75);
    EXPECT_EQ(commitError.description(), "Cannot save '" + (dir / "late" / "x.txt").string() + "': its folder '" +
                                             (dir / "late").string() +
                                             "' does not exist or cannot be reached (No such file or directory)");
    std::filesystem::create_directory(dir / "late");
    late.Close();
    EXPECT_EQ(readFile(dir / "late" / "x.txt"), "kept\r\n");
}

} // namespace
} // namespace corvane
