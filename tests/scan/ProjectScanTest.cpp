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

namespace corvane::test {
namespace {

using Strings = std::vector<std::string>;

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
    // The controls' numbers, captions and types win over the stored ones; texts stay.
    EXPECT_EQ(record("frmA", "txtName").ContextHelpID, 9);
    EXPECT_EQ(record("frmA", "cmdGo(1)").ContextHelpID, 0);
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

} // namespace
} // namespace corvane::test
