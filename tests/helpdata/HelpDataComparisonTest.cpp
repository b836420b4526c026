// A file is found to hold the save of the records, on several threads, exactly when rendering
// the records gives the file's bytes; and a save of a large file that already holds them keeps
// the file and its time, while one that does not writes it whole. Found ahead, on a thread of
// its own, the answer holds only for the version of the file that was compared.
#include "helpdata/DataFileCheckAhead.h"
#include "helpdata/HelpDataComparison.h"
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataWriter.h"
#include "settings/ModMain.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/AddinTestFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

class HelpDataComparisonTest : public AddinTest {
protected:
    HelpDataComparisonTest() {
        settings_.newSelectedLanguages();
        for (const char* language : {"English", "German", "Français"})
            settings_.SelectedLanguages->Add(language, language);
    }

    // Adds `modules` modules of `records` records, their texts holding what escaping changes.
    void addModules(int modules, int records, const std::string& namePrefix = "frmForm", size_t textLength = 40) {
        for (int m = 0; m < modules; ++m) {
            const std::string module = namePrefix + std::to_string(forms_.Count() + 1);
            auto items = std::make_shared<HelpItems>();
            for (int r = 1; r <= records; ++r) {
                auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
                record->ComponentName = module;
                record->ControlName = "txt" + std::to_string(r);
                record->ControlType = "TextBox";
                record->Caption = "Caption & \"" + std::to_string(r) + "\"";
                record->ContextHelpID = m * 1000 + r;
                std::string text = "Größe <" + std::to_string(r) + "> & \tmore\r\n";
                while (text.size() < textLength)
                    text += "plain words ";
                record->SetHelpText("English", text);
                if (r % 3 != 0)
                    record->SetHelpText("German", text + "!");
                items->Add(record, record->ControlName);
            }
            forms_.Add(items, module);
            names_.Add(module, module);
        }
    }
    std::string rendered() {
        std::string text;
        OutputBuffer out([&](std::string_view chunk) { text += chunk; });
        HelpDataWriter(settings_, out).write(forms_, names_);
        out.flush();
        return text;
    }
    bool holds(const fs::path& file, size_t pieces) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        EXPECT_GE(fd, 0);
        const size_t size = fs::file_size(file);
        bool same = HelpDataComparison(settings_, forms_, names_).holdsRecords(fd, size, pieces);
        ::close(fd);
        return same;
    }
    HelpItem& record(int module, int index) { return *forms_.Item(module)->Item(index); }
    std::optional<FileStamp> holdsAhead(const fs::path& file) {
        return DataFileCheckAhead(settings_, forms_, names_, file).finish();
    }
    static std::optional<FileStamp> stampOf(const fs::path& file) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        std::optional<FileStamp> stamp = FileStamp::of(fd);
        ::close(fd);
        return stamp;
    }

    TempDir dir_;
    ModMain settings_;
    ModuleRecords forms_;
    NameList names_;
};

TEST_F(HelpDataComparisonTest, TheSaveIsFoundInAnyNumberOfPiecesAndEveryDifferenceWhereverItIs) {
    addModules(12, 15);
    const fs::path file = dir_ / "ContextHelp.txt";
    writeFile(file, rendered());
    for (size_t pieces = 1; pieces <= 6; ++pieces)
        EXPECT_TRUE(holds(file, pieces)) << pieces;

    // Each change, made and taken back: the pieces see it exactly when the whole rendering does.
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"a text in the first module", [&] { record(1, 1).SetHelpText("English", "changed"); }},
        {"a text in a middle module", [&] { record(6, 8).SetHelpText("German", "changed"); }},
        {"the last text", [&] { record(12, 15).SetHelpText("English", "changed"); }},
        {"a context number", [&] { record(7, 1).ContextHelpID += 1; }},
        {"a caption", [&] { record(9, 3).Caption = record(9, 3).Caption.str() + "x"; }},
        {"a setting", [&] { settings_.mGenerateHTML = !settings_.mGenerateHTML; }},
        {"a module emptied", [&] { forms_.Item(5)->Clear(); }},
    };
    for (const auto& [what, change] : changes) {
        const std::string before = rendered();
        change();
        const bool renderedTheSame = rendered() == before;
        for (size_t pieces : {1, 2, 3, 5})
            EXPECT_EQ(holds(file, pieces), renderedTheSame) << what << ", " << pieces << " pieces";
        EXPECT_FALSE(renderedTheSame) << what;
        forms_.Clear();
        names_.Clear();
        settings_.mGenerateHTML = false;
        addModules(12, 15); // the records as the file holds them again
        ASSERT_TRUE(holds(file, 3));
    }
}

TEST_F(HelpDataComparisonTest, AFileLongerShorterOrChangedOnDiskIsNotTheSave) {
    addModules(8, 10);
    const fs::path file = dir_ / "ContextHelp.txt";
    const std::string bytes = rendered();
    writeFile(file, bytes + "\n");
    EXPECT_FALSE(holds(file, 3));
    writeFile(file, bytes.substr(0, bytes.size() - 1));
    EXPECT_FALSE(holds(file, 3));
    std::string flipped = bytes;
    flipped[bytes.size() / 2] ^= 1;
    writeFile(file, flipped);
    EXPECT_FALSE(holds(file, 3));
    writeFile(file, "");
    EXPECT_FALSE(holds(file, 3));
    writeFile(file, bytes);
    EXPECT_TRUE(holds(file, 3));

    // A last module holding most of the file: the pieces end where no module starts any more.
    addModules(1, 2, "frmLast", 20000);
    const std::string longer = rendered();
    writeFile(file, longer);
    for (size_t pieces : {2, 4, 6})
        EXPECT_TRUE(holds(file, pieces)) << pieces;
    std::string flipped2 = longer;
    flipped2[longer.size() - 100] ^= 1;
    writeFile(file, flipped2);
    EXPECT_FALSE(holds(file, 4));
}

TEST_F(HelpDataComparisonTest, WhatCannotBeSplitOrWouldChangeTheSettingsIsLeftToTheWholeComparison) {
    addModules(6, 10, "frm&Form"); // every module name is written with a reference
    const fs::path file = dir_ / "ContextHelp.txt";
    writeFile(file, rendered());
    EXPECT_FALSE(holds(file, 3)); // cannot tell
    EXPECT_TRUE(holds(file, 1));  // one piece needs no split

    forms_.Clear();
    names_.Clear();
    addModules(6, 10);
    settings_.SelectedLanguages->Clear(); // a save would select "Neutral" first
    writeFile(file, rendered());
    EXPECT_EQ(settings_.SelectedLanguages->Count(), 1);
    settings_.SelectedLanguages->Clear();
    EXPECT_FALSE(holds(file, 2));
    EXPECT_EQ(settings_.SelectedLanguages->Count(), 0); // and the comparison changed nothing
}

TEST_F(HelpDataComparisonTest, ALargeFileHoldingTheSaveKeepsItsTimeAndAChangedOneIsWrittenWhole) {
    addModules(40, 30, "frmForm", 400); // well over a megabyte
    const fs::path file = dir_ / "ContextHelp.txt";
    HelpDataFile data(settings_);
    data.save(forms_, names_, file);
    ASSERT_GT(fs::file_size(file), size_t{1} << 20);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(file, old);

    data.save(forms_, names_, file);
    EXPECT_EQ(fs::last_write_time(file), old);

    record(40, 30).SetHelpText("English", "the very last text changed");
    data.save(forms_, names_, file);
    EXPECT_NE(fs::last_write_time(file), old);
    EXPECT_EQ(readFile(file), rendered());
}

TEST_F(HelpDataComparisonTest, AnAnswerFoundAheadNamesTheVersionComparedAndOnlyThatVersionIsKept) {
    addModules(40, 30, "frmForm", 400);
    const fs::path file = dir_ / "ContextHelp.txt";
    HelpDataFile data(settings_);
    data.save(forms_, names_, file);
    const std::string bytes = readFile(file);
    ASSERT_GT(bytes.size(), size_t{1} << 20);

    const std::optional<FileStamp> holding = holdsAhead(file);
    ASSERT_TRUE(holding);
    EXPECT_EQ(holding, stampOf(file));
    // A difference in the first, a middle or the last part, the thread and the caller sharing them.
    for (size_t at : {size_t{200}, bytes.size() / 2, bytes.size() - 30}) {
        std::string changed = bytes;
        changed[at] ^= 1;
        writeFile(file, changed);
        EXPECT_FALSE(holdsAhead(file)) << at;
    }
    // Small or missing files are left to the save.
    writeFile(dir_ / "small.txt", "<Root />");
    EXPECT_FALSE(holdsAhead(dir_ / "small.txt"));
    EXPECT_FALSE(holdsAhead(dir_ / "missing.txt"));

    // Replaced since the answer by a file of its size and time: written again.
    writeFile(file, bytes);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(file, old);
    const std::optional<FileStamp> answer = holdsAhead(file);
    ASSERT_TRUE(answer);
    std::string changed = bytes;
    changed[bytes.size() / 3] ^= 1;
    writeFile(dir_ / "other.txt", changed);
    fs::last_write_time(dir_ / "other.txt", old);
    fs::rename(dir_ / "other.txt", file);
    data.save(forms_, names_, file, answer);
    EXPECT_EQ(readFile(file), bytes);
    // The version that was compared, still in place, is kept with its time.
    fs::last_write_time(file, old);
    data.save(forms_, names_, file, holdsAhead(file));
    EXPECT_EQ(fs::last_write_time(file), old);
    EXPECT_EQ(readFile(file), bytes);

    // A last module holding most of the file: the parts end where no module starts any more.
    addModules(1, 2, "frmLast", 1 << 20);
    data.save(forms_, names_, file);
    EXPECT_EQ(holdsAhead(file), stampOf(file));
    EXPECT_TRUE(holds(file, 4));
}

} // namespace
} // namespace corvane::test
