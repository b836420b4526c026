// What commands write: `export -o` never replaces a file of the project (found by identity,
// not by spelling), names a missing folder rather than its temporary file and leaves none
// behind, and writes nothing when there is nothing to export; the commands that change nothing
// write nothing anywhere, not even the error log, and what they would log reaches the terminal.
#include "cli/CommandOutcome.h"
#include "cli/ProjectCopy.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace corvane::cli {
namespace {

namespace fs = std::filesystem;

using OutputFiles = ProjectCopy;

// Every temporary file below `root`.
std::vector<std::string> temporaryFiles(const fs::path& root) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.path().string().find(".tmp") != std::string::npos)
            found.push_back(entry.path().string());
    return found;
}

TEST_F(OutputFiles, ExportNeverReplacesAFileOfTheProjectHoweverItIsNamed) {
    const auto before = snapshot(folder());
    std::vector<std::pair<std::string, std::string>> targets{
        {dataFile().string(), "the help data file '" + dataFile().string() + "'"},
        {(folder() / "." / "CONTEXTHELP.TXT").string(), "the help data file '" + dataFile().string() + "'"},
        {(folder() / ".." / "OrderEntry" / "OrderEntry.vbp").string(), "the project file '" + project() + "'"},
        {(folder() / "frmOrder.frx").string(),
         "the file '" + (folder() / "frmOrder.frx").string() + "' of the project"},
        {(folder() / "modMain.bas").string(),
         "the file '" + (folder() / "modMain.bas").string() + "' of the project"},
    };
    // A symbolic link to the data file, where the system makes one (Wine makes none).
    std::error_code noLinks;
    fs::create_symlink(dataFile(), dir_ / "link-to-data.xlf", noLinks);
    if (fs::path::preferred_separator == '/') {
        EXPECT_FALSE(noLinks) << noLinks.message();
    }
    if (!noLinks)
        targets.emplace_back((dir_ / "link-to-data.xlf").string(), "the help data file '" + dataFile().string() + "'");
    for (const auto& [target, what] : targets) {
        SCOPED_TRACE(target);
        Outcome result = runCommandLine({"export", project(), "--language", "German", "-o", target});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "corvane export: -o " + target + " is " + what +
                                  "; an export never replaces a file of the project; nothing was written\n");
    }
    EXPECT_EQ(changedEntries(before, snapshot(folder())), std::vector<std::string>{});
    // Beside the project, under a name of its own, it writes.
    Outcome beside =
        runCommandLine({"export", project(), "--language", "German", "-o", (folder() / "German.xlf").string()});
    EXPECT_EQ(beside.status, 0) << beside.err;
}

TEST_F(OutputFiles, AnOutputIsNeverADeviceAFifoOrOneOfCorvanesOwnFiles) {
    auto refused = [&](const fs::path& target, const std::string& what) {
        SCOPED_TRACE(target.string());
        Outcome result = runCommandLine({"export", project(), "--language", "German", "-o", target.string()});
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "corvane export: -o " + target.string() + " is " + what + "; nothing was written\n");
    };
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0644), 0);
    refused(dir_ / "pipe", "a FIFO (named pipe), not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir_ / "pipe"));
    refused("/dev/null", "a character device, not a regular file");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
#endif
    const std::string data = dataFile().string();
    const std::vector<std::pair<fs::path, std::string>> own{
        {data + ".lock", "the lock that a save of the help data holds"},
        {data + ".inuse", "the marker of an editor of the help data"},
        {data + ".recovery", "the recovery file of the help data"},
        {project() + ".lock", "the lock that a save of the project holds"},
        {folder() / "Corvane.lock", "the lock that a compile holds"},
    };
    for (const auto& [file, what] : own)
        refused(file, what + " ('" + file.string() + "'), which only Corvane writes");
    refused(data + ".damaged.2", "a copy that Corvane kept of a damaged help data file, which only Corvane writes");
    for (const auto& [file, what] : own)
        EXPECT_FALSE(fs::exists(file)) << file;
}

TEST_F(OutputFiles, AnExportThatCannotBeWrittenNamesWhyAndLeavesNoTemporaryFile) {
    const fs::path missing = dir_ / "missing" / "German.po";
    Outcome intoMissing = runCommandLine({"export", project(), "--language", "German", "-o", missing.string()});
    EXPECT_EQ(intoMissing.status, 2);
    EXPECT_EQ(intoMissing.err, "corvane export: Cannot write '" + missing.string() + "': the folder '" +
                                   (dir_ / "missing").string() + "' does not exist\n");

    fs::create_directories(dir_ / "out");
    Outcome ontoFolder = runCommandLine({"export", project(), "--language", "German", "-o", (dir_ / "out").string()});
    EXPECT_EQ(ontoFolder.status, 2);
    EXPECT_EQ(ontoFolder.err, "corvane export: Cannot write '" + (dir_ / "out").string() + "': it is a folder\n");
    EXPECT_EQ(temporaryFiles(dir_.path()), std::vector<std::string>{});
}

TEST_F(OutputFiles, NothingToExportExitsTwoAndWritesNoFile) {
    fs::remove(dataFile()); // a project without help text: its only language is Neutral
    const fs::path file = dir_ / "Neutral.po";
    Outcome result =
        runCommandLine({"export", project(), "--language", "Neutral", "--format", "po", "-o", file.string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "corvane export: no control of OrderEntry.vbp has Neutral help text, so there is nothing "
                          "to translate; nothing was written\n");
    EXPECT_FALSE(fs::exists(file));
    Outcome toTerminal = runCommandLine({"export", project(), "--language", "Neutral"});
    EXPECT_EQ(toTerminal.status, 2);
    EXPECT_EQ(toTerminal.out, "");
}

TEST_F(OutputFiles, CommandsThatChangeNothingWriteNoLogAndSayWhatTheyWouldLog) {
    // A caption without its closing quote: the scan notes it and goes on.
    edit("frmAbout.frm", "Caption         =   \"About Order Entry\"", "Caption         =   \"About Order Entry");
    const auto before = snapshot(dir_.path());
    const fs::path exported = dir_ / "German.xlf";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"scan", project()}, {"scan", project(), "--json"}, {"coverage", project()},
          {"spell", project()}, {"export", project(), "--language", "German", "-o", exported.string()}}) {
        SCOPED_TRACE(command.front());
        Outcome result = runCommandLine(command);
        EXPECT_LT(result.status, 2) << result.err;
        EXPECT_NE(result.err.find("corvane: note: " + (folder() / "frmAbout.frm").string() +
                                  ", line 4: property Caption of frmAbout: a quoted value has no closing quote\n"),
                  std::string::npos)
            << result.err;
        auto after = snapshot(dir_.path());
        after.erase(exported.string()); // the one file export was asked to write
        EXPECT_EQ(changedEntries(before, after), std::vector<std::string>{});
    }
    EXPECT_FALSE(fs::exists(dir_ / "errors.log"));
    // A command that writes keeps its log as before.
    runCommandLine({"scan", project(), "--save"});
    EXPECT_TRUE(fs::exists(dir_ / "errors.log"));
}

} // namespace
} // namespace corvane::cli
