// Writing a project's files back while another program (the VB6 IDE) saves them too: each
// change is written onto the file as that program left it, found by control name and index,
// and only where the property still holds the value it had; a disagreement stops the whole save
// with nothing written, naming the file, the control and both values. The project file keeps
// the other program's lines around the help file setting. Temporary files a stopped save left
// are removed by the next save, each named.
#include "files/FileFailures.h"
#include "files/Notice.h"
#include "testsupport/TempDir.h"
#include "vbide/VBProject.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace corvane;
using namespace corvane::vbide;
using corvane::test::readFile;
using corvane::test::TempDir;
using corvane::test::writeFile;

namespace fs = std::filesystem;

namespace {

const std::string Code = "Private Sub cmdOK_Click()\r\nEnd Sub\r\n";

// A form with a button, two members of a text box array and the given extra designer lines.
std::string form(const std::string& top = "", const std::string& beforeOk = "") {
    return "VERSION 5.00\r\n"
           "Begin VB.Form frmSave \r\n"
           "   Caption         =   \"Save\"\r\n" +
           top +
           "   Begin VB.TextBox txtA \r\n"
           "      Index           =   0\r\n"
           "   End\r\n"
           "   Begin VB.TextBox txtA \r\n"
           "      Index           =   1\r\n"
           "      WhatsThisHelpID =   2\r\n"
           "   End\r\n" +
           beforeOk +
           "   Begin VB.CommandButton cmdOK \r\n"
           "      Caption         =   \"OK\"\r\n"
           "      WhatsThisHelpID =   5\r\n"
           "   End\r\n"
           "End\r\n"
           "Attribute VB_Name = \"frmSave\"\r\n" +
           Code;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

const std::string Label = "   Begin VB.Label lblIde \r\n      Caption         =   \"Added\"\r\n   End\r\n";
const std::string Project = "Type=Exe\r\nForm=save.frm\r\nStartup=\"frmSave\"\r\nName=\"Save\"\r\n";

struct Opened {
    TempDir temp;
    std::shared_ptr<VBProject> project;
    std::shared_ptr<VBControl> control(int position) {
        return project->VBComponents().Item("frmSave")->Designer()->VBControls().Item(position);
    }
};

std::unique_ptr<Opened> openProject(const std::string& formBytes = form(), const std::string& projectBytes = Project) {
    auto opened = std::make_unique<Opened>();
    writeFile(opened->temp / "save.frm", formBytes);
    writeFile(opened->temp / "Save.vbp", projectBytes);
    opened->project = VBProject::open(opened->temp / "Save.vbp");
    return opened;
}

// The save is refused naming the file and each of `words`; nothing on disk changes.
void expectRefused(Opened& opened, const std::vector<std::string>& words) {
    const std::string formBefore = readFile(opened.temp / "save.frm");
    const std::string projectBefore = readFile(opened.temp / "Save.vbp");
    try {
        opened.project->save();
        ADD_FAILURE() << "the save was not refused";
    } catch (const VbError& error) {
        for (const std::string& word : words)
            EXPECT_NE(error.description().find(word), std::string::npos) << error.description();
    }
    EXPECT_EQ(readFile(opened.temp / "save.frm"), formBefore);
    EXPECT_EQ(readFile(opened.temp / "Save.vbp"), projectBefore);
}

} // namespace

TEST(ProjectWriteBackTest, ChangesGoOntoTheFileAnotherProgramSavedByControlNameAndIndex) {
    // Through the property sets and through the summaries alone (a compile never builds the
    // sets): the other program added a control before the changed ones, and an attribute line.
    for (bool throughSets : {true, false}) {
        auto opened = openProject();
        if (throughSets) {
            opened->control(2)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{7}));
            opened->control(3)->Properties().Item("WhatsThisHelpID").SetValue(Variant(int32_t{8}));
        } else {
            opened->control(2)->setWhatsThisHelpID(7);
            opened->control(3)->setWhatsThisHelpID(8);
            opened->project->VBComponents().Item("frmSave")->setWhatsThisHelp(true);
        }
        const std::string theirs =
            replaced(form(Label), "Attribute VB_Name = \"frmSave\"\r\n",
                     "Attribute VB_Name = \"frmSave\"\r\nAttribute VB_Exposed = False\r\n") +
            "Private Sub Form_Load()\r\nEnd Sub\r\n";
        writeFile(opened->temp / "save.frm", theirs);
        EXPECT_EQ(opened->project->save(), 1);
        std::string expected = replaced(replaced(theirs, "=   2", "=   7"), "=   5", "=   8");
        if (!throughSets)
            expected = replaced(expected, "   Caption         =   \"Save\"\r\n",
                                "   Caption         =   \"Save\"\r\n   WhatsThisHelp   =   -1  'True\r\n");
        EXPECT_EQ(readFile(opened->temp / "save.frm"), expected) << "through the sets: " << throughSets;
        // The form on disk is no longer the one read: its property sets cannot be built from it,
        // and a later change is written onto the file as it is then, by name again.
        if (!throughSets) {
            try {
                opened->control(1)->Properties();
                ADD_FAILURE() << "property sets built from a form saved by another program";
            } catch (const VbError& error) {
                EXPECT_EQ(error.number(), vberr::FormControlsUnreadable);
            }
        }
        opened->control(3)->setWhatsThisHelpID(9);
        const std::string more = replaced(Label, "lblIde", "lblMore");
        const std::string later = replaced(expected, "   End\r\nEnd\r\n", "   End\r\n" + more + "End\r\n");
        writeFile(opened->temp / "save.frm", later);
        EXPECT_EQ(opened->project->save(), 1);
        EXPECT_EQ(readFile(opened->temp / "save.frm"), replaced(later, "=   8", "=   9"));
    }
}

TEST(ProjectWriteBackTest, AValueBothChangedOrABlockThatCannotBeReadStopsTheWholeSave) {
    // The other program gave cmdOK another number: nothing of the project is written, neither
    // the form nor the project file, and the message names both values.
    auto opened = openProject();
    opened->control(3)->setWhatsThisHelpID(8);
    opened->project->SetHelpFile("Save_Context.chm");
    writeFile(opened->temp / "save.frm", replaced(form(), "=   5", "=   6"));
    expectRefused(*opened, {"save.frm", "cmdOK.WhatsThisHelpID is 6 there (it was 5; Corvane sets 8)", "Nothing was written"});
    EXPECT_TRUE(opened->project->isDirty());
    // The same number given there too is no disagreement; a control removed there takes none.
    writeFile(opened->temp / "save.frm", replaced(form(), "=   5", "=   8"));
    EXPECT_EQ(opened->project->save(), 2);
    EXPECT_EQ(readFile(opened->temp / "save.frm"), replaced(form(), "=   5", "=   8"));

    auto gone = openProject();
    gone->control(3)->setWhatsThisHelpID(8);
    const std::string withoutOk = replaced(form(), "   Begin VB.CommandButton cmdOK \r\n      Caption         =   \"OK\"\r\n      WhatsThisHelpID =   5\r\n   End\r\n", "");
    writeFile(gone->temp / "save.frm", withoutOk);
    EXPECT_EQ(gone->project->save(), 1);
    EXPECT_EQ(readFile(gone->temp / "save.frm"), withoutOk);

    // A file cut short inside its block cannot take the changes.
    auto cut = openProject();
    cut->control(3)->setWhatsThisHelpID(8);
    writeFile(cut->temp / "save.frm", form().substr(0, 120));
    expectRefused(*cut, {"save.frm", "cannot be read now"});
}

TEST(ProjectWriteBackTest, TheProjectFileKeepsTheOtherProgramsLinesAroundTheHelpFileSetting) {
    auto opened = openProject();
    opened->project->SetHelpFile("Save_Context.chm::/Save_contexttopics.txt");
    opened->project->VBComponents().AddFile((opened->temp / "ContextHelp.txt").string(), true);
    // The IDE added a form and a reference meanwhile, and wrote its own line ends.
    const std::string theirs = "Type=Exe\r\nReference=*\\G{00020430}#2.0#0#stdole2.tlb#OLE Automation\r\n"
                               "Form=save.frm\r\nForm=frmIde.frm\r\nStartup=\"frmSave\"\r\nName=\"Save\"\r\n"
                               "[MS Transaction Server]\r\nAutoRefresh=1\r\n";
    writeFile(opened->temp / "Save.vbp", theirs);
    EXPECT_EQ(opened->project->save(), 1);
    EXPECT_EQ(readFile(opened->temp / "Save.vbp"),
              "Type=Exe\r\nReference=*\\G{00020430}#2.0#0#stdole2.tlb#OLE Automation\r\n"
              "Form=save.frm\r\nForm=frmIde.frm\r\nRelatedDoc=ContextHelp.txt\r\nStartup=\"frmSave\"\r\n"
              "HelpFile=\"Save_Context.chm::/Save_contexttopics.txt\"\r\nName=\"Save\"\r\n"
              "[MS Transaction Server]\r\nAutoRefresh=1\r\n");
    // A related document the other program added too is not added twice; a help file setting
    // it changed as well stops the save.
    opened->project->SetHelpFile("Save_Context.hlp");
    writeFile(opened->temp / "Save.vbp", replaced(readFile(opened->temp / "Save.vbp"), "Save_Context.chm::/Save_contexttopics.txt", "Other.chm"));
    expectRefused(*opened, {"Save.vbp", "HelpFile=\"Other.chm\"", "Nothing was written"});
}

TEST(ProjectWriteBackTest, TemporaryFilesOfAStoppedSaveAreRemovedByTheNextNamingEach) {
    auto opened = openProject();
    const std::vector<std::string> left = {"save.frm.a1B2c3.tmp", "Save.vbp.XYZ789.tmp"};
    const std::vector<std::string> others = {"save.frm.notes.tmp", "other.frm.a1B2c3.tmp", "ContextHelp.txt.a1B2c3.tmp",
                                             "save.frm.a1B2c.tmp"};
    for (const auto& name : left)
        writeFile(opened->temp / name, "half a file");
    for (const auto& name : others)
        writeFile(opened->temp / name, "not ours to remove");
    std::vector<std::string> notices;
    NoticeSink previous = setNoticeSink([&](const std::string& text) { notices.push_back(text); });
    EXPECT_EQ(opened->project->save(), 0); // nothing changed: still the stopped save's files go
    setNoticeSink(previous);
    for (const auto& name : left)
        EXPECT_FALSE(fs::exists(opened->temp / name)) << name;
    for (const auto& name : others)
        EXPECT_TRUE(fs::exists(opened->temp / name)) << name;
    ASSERT_EQ(notices.size(), 2u);
    for (const std::string& notice : notices)
        EXPECT_NE(notice.find("a temporary file that an interrupted save of the project left"), std::string::npos) << notice;
    EXPECT_FALSE(fs::exists(opened->temp / "Save.vbp.lock"));
}

namespace {

// Replaces the file whole through a rename, as the IDE saves.
void saveAsAnotherProgram(const fs::path& file, const std::string& bytes) {
    writeFile(fs::path(file) += ".ide", bytes);
    fs::rename(fs::path(file) += ".ide", file);
}

// Files whose names end with ".tmp" or ".ide" in the folder.
std::vector<std::string> leftFiles(const fs::path& folder) {
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".tmp" || entry.path().extension() == ".ide")
            left.push_back(entry.path().filename().string());
    return left;
}

// Runs `save` while another program saves each of `versions`' files just before each of the
// save's first `times` replaces of it (at the last moment, after every check before it), with
// the content the function gives for the n-th time.
using Versions = std::map<fs::path, std::function<std::string(int)>>;
template <typename Save>
void saveRacing(const Versions& versions, int times, Save save) {
    std::map<fs::path, int> saves;
    AtomicFaultInjector previous = setAtomicFaultInjector([&](AtomicStep step, const fs::path& target) {
        auto version = versions.find(target);
        if (step == AtomicStep::Rename && version != versions.end() && saves[target] < times)
            saveAsAnotherProgram(target, version->second(saves[target]++));
        return 0;
    });
    try {
        save();
    } catch (...) {
        setAtomicFaultInjector(previous);
        throw;
    }
    setAtomicFaultInjector(previous);
}

} // namespace

TEST(ProjectWriteBackTest, AVersionSavedInTheMomentBeforeTheReplaceIsWrittenOntoAndNeverLost) {
    // The other program saves the form and then the project file at the last moment before
    // each is replaced: both keep its change and take this program's.
    auto opened = openProject();
    opened->control(3)->setWhatsThisHelpID(8);
    opened->project->SetHelpFile("Save_Context.chm");
    const std::string theirForm = form(Label);
    const std::string theirProject = replaced(Project, "Form=save.frm\r\n", "Form=save.frm\r\nForm=frmIde.frm\r\n");
    const Versions theirs = {{opened->temp / "save.frm", [&](int) { return theirForm; }},
                             {opened->temp / "Save.vbp", [&](int) { return theirProject; }}};
    saveRacing(theirs, 1, [&] { EXPECT_EQ(opened->project->save(), 2); });
    EXPECT_EQ(readFile(opened->temp / "save.frm"), replaced(theirForm, "=   5", "=   8"));
    EXPECT_EQ(readFile(opened->temp / "Save.vbp"),
              replaced(theirProject, "Name=", "HelpFile=\"Save_Context.chm\"\r\nName="));
    EXPECT_EQ(leftFiles(opened->temp.path()), std::vector<std::string>());
    EXPECT_FALSE(opened->project->isDirty());

    // A version that changes the same value stops the save; one written at every attempt
    // wears it out. Either way the other program's last version is the one on disk.
    auto clash = openProject();
    clash->control(3)->setWhatsThisHelpID(8);
    const std::string otherNumber = replaced(form(), "=   5", "=   6");
    try {
        saveRacing({{clash->temp / "save.frm", [&](int) { return otherNumber; }}}, 1, [&] { clash->project->save(); });
        ADD_FAILURE() << "a value both changed was overwritten";
    } catch (const VbError& error) {
        EXPECT_NE(error.description().find("cmdOK.WhatsThisHelpID is 6 there"), std::string::npos) << error.description();
    }
    EXPECT_EQ(readFile(clash->temp / "save.frm"), otherNumber);
    EXPECT_EQ(leftFiles(clash->temp.path()), std::vector<std::string>());

    auto busy = openProject();
    busy->control(3)->setWhatsThisHelpID(8);
    const auto nth = [](int n) { return form("   Tag             =   \"" + std::to_string(n) + "\"\r\n"); };
    try {
        saveRacing({{busy->temp / "save.frm", nth}}, 100, [&] { busy->project->save(); });
        ADD_FAILURE() << "a file written again at every attempt was replaced";
    } catch (const VbError& error) {
        EXPECT_EQ(error.description(), "Cannot save '" + (busy->temp / "save.frm").string() +
                                           "': another program wrote it again each of 5 times Corvane was about to "
                                           "replace it; Corvane's changes to it were not written");
    }
    EXPECT_EQ(readFile(busy->temp / "save.frm"), nth(4));
    EXPECT_EQ(leftFiles(busy->temp.path()), std::vector<std::string>());
    EXPECT_TRUE(busy->project->isDirty());
}
