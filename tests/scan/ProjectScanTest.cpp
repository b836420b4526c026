// ProjectScan on its own: stored records from a real data file merged with the designers of a
// real project in a temporary folder, without a window.
#include "helpdata/HelpDataFile.h"
#include "scan/ProjectScan.h"
#include "settings/ModMain.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/AddinTestFixture.h"
#include "vbide/VBComponent.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace corvane::test {
namespace {

using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

// The stored records loaded from the data file, the project opened, and a scan over both.
class ProjectScanTest : public ::testing::Test {
protected:
    ProjectScanTest() {
        settings_.newSelectedLanguages();
        writeSmallProject(dir_.path());
        writeFile(dir_ / "ContextHelp.txt", SmallStoredData);
    }

    // Loads the records and the project, then merges every visual component.
    void scan() {
        HelpDataFile file(settings_);
        file.load(dir_ / "ContextHelp.txt", forms_, formNames_);
        ASSERT_TRUE(file.complete()) << file.problemReport();
        project_ = vbide::VBProject::open(dir_ / "Small.vbp");
        ProjectScan scan(records(), settings_.SelectedLanguages);
        for (const auto& component : project_->VBComponents()) {
            if (!ProjectScan::isVisualComponent(component->Type()))
                continue;
            ComponentScan result = scan.mergeComponent(*component, position_);
            if (result.message)
                messages_.push_back(*result.message);
        }
    }

    ScanRecords records() { return ScanRecords{forms_, formNames_, unreadable_, highestId_, result_}; }

    Strings keys(const std::string& module) {
        Strings names;
        for (const auto& record : *forms_.Item(module))
            names.push_back(record->ControlName.str());
        return names;
    }

    HelpItem& record(const std::string& module, const std::string& key) {
        return *forms_.Item(module)->Item(key);
    }

    TempDir dir_;
    ModMain settings_;
    ModuleRecords forms_;
    NameList formNames_;
    NameList unreadable_;
    int32_t highestId_ = 0;
    ScanResult result_;
    ScanPosition position_;
    std::shared_ptr<vbide::VBProject> project_;
    std::vector<ScanMessage> messages_;
};

TEST_F(ProjectScanTest, MergesStoredRecordsWithTheControlsAndKeepsTheTextOfWhatIsGone) {
    ASSERT_NO_FATAL_FAILURE(scan());

    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(unreadable_.Count(), 0);
    // Stored records keep their order, new controls come after them; a vanished one with text
    // is kept, marked gone, without a control.
    EXPECT_EQ(keys("frmA"), (Strings{"txtOldName", "cmdGo(1)", "txtName", "cmdGo(0)", "lblNew"}));
    EXPECT_TRUE(record("frmA", "txtOldName").gone);
    EXPECT_FALSE(record("frmA", "txtOldName").Control());
    EXPECT_EQ(record("frmA", "txtOldName").GetHelpText("English"), "renamed");
    EXPECT_FALSE(record("frmA", "txtName").gone);
    EXPECT_EQ(result_.keptRecords, (Strings{"frmA/txtOldName"}));
    EXPECT_EQ(keys("frmB"), (Strings{"chkSeven"}));
    EXPECT_EQ(keys("ctlBox"), (Strings{"txtValue"}));
    // The controls' numbers, captions and types win over the stored ones; texts stay. A number
    // stored for a control with text whose form shows none (a compile stopped after it saved the
    // data file, before it wrote the form) stays: the help files it built use it.
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 9);
    EXPECT_EQ(record("frmA", "cmdGo(1)").ContextHelpID, 5);
    EXPECT_EQ(record("frmA", "cmdGo(1)").Caption, "Go &next");
    EXPECT_EQ(record("frmA", "cmdGo(1)").GetHelpText("English"), "next");
    EXPECT_EQ(record("frmA", "cmdGo(0)").ControlType, "CommandButton");
    EXPECT_EQ(record("frmA", "lblNew").ComponentName, "frmA");
    EXPECT_TRUE(record("frmA", "lblNew").Control());
    EXPECT_EQ(highestId_, 9);
    // The scan followed the controls to the last one read.
    EXPECT_EQ(position_.formName, "ctlBox");
    EXPECT_EQ(position_.controlName, "txtValue");

    // The module that left the project is kept for its text, its records gone; the others stay
    // in order.
    EXPECT_EQ(ProjectScan(records(), settings_.SelectedLanguages).dropVanishedModules(*project_), (Strings{"frmGone"}));
    EXPECT_EQ((Strings(formNames_.begin(), formNames_.end())), (Strings{"frmGone", "frmA", "clsThing", "frmB", "ctlBox"}));
    EXPECT_TRUE(record("frmGone", "cmdX").gone);
    EXPECT_EQ(result_.keptModules, (Strings{"frmGone"}));
    // The list of modules is the visual ones, in the project's order.
    EXPECT_EQ(result_.modules, (Strings{"frmA", "frmB", "ctlBox"}));
    EXPECT_TRUE(result_.messages.empty());
}

TEST_F(ProjectScanTest, ModulesThatLeftTheProjectLoseTheRecordsWithoutTextAndGoWhenNoneIsLeft) {
    // Records without text, in modules the project no longer has: one module of them only,
    // one with two of them, one where a record with text stays.
    const auto withoutText = [](const std::string& module, const std::string& control) {
        return "<HelpItem ComponentName=\"" + module + "\" ControlName=\"" + control +
               "\" ContextHelpID=\"4\" ControlType=\"Label\" Caption=\"\"><HelpText Language=\"English\">"
               "</HelpText></HelpItem>\n";
    };
    std::string data = SmallStoredData;
    data.insert(data.find("</Root>"),
                "<VBComponent ComponentName=\"frmEmpty\">" + withoutText("frmEmpty", "lblA") + "</VBComponent>\n" +
                    "<VBComponent ComponentName=\"frmEmptyToo\">" + withoutText("frmEmptyToo", "lblA") +
                    withoutText("frmEmptyToo", "lblB") + "</VBComponent>\n" +
                    "<VBComponent ComponentName=\"frmMixed\">" + withoutText("frmMixed", "lblA") +
                    "<HelpItem ComponentName=\"frmMixed\" ControlName=\"lblB\" ContextHelpID=\"6\" "
                    "ControlType=\"Label\" Caption=\"\"><HelpText Language=\"English\">kept</HelpText></HelpItem>" +
                    withoutText("frmMixed", "lblC") + "</VBComponent>\n");
    writeFile(dir_ / "ContextHelp.txt", data);
    ASSERT_NO_FATAL_FAILURE(scan());

    EXPECT_EQ(ProjectScan(records(), settings_.SelectedLanguages).dropVanishedModules(*project_),
              (Strings{"frmGone", "frmEmpty", "frmEmptyToo", "frmMixed"}));
    EXPECT_EQ((Strings(formNames_.begin(), formNames_.end())),
              (Strings{"frmGone", "frmA", "clsThing", "frmMixed", "frmB", "ctlBox"}));
    EXPECT_FALSE(forms_.Contains("frmEmpty"));
    EXPECT_FALSE(forms_.Contains("FRMEMPTYTOO"));
    EXPECT_EQ(forms_.Item("FRMMIXED")->Count(), 1);
    EXPECT_EQ(keys("frmMixed"), (Strings{"lblB"}));
    EXPECT_EQ(record("frmMixed", "LBLB").GetHelpText("English"), "kept");
    EXPECT_EQ(result_.keptModules, (Strings{"frmGone", "frmMixed"}));
    EXPECT_EQ(result_.modules, (Strings{"frmA", "frmB", "ctlBox"}));
}

TEST_F(ProjectScanTest, AModuleWhoseControlsCannotBeReadKeepsItsRecordsAndGivesAMessage) {
    // frmA's text box never ends: its name is known, its controls cannot be read.
    writeCrLf(dir_ / "frmA.frm", "VERSION 5.00\n"
                                 "Begin VB.Form frmA \n"
                                 "   Caption         =   \"Form A\"\n"
                                 "   Begin VB.TextBox txtName \n"
                                 "      WhatsThisHelpID =   9\n"
                                 "Attribute VB_Name = \"frmA\"\n");
    ASSERT_NO_FATAL_FAILURE(scan());

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].prompt.find("named 'frmA'"), std::string::npos) << messages_[0].prompt;
    EXPECT_NE(messages_[0].detail.find("frmA.frm"), std::string::npos) << messages_[0].detail;
    EXPECT_TRUE(unreadable_.Contains("frmA"));
    // Every stored record stays, with its number and text, and without a live control.
    EXPECT_EQ(keys("frmA"), (Strings{"txtOldName", "cmdGo(1)", "txtName"}));
    EXPECT_EQ(record("frmA", "txtOldName").GetHelpText("English"), "renamed");
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 3);
    EXPECT_FALSE(record("frmA", "txtName").Control());
    // The other modules were merged as usual.
    EXPECT_EQ(keys("frmB"), (Strings{"chkSeven"}));
    EXPECT_EQ(highestId_, 7);
    // The module is still listed; its message is the result's, found again by its text.
    EXPECT_EQ(result_.modules, (Strings{"frmA", "frmB", "ctlBox"}));
    ASSERT_EQ(result_.messages.size(), 1u);
    ASSERT_TRUE(result_.detailOf(messages_[0].prompt));
    EXPECT_EQ(*result_.detailOf(messages_[0].prompt), messages_[0].detail);
    EXPECT_EQ(result_.detailOf("another text"), nullptr);
}

TEST_F(ProjectScanTest, WhileADesignerHasNoKnownNameNoStoredModuleIsDropped) {
    // Without its file frmB's name is not known: it might be frmGone under a new file name.
    std::filesystem::remove(dir_ / "frmB.frm");
    ASSERT_NO_FATAL_FAILURE(scan());

    EXPECT_TRUE(ProjectScan(records(), settings_.SelectedLanguages).dropVanishedModules(*project_).empty());
    EXPECT_TRUE(forms_.Contains("frmGone"));
    EXPECT_TRUE(unreadable_.Contains("frmGone"));
    EXPECT_EQ(record("frmGone", "cmdX").GetHelpText("English"), "gone");
}

// The records, lists and numbers a scan leaves, and what it told of each component, written
// out to be compared.
std::string scanOutcome(const fs::path& folder, bool together) {
    ModMain settings;
    settings.newSelectedLanguages();
    ModuleRecords forms;
    NameList formNames, unreadable;
    int32_t highestId = 0;
    ScanResult result;
    HelpDataFile file(settings);
    file.load(folder / "ContextHelp.txt", forms, formNames);
    auto project = vbide::VBProject::open(folder / "Small.vbp");
    ProjectScan scan(ScanRecords{forms, formNames, unreadable, highestId, result}, settings.SelectedLanguages);
    std::ostringstream out;
    auto tell = [&](const vbide::VBComponent& component, const ComponentScan& outcome) {
        out << "component " << component.Name() << (outcome.repeated ? " repeated" : "")
            << (outcome.message ? " unreadable" : "");
        for (const std::string& note : outcome.notes)
            out << " [" << note << "]";
        out << "\n";
    };
    std::vector<std::shared_ptr<vbide::VBComponent>> visual;
    for (const auto& component : project->VBComponents())
        if (ProjectScan::isVisualComponent(component->Type()))
            visual.push_back(component);
    ScanPosition position;
    if (together) {
        scan.mergeComponents(visual, position, tell);
    } else {
        for (const auto& component : visual)
            tell(*component, scan.mergeComponent(*component, position));
    }
    out << "at " << position.formName << " " << position.controlIndex << " " << position.controlName << "\n";
    for (int32_t m = 1; m <= forms.Count(); ++m) {
        out << "module " << formNames.Item(m) << "\n";
        for (const auto& record : *forms.Item(m))
            out << "  " << record->ControlName.str() << " " << record->ContextHelpID << " " << record->ControlType.str() << " ["
                << record->Caption.str() << "] gone " << record->gone << " control " << (record->Control() != nullptr)
                << " text [" << record->GetHelpText("English") << "]\n";
    }
    out << "highest " << highestId << " unreadable";
    for (const std::string& name : unreadable)
        out << " " << name;
    out << "\nlisted";
    for (const std::string& name : result.modules)
        out << " " << name;
    out << "\nkept";
    for (const std::string& name : result.keptRecords)
        out << " " << name;
    out << "\nrepeated";
    for (const std::string& name : result.repeatedModules)
        out << " " << name;
    out << "\nmessages " << result.messages.size() << "\n";
    std::string outcome = out.str(); // the same wherever the project is
    for (size_t at; (at = outcome.find(folder.string())) != std::string::npos;)
        outcome.replace(at, folder.string().size(), "FOLDER");
    return outcome;
}

// Many modules merged on several threads leave what merging them one after the other leaves:
// the same records, lists and highest number, and each component told in the project's order,
// also with a second designer of a module, a designer that cannot be read, and controls gone.
TEST(ProjectScanTogether, MergingModulesOnSeveralThreadsLeavesWhatMergingThemInTurnLeaves) {
    std::string lines = "Form=frmCopy.frm\nForm=frmBroken.frm\n";
    std::string stored = SmallStoredData;
    std::string modules;
    std::vector<std::pair<std::string, std::string>> manyForms;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "frmMany" + std::to_string(i);
        lines += "Form=" + name + ".frm\n";
        std::string form = SmallFormB;
        for (size_t at; (at = form.find("frmB")) != std::string::npos;)
            form.replace(at, 4, name);
        form.replace(form.find("=   7"), 5, "=   " + std::to_string(100 - i)); // the highest comes first
        manyForms.emplace_back(name + ".frm", form);
        if (i % 3 == 0) // a control stored with text that is gone, and one without text
            modules += "<VBComponent ComponentName=\"" + name + "\"><HelpItem ComponentName=\"" + name +
                       "\" ControlName=\"txtWas\" ContextHelpID=\"5\" ControlType=\"TextBox\" Caption=\"\">"
                       "<HelpText Language=\"English\">kept</HelpText></HelpItem><HelpItem ComponentName=\"" +
                       name + "\" ControlName=\"txtEmpty\" ContextHelpID=\"6\" ControlType=\"TextBox\" Caption=\"\" />"
                       "</VBComponent>\n";
    }
    stored.insert(stored.find("</Root>"), modules);
    const std::string copy = SmallFormA; // names frmA again
    const std::string broken = "VERSION 5.00\nBegin VB.Form frmBroken \n   Begin VB.TextBox txtName \n"
                               "Attribute VB_Name = \"frmBroken\"\n";
    std::string outcomes[2];
    for (bool together : {false, true}) {
        TempDir dir;
        writeSmallProject(dir.path(), lines);
        writeFile(dir / "ContextHelp.txt", stored);
        writeCrLf(dir / "frmCopy.frm", copy);
        writeCrLf(dir / "frmBroken.frm", broken);
        for (const auto& [fileName, form] : manyForms)
            writeCrLf(dir / fileName, form);
        outcomes[together] = scanOutcome(dir.path(), together);
    }
    EXPECT_EQ(outcomes[1], outcomes[0]);
    EXPECT_NE(outcomes[0].find("component frmA repeated"), std::string::npos) << outcomes[0];
    EXPECT_NE(outcomes[0].find("component frmBroken unreadable"), std::string::npos) << outcomes[0];
    EXPECT_NE(outcomes[0].find("highest 100 "), std::string::npos) << outcomes[0];
    EXPECT_NE(outcomes[0].find("kept frmA/txtOldName frmMany0/txtWas"), std::string::npos) << outcomes[0];
    EXPECT_NE(outcomes[0].find("at frmMany39 1 chkSeven"), std::string::npos) << outcomes[0];
}

} // namespace
} // namespace corvane::test
