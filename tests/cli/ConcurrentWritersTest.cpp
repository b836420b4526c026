// Several programs writing one project's help data at the same time, as real processes: the
// editor (in a process of its own), `corvane import` and `corvane compile`, in every pair and
// many times. Each writer replaces only what it changed, so no text and no context number that
// any of them wrote is lost, whoever saves last.
#include "cli/CommandOutcome.h"
#include "helpdata/HelpDataFile.h"
#include "process/ProcessRunner.h"
#include "settings/ModMain.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <thread>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::shellQuoted;
using test::TempDir;
using test::ToolRun;
using test::writeFile;

// `text` as one argument of a command line (split by the Windows rules; it holds no '"').
std::string argument(const std::string& text) { return "\"" + text + "\""; }

// Runs a command line directly (no shell) and ends it after `limit`: its exit status (-1 when
// it was ended) and output.
ToolRun runWithin(std::chrono::seconds limit, const std::string& commandLine) {
    ProcessRunner runner;
    runner.setTimeLimit(limit);
    runner.Run(commandLine);
    return {runner.ended() == RunEnd::Exited ? runner.ExitCode() : -1, runner.Output()};
}

// What a data file holds: "module/control/language" -> text, "module/control" -> number.
struct Stored {
    std::map<std::string, std::string> texts;
    std::map<std::string, int32_t> numbers;
};

Stored storedIn(const fs::path& dataFile) {
    ModMain settings;
    settings.newSelectedLanguages();
    HelpDataFile file(settings);
    ModuleRecords forms;
    NameList names;
    file.load(dataFile, forms, names);
    EXPECT_TRUE(file.complete()) << file.problemReport();
    Stored stored;
    for (int32_t m = 1; m <= forms.Count(); ++m)
        for (const auto& record : *forms.Item(m)) {
            const std::string key = names.Item(m) + "/" + record->ControlName.str();
            stored.numbers[key] = record->ContextHelpID;
            for (int32_t t = 1; t <= record->HelpTexts.Count(); ++t)
                stored.texts[key + "/" + record->HelpTexts.KeyAt(t)] = record->HelpTexts.Item(t);
        }
    return stored;
}

// One writer of a run: the command that starts it and the texts it must leave in the file.
struct Writer {
    std::string command;
    std::map<std::string, std::string> texts; // "module/control/language" -> text
    bool numbers = false;                     // it hands out context numbers (a compile)
    std::string ready;                        // a file it writes once it has read the data
};

class ConcurrentWritersTest : public ::testing::Test {
protected:
    ConcurrentWritersTest() {
        test::copyExample(dir_ / "seed");
        // The German PO of the example, as a translator gets it.
        Outcome exported = runCommandLine({"export", (dir_ / "seed" / "OrderEntry.vbp").string(), "--language",
                                           "German", "--format", "po", "-o", (dir_ / "German.po").string()});
        EXPECT_EQ(exported.status, 0) << exported.err;
        po_ = readFile(dir_ / "German.po");
        seed_ = storedIn(dir_ / "seed" / "ContextHelp.txt");
    }

    // A fresh copy of the example for one run.
    fs::path project(int run) {
        fs::path folder = dir_ / ("run" + std::to_string(run));
        fs::copy(dir_ / "seed", folder, fs::copy_options::recursive);
        return folder / "OrderEntry.vbp";
    }

    // The editor, setting `texts` and saving once told to go.
    Writer editor(const fs::path& vbp, const std::map<std::string, std::string>& texts, const std::string& name) {
        Writer writer{argument(CORVANE_EDIT_DRIVER) + " " + argument(vbp.string()), texts, false,
                      (vbp.parent_path() / (name + ".ready")).string()};
        for (const auto& [key, text] : texts)
            writer.command += " --set " + argument(key + "=" + text);
        writer.command += " --ready " + argument(writer.ready) + " --go " +
                          argument((vbp.parent_path() / "go").string());
        return writer;
    }

    // `corvane import` of a German PO file with the given units only, each translated anew (a
    // translator's file holding other units would set them back to its own texts).
    Writer import(const fs::path& vbp, const std::vector<std::string>& units, const std::string& tag) {
        const std::string header = po_.substr(0, po_.find("\n\n") + 2);
        std::string po = header;
        Writer writer;
        for (const std::string& unit : units) {
            // The unit's entry: its msgctxt names it, its msgstr ends it.
            size_t at = po_.find("msgctxt \"" + unit + "\"");
            EXPECT_NE(at, std::string::npos) << unit;
            size_t msgstr = po_.find("\nmsgstr ", at);
            const std::string text = tag + " " + unit;
            po += po_.substr(at, msgstr - at) + "\nmsgstr \"" + text + "\"\n\n";
            writer.texts[unit + "/German"] = text;
        }
        const fs::path file = vbp.parent_path() / (tag + ".po");
        writeFile(file, po);
        writer.command = argument(test::corvaneProgram().string()) + " import " + argument(vbp.string()) + " " +
                         argument(file.string());
        return writer;
    }

    Writer compile(const fs::path& vbp) {
        return {argument(test::corvaneProgram().string()) + " compile --yes " + argument(vbp.string()), {}, true, {}};
    }

    // Runs the writers at once. The editors read the data first and save a moment after the
    // others start, or (`editorsLast`) once the others have ended. Returns the texts and numbers
    // lost; each writer must have succeeded.
    int race(const fs::path& vbp, std::vector<Writer> writers, bool editorsLast = false) {
        std::vector<ToolRun> runs(writers.size());
        std::vector<std::atomic<bool>> ended(writers.size());
        std::vector<std::thread> editors, others;
        auto start = [&](std::vector<std::thread>& threads, size_t i) {
            threads.emplace_back([&runs, &writers, &ended, i] {
                runs[i] = runWithin(std::chrono::seconds(120), writers[i].command);
                ended[i] = true;
            });
        };
        for (size_t i = 0; i < writers.size(); ++i)
            if (!writers[i].ready.empty())
                start(editors, i);
        for (size_t i = 0; i < writers.size(); ++i) // every editor has read the data and made its edits
            while (!writers[i].ready.empty() && !fs::exists(writers[i].ready) && !ended[i])
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        for (size_t i = 0; i < writers.size(); ++i)
            if (writers[i].ready.empty())
                start(others, i);
        if (editorsLast)
            for (std::thread& thread : others)
                thread.join();
        std::this_thread::sleep_for(std::chrono::milliseconds(random_() % 40));
        writeFile(vbp.parent_path() / "go", "go");
        for (auto* threads : {&editors, &others})
            for (std::thread& thread : *threads)
                if (thread.joinable())
                    thread.join();
        for (size_t i = 0; i < writers.size(); ++i)
            EXPECT_EQ(runs[i].status, 0) << writers[i].command << "\n" << runs[i].output;
        return lost(vbp, writers);
    }

    // The texts and numbers a writer wrote that the data file no longer holds.
    int lost(const fs::path& vbp, const std::vector<Writer>& writers) {
        const Stored stored = storedIn(vbp.parent_path() / "ContextHelp.txt");
        int missing = 0;
        for (const Writer& writer : writers) {
            written_ += static_cast<int>(writer.texts.size());
            for (const auto& [key, text] : writer.texts) {
                auto found = stored.texts.find(key);
                if (found == stored.texts.end() || found->second != text) {
                    ADD_FAILURE() << key << " lost: " << (found == stored.texts.end() ? "(none)" : found->second);
                    ++missing;
                }
            }
            if (!writer.numbers)
                continue;
            // A compile numbers every control that had help text; no save may set one back to 0.
            for (const auto& [key, text] : seed_.texts) {
                const std::string control = key.substr(0, key.rfind('/'));
                auto number = stored.numbers.find(control); // a control the project lacks has no record
                written_ += !text.empty() && number != stored.numbers.end() ? 1 : 0;
                if (!text.empty() && number != stored.numbers.end() && number->second == 0) {
                    ADD_FAILURE() << control << " lost its context number";
                    ++missing;
                }
            }
        }
        return missing;
    }

    TempDir dir_;
    test::ProgramFiles files_{dir_.path()};
    std::string po_;
    Stored seed_;
    int written_ = 0; // texts and context numbers the writers of a run left, counted when checked
    std::mt19937 random_{20261207};
};

TEST_F(ConcurrentWritersTest, NoPairOfWritersEverLosesWhatTheOtherWrote) {
    constexpr int Runs = 15;
    struct Pair {
        const char* name;
        int lost = 0;
        int written = 0;
    };
    std::vector<Pair> pairs{{"editor+import"}, {"editor+compile"}, {"compile+import"}, {"import+import"},
                            {"editor+editor"}};
    int run = 0;
    // One run of a pair on a fresh copy of the project; the writers come from `make`.
    auto race = [&](Pair& pair, auto make, bool editorsLast = false) {
        const fs::path vbp = project(++run);
        written_ = 0;
        pair.lost += this->race(vbp, make(vbp), editorsLast);
        pair.written += written_;
    };
    for (int round = 0; round < Runs; ++round) {
        const std::string n = std::to_string(round);
        const bool editorsLast = round % 2 == 1;
        race(
            pairs[0],
            [&](const fs::path& vbp) {
                return std::vector<Writer>{
                    editor(vbp, {{"frmOrder/txtNotes/English", "Editor " + n}}, "editor"),
                    import(vbp, {"frmCustomer/txtName", "frmCustomer/txtPhone"}, "import" + n)};
            },
            editorsLast);
        race(
            pairs[1],
            [&](const fs::path& vbp) {
                return std::vector<Writer>{editor(vbp, {{"frmMain/lblFilter/English", "A filter " + n}}, "editor"),
                                           compile(vbp)};
            },
            editorsLast);
        race(pairs[2], [&](const fs::path& vbp) {
            return std::vector<Writer>{compile(vbp),
                                       import(vbp, {"frmOrder/txtNotes", "mdiMain/cmdNewOrder"}, "import" + n)};
        });
        race(pairs[3], [&](const fs::path& vbp) {
            return std::vector<Writer>{import(vbp, {"frmOrder/txtNotes"}, "first" + n),
                                       import(vbp, {"frmCustomer/txtName"}, "second" + n)};
        });
        race(pairs[4], [&](const fs::path& vbp) {
            return std::vector<Writer>{
                editor(vbp, {{"frmOrder/txtNotes/English", "One " + n}}, "one"),
                editor(vbp, {{"frmOrder/txtNotes/German", "Zwei " + n}, {"frmCustomer/txtName/English", "Two " + n}},
                       "two")};
        });
    }
    for (const Pair& pair : pairs) {
        EXPECT_EQ(pair.lost, 0) << pair.name << ": texts lost in " << Runs << " runs";
        std::cout << pair.name << ": " << Runs << " runs, " << pair.written << " texts and numbers written, "
                  << pair.lost << " lost\n";
    }
}

} // namespace
} // namespace corvane::cli
