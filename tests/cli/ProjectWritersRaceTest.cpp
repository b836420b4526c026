// Corvane beside the VB6 IDE, as real processes: while `corvane compile` or `corvane scan --save`
// runs, a stand-in for the IDE saves the project file (a form added) and a form (its caption
// changed, a control added) at random moments. No change of the IDE is lost, every context number
// a compile hands out stays the control's, and after the next compile the forms and the data file
// agree. A compile killed while it writes the forms leaves no temporary file past the next run,
// and the numbers it handed out are the ones the next run writes.
#include "cli/CommandOutcome.h"
#include "files/FileFailures.h"
#include "helpdata/HelpDataFile.h"
#include "settings/ModMain.h"
#include "testsupport/ProgramFiles.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/TextTools.h"
#include "testsupport/TreeFiles.h"
#include "vbide/VBComponent.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runShell;
using test::shellQuoted;
using test::TempDir;
using test::ToolRun;
using test::writeFile;
using Numbers = std::map<std::string, int32_t>; // "module/control" -> context number

const std::string IdeForm = "VERSION 5.00\r\nBegin VB.Form frmIde \r\n   Caption         =   \"Added in the IDE\"\r\n"
                            "   Begin VB.CommandButton cmdIde \r\n      Caption         =   \"Go\"\r\n   End\r\n"
                            "End\r\nAttribute VB_Name = \"frmIde\"\r\n";
const std::string IdeLabel = "   Begin VB.Label lblIde \r\n      Caption         =   \"From the IDE\"\r\n   End\r\n";

// Replaces the file whole, as a program that writes a new file and renames it over the old one.
void replaceWhole(const fs::path& file, const std::string& bytes) {
    const fs::path next = fs::path(file) += ".ide";
    writeFile(next, bytes);
    fs::rename(next, file);
}

// The IDE saves: a new form, the project file naming it, and frmOrder with another caption and
// one more control, each read as it is on disk and written back with the IDE's change.
void ideSaves(const fs::path& folder) {
    writeFile(folder / "frmIde.frm", IdeForm);
    std::string project = readFile(folder / "OrderEntry.vbp");
    project.insert(project.find("Form=frmAbout.frm\r\n"), "Form=frmIde.frm\r\n");
    replaceWhole(folder / "OrderEntry.vbp", project);
    std::string form = readFile(folder / "frmOrder.frm");
    const size_t caption = form.find("Caption", form.find("Begin VB.Form"));
    form.insert(form.find('"', caption) + 1, "IDE ");
    form.insert(form.rfind("End\r\nAttribute VB_Name"), IdeLabel);
    replaceWhole(folder / "frmOrder.frm", form);
}

// What of the IDE's save is missing from the project's files ("" when nothing).
std::string ideChangesLost(const fs::path& folder) {
    std::string lost;
    if (readFile(folder / "OrderEntry.vbp").find("Form=frmIde.frm\r\n") == std::string::npos)
        lost += "the project file lost its new form; ";
    const std::string form = readFile(folder / "frmOrder.frm");
    if (form.find(IdeLabel) == std::string::npos)
        lost += "frmOrder lost its new control; ";
    if (form.find("Caption         =   \"IDE ") == std::string::npos)
        lost += "frmOrder lost its caption; ";
    return lost;
}

// The context numbers the forms show, for every control that has the property.
Numbers formNumbers(const fs::path& vbp) {
    Numbers numbers;
    auto project = vbide::VBProject::open(vbp);
    for (const auto& component : project->VBComponents()) {
        if (component->Type() < 5 || component->Type() > 9)
            continue;
        auto& controls = component->Designer()->VBControls();
        for (int i = 1; i <= controls.Count(); ++i) {
            auto control = controls.Item(i);
            if (auto id = control->whatsThisHelpID()) {
                int32_t index = -1;
                try {
                    index = control->index();
                } catch (const VbError&) {
                    // a type without an index is never in a control array
                }
                numbers[component->Name() + "/" + control->name() + (index >= 0 ? "(" + std::to_string(index) + ")" : "")] = *id;
            }
        }
    }
    return numbers;
}

// The context numbers the data file holds for records with text.
Numbers dataNumbers(const fs::path& folder) {
    ModMain settings;
    settings.newSelectedLanguages();
    HelpDataFile file(settings);
    ModuleRecords forms;
    NameList names;
    file.load(folder / "ContextHelp.txt", forms, names);
    EXPECT_TRUE(file.complete()) << file.problemReport();
    Numbers numbers;
    for (int32_t m = 1; m <= forms.Count(); ++m)
        for (const auto& record : *forms.Item(m))
            if (record->hasText())
                numbers[names.Item(m) + "/" + record->ControlName.str()] = record->ContextHelpID;
    return numbers;
}

// What disagrees between the forms and the data file, or changed since `given` ("" when nothing):
// every control with text has its number in both, numbers are not shared, and a number once
// given is still the control's.
std::string numbersWrong(const fs::path& vbp, const Numbers& given) {
    const Numbers shown = formNumbers(vbp);
    const Numbers stored = dataNumbers(vbp.parent_path());
    std::string wrong;
    std::set<int32_t> used;
    for (const auto& [key, number] : stored) {
        auto form = shown.find(key);
        if (form == shown.end())
            continue; // a record kept for a control that is gone
        if (number == 0 || form->second != number)
            wrong += key + ": data file " + std::to_string(number) + ", form " + std::to_string(form->second) + "; ";
        if (!used.insert(number).second)
            wrong += key + ": number " + std::to_string(number) + " given twice; ";
        auto earlier = given.find(key);
        if (earlier != given.end() && earlier->second != 0 && earlier->second != number)
            wrong += key + ": was " + std::to_string(earlier->second) + ", now " + std::to_string(number) + "; ";
    }
    return wrong;
}

// Temporary files anywhere in the project's folder.
std::vector<std::string> litter(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".tmp" || entry.path().extension() == ".ide")
            found.push_back(entry.path().string());
    return found;
}

class ProjectWritersRace : public ::testing::Test {
protected:
    ProjectWritersRace() { test::copyExample(dir_ / "seed"); }

    fs::path project(const std::string& name) {
        const fs::path folder = dir_ / name;
        fs::copy(dir_ / "seed", folder, fs::copy_options::recursive);
        return folder / "OrderEntry.vbp";
    }

    static std::string command(const std::string& what, const fs::path& vbp) {
        return "timeout 120 " + shellQuoted(test::corvaneProgram().string()) + " " + what + " " +
               shellQuoted(vbp.string()) + " 2>&1";
    }

    // Runs `what` on a fresh copy while the IDE saves after a random wait up to `longest`; the
    // runs' outcome and whether the IDE's changes survived are checked, then a compile, after
    // which the forms and the data file agree and no number given before changed.
    void race(const std::string& what, int runs, const std::function<void(const fs::path&)>& prepare = {}) {
        std::mt19937 random(20261209);
        const fs::path timing = project("timing");
        const auto start = std::chrono::steady_clock::now();
        ToolRun alone = runShell(command(what, timing));
        const auto longest = std::chrono::steady_clock::now() - start;
        ASSERT_EQ(alone.status, 0) << alone.output;
        for (int run = 0; run < runs; ++run) {
            const fs::path vbp = project(what.substr(0, 4) + std::to_string(run));
            if (prepare)
                prepare(vbp);
            const auto wait = std::uniform_int_distribution<long long>(
                0, std::chrono::duration_cast<std::chrono::microseconds>(longest).count())(random);
            ToolRun result;
            std::thread corvane([&] { result = runShell(command(what, vbp)); });
            std::this_thread::sleep_for(std::chrono::microseconds(wait));
            ideSaves(vbp.parent_path());
            corvane.join();
            EXPECT_EQ(result.status, 0) << "run " << run << "\n" << result.output;
            EXPECT_EQ(ideChangesLost(vbp.parent_path()), "") << "run " << run;
            const Numbers given = dataNumbers(vbp.parent_path());
            Outcome next = runCommandLine({"compile", "--yes", vbp.string()});
            EXPECT_EQ(next.status, 0) << "run " << run << "\n" << next.err;
            EXPECT_EQ(ideChangesLost(vbp.parent_path()), "") << "run " << run;
            EXPECT_EQ(numbersWrong(vbp, given), "") << "run " << run;
            EXPECT_EQ(litter(vbp.parent_path()), std::vector<std::string>()) << "run " << run;
        }
        std::cout << what << " beside the IDE: " << runs << " runs, saves at random moments up to "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count() << " ms\n";
    }

    TempDir dir_;
    test::ProgramFiles files_{dir_.path()};
    test::ScopedEnvironment compilers_{"CORVANE_HELP_COMPILERS",
                                       (fs::path(CORVANE_BINARY_DIR) / "bin" / "helpcompilers").string()};
};

TEST_F(ProjectWritersRace, ACompileKeepsTheIdesSavesAndItsNumbers) {
    race("compile --yes", 8);
}

TEST_F(ProjectWritersRace, AScanThatSavesKeepsTheIdesSaves) {
    // The project does not name its data file yet: the scan adds it to the project file.
    race("scan --save", 8, [](const fs::path& vbp) {
        replaceWhole(vbp, test::replaceEvery(readFile(vbp), "RelatedDoc=ContextHelp.txt\r\n", ""));
    });
}

TEST_F(ProjectWritersRace, ACompileKilledWhileWritingTheFormsLeavesNothingTheNextRunDoesNotMend) {
    // The compile dies as kill -9 would when it is about to put its k-th designer in place: k = 0
    // is after every new file was made beside its form, before the first rename. The children
    // are forked before this process runs anything on threads of its own.
    constexpr int Kills = 4;
    std::vector<fs::path> projects;
    for (int k = 0; k < Kills; ++k) {
        projects.push_back(project("kill" + std::to_string(k)));
        const pid_t child = ::fork();
        if (child == 0) {
            int renames = 0;
            setAtomicFaultInjector([&renames, k](AtomicStep step, const fs::path& file) {
                static const std::set<fs::path> designers = {".frm", ".ctl", ".pag", ".dob"};
                if (step == AtomicStep::Rename && designers.contains(file.extension()) && renames++ == k)
                    ::kill(::getpid(), SIGKILL);
                return 0;
            });
            runCommandLine({"compile", "--yes", projects.back().string()});
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the compile was not stopped in its form writes, k = " << k;
        EXPECT_FALSE(litter(projects.back().parent_path()).empty()) << "k = " << k; // the killed save's files
    }
    for (int k = 0; k < Kills; ++k) {
        const fs::path& vbp = projects[static_cast<size_t>(k)];
        const Numbers given = dataNumbers(vbp.parent_path());
        Outcome next = runCommandLine({"compile", "--yes", vbp.string()});
        EXPECT_EQ(next.status, 0) << next.err;
        EXPECT_NE(next.err.find("a temporary file that an interrupted save of the project left"), std::string::npos)
            << next.err;
        EXPECT_EQ(litter(vbp.parent_path()), std::vector<std::string>()) << "k = " << k;
        EXPECT_EQ(numbersWrong(vbp, given), "") << "k = " << k;
    }
}

} // namespace
} // namespace corvane::cli
