// The sample of a project's files for its code page, read on several threads: it must be the
// sample a reading of the files one after the other gives, whichever thread is quicker, also
// where the sample fills in the middle of the files and where files are missing.
#include "files/FileReading.h"
#include "testsupport/TempDir.h"
#include "text/TextCodec.h"
#include "vbide/CodePageSampling.h"
#include "vbide/ProjectCodePage.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

namespace corvane::vbide {
namespace {

// A form's bytes in Windows-1251: ASCII lines, then `cyrillicLines` captions in Russian that
// name the file, with CRLF line ends.
std::string formBytes(int number, int cyrillicLines) {
    std::string utf8 = "VERSION 5.00\r\nBegin VB.Form frmForm" + std::to_string(number) + "\r\n";
    for (int line = 0; line < cyrillicLines; ++line)
        utf8 += "   Caption = \"Форма " + std::to_string(number) + ", строка " + std::to_string(line) +
                ": Отмена, Открыть, Сохранить\"\r\n";
    utf8 += "End\r\nAttribute VB_Name = \"frmForm" + std::to_string(number) + "\"\r\n";
    return encodeCodePage(utf8, 1251);
}

// The sample as the files give it one after the other, each read while the sample has room.
ProjectCodePage sampledInOrder(const std::vector<std::filesystem::path>& files) {
    ProjectCodePage detection;
    detection.addFile(formBytes(-1, 2)); // the project file's own lines come first
    for (const auto& file : files) {
        if (detection.full())
            break;
        try {
            detection.addFile(readFileBytes(file));
        } catch (const VbError&) {
        }
    }
    return detection;
}

// The same files read by addFilesToSample, several times (threads finish in other orders).
void expectSameSampleOnThreads(const std::vector<std::filesystem::path>& files) {
    const ProjectCodePage expected = sampledInOrder(files);
    for (int run = 0; run < 20; ++run) {
        ProjectCodePage detection;
        detection.addFile(formBytes(-1, 2));
        addFilesToSample(detection, files);
        ASSERT_EQ(detection.sample(), expected.sample()) << "run " << run;
        EXPECT_EQ(detection.evidence(), expected.evidence());
        EXPECT_EQ(detection.full(), expected.full());
    }
}

TEST(CodePageSampling, FilesReadOnThreadsGiveTheSampleOfTheirOrder) {
    test::TempDir dir;
    std::vector<std::filesystem::path> files;
    for (int number = 0; number < 120; ++number) {
        files.push_back(dir / ("frmForm" + std::to_string(number) + ".frm"));
        if (number == 7 || number == 90)
            continue; // named by the project, not on disk
        // Every fifth form is ASCII alone; the others hold 4 to 12 Russian lines.
        test::writeFile(files.back(), formBytes(number, number % 5 == 0 ? 0 : 4 + number % 9));
    }
    // Together the forms hold far more than a sample: it fills some way into them.
    expectSameSampleOnThreads(files);
    EXPECT_TRUE(sampledInOrder(files).full());
    // The first few forms do not fill it: every line of theirs is in it, in their order.
    const std::vector<std::filesystem::path> few(files.begin(), files.begin() + 12);
    expectSameSampleOnThreads(few);
    EXPECT_FALSE(sampledInOrder(few).full());
    EXPECT_NE(sampledInOrder(few).sample().find(encodeCodePage("Форма 11, строка 0", 1251)), std::string::npos);
    // No files: the project file's lines alone.
    expectSameSampleOnThreads({});
    // A project file that fills the sample itself: no form adds a line.
    ProjectCodePage full;
    full.addFile(formBytes(-1, 1000));
    ASSERT_TRUE(full.full());
    const std::string before = full.sample();
    addFilesToSample(full, files);
    EXPECT_EQ(full.sample(), before);
}

TEST(CodePageSampling, LinesBeyondAsciiAreTakenWholeWhateverTheirLineEnds) {
    const std::string cafe = encodeCodePage("café", 1252);
    const std::string bytes = "plain\r\nA " + cafe + " B\rplain\nC " + cafe + "\n" + cafe + " last";
    EXPECT_EQ(ProjectCodePage::linesBeyondAscii(bytes),
              "A " + cafe + " B\nC " + cafe + "\n" + cafe + " last\n");
    // The limit stops it after the line that reaches it.
    EXPECT_EQ(ProjectCodePage::linesBeyondAscii(bytes, 3), "A " + cafe + " B\n");
    EXPECT_EQ(ProjectCodePage::linesBeyondAscii("ASCII alone\r\n"), "");
    ProjectCodePage detection;
    detection.addFile(bytes);
    EXPECT_EQ(detection.sample(), ProjectCodePage::linesBeyondAscii(bytes));
    EXPECT_EQ(detection.evidence(), 3u); // the "é" of each line
    // Lines given without their last line end are taken all the same.
    ProjectCodePage unended;
    unended.addLines("A " + cafe);
    EXPECT_EQ(unended.sample(), "A " + cafe);
}

} // namespace
} // namespace corvane::vbide
