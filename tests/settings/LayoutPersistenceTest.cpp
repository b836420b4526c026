// The editor window's placement, grid view and grouping kept in the registry between uses.
#include "controls/ActiveBar.h"
#include "controls/Form.h"
#include "controls/Grid.h"
#include "controls/HeadlessWindowSystem.h"
#include "controls/Splitter.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::ScopedEnvironment;
using test::ScriptedReports;
using test::TempDir;

const std::string Key = "Software\\Halvex\\Corvane\\WindowPosition_Main";

// One window with the grid and the toolbar whose layout is kept.
struct Window {
    Window() {
        for (const char* key : {"ControlType", "ControlName", "HelpText", "Caption"})
            grid.Columns().Add(key);
        auto& tools = bar.AddBand("Main Band").Tools();
        tools.Add("tableview", controls::ToolType::Button).SetChecked(true);
        tools.Add("cardview", controls::ToolType::Button);
    }
    bool cardChecked() { return bar.Bands(0).Tools().Item("cardview").Checked(); }
    bool tableChecked() { return bar.Bands(0).Tools().Item("tableview").Checked(); }
    std::vector<std::pair<int, int>> groups() {
        std::vector<std::pair<int, int>> result;
        for (const auto& level : grid.Groups())
            result.emplace_back(level.ColIndex, level.SortOrder);
        return result;
    }

    controls::Form form{"frmWizard"};
    controls::Grid grid;
    controls::ActiveBar bar;
    controls::Splitter split{"splitMain"};
};

class LayoutPersistenceTest : public ::testing::Test {
protected:
    std::string value(const char* name) { return registry().GetValue(RegistryRoot::CurrentUser, Key, name); }
    void store(const char* name, const std::string& text) {
        registry().SetValue(RegistryRoot::CurrentUser, Key, name, text, REG_SZ);
    }
    void save(Window& w) { settings_.SaveWindowPosition("Main", w.form, w.grid, w.split); }
    void load(Window& w) { settings_.LoadWindowPosition("Main", w.form, w.grid, w.bar, w.split); }

    TempDir dir_;
    ScopedEnvironment registryFile_{"CORVANE_REGISTRY", (dir_ / "registry.reg").string()};
    controls::HeadlessWindowSystem windows_;
    controls::WindowSystemScope scope_{windows_};
    ScriptedReports reports_;
    ModMain settings_;
};

TEST_F(LayoutPersistenceTest, NothingIsRestoredWithoutAStoredLeftEdge) {
    store("Width", "9000");
    store("WindowState", "2");
    store("GridView", "1");
    store("GridGroups", "1:1");
    Window w;
    w.form.Move(15, 30, 6000, 5000);
    load(w);
    EXPECT_EQ(w.form.Left(), 15);
    EXPECT_EQ(w.form.Width(), 6000);
    EXPECT_EQ(w.form.WindowState(), controls::vbNormal);
    EXPECT_EQ(w.grid.View(), controls::jgexTable);
    EXPECT_TRUE(w.groups().empty());
    EXPECT_TRUE(w.tableChecked());
    EXPECT_FALSE(w.cardChecked());
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(LayoutPersistenceTest, AMaximisedWindowKeepsItsNormalBounds) {
    Window w;
    w.form.Move(120, 240, 7200, 5400);
    w.form.SetWindowState(controls::vbMaximized);
    save(w);
    EXPECT_EQ(value("WindowState"), "2");
    EXPECT_EQ(value("Left"), "120");
    EXPECT_EQ(value("Top"), "240");
    EXPECT_EQ(value("Width"), "7200");
    EXPECT_EQ(value("Height"), "5400");
    EXPECT_EQ(value("GridView"), "0");
    EXPECT_EQ(value("GridGroups"), "");

    Window next;
    load(next);
    EXPECT_EQ(next.form.WindowState(), controls::vbMaximized);
    next.form.SetWindowState(controls::vbNormal);
    EXPECT_EQ(next.form.Left(), 120);
    EXPECT_EQ(next.form.Top(), 240);
    EXPECT_EQ(next.form.Width(), 7200);
    EXPECT_EQ(next.form.Height(), 5400);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(LayoutPersistenceTest, StoredBoundsAreAppliedAsTheyAre) {
    store("Left", "40000");
    store("Top", "-600");
    store("Width", "8000.6");
    store("Height", "3000");
    store("WindowState", "0");
    store("GridView", "1");
    store("GridGroups", "");
    Window w;
    load(w);
    EXPECT_EQ(w.form.Left(), 40000);
    EXPECT_EQ(w.form.Top(), -600);
    EXPECT_EQ(w.form.Width(), 8001);
    EXPECT_EQ(w.grid.View(), controls::jgexCard);
    EXPECT_TRUE(w.cardChecked());
    EXPECT_FALSE(w.tableChecked());
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(LayoutPersistenceTest, GroupingRoundTrips) {
    Window w;
    w.grid.Groups().Add(3, -1, 0);
    w.grid.Groups().Add(1, 1, 0);
    EXPECT_EQ(settings_.SaveGridGroups(w.grid), "3:-1,1:1");
    save(w);
    EXPECT_EQ(value("GridGroups"), "3:-1,1:1");

    Window next;
    load(next);
    EXPECT_EQ(next.groups(), (std::vector<std::pair<int, int>>{{3, -1}, {1, 1}}));
    // Loading adds to the levels there are; empty pieces add nothing.
    settings_.LoadGridGroups("", next.grid);
    settings_.LoadGridGroups(" , ,", next.grid);
    settings_.LoadGridGroups(",2:1,", next.grid);
    EXPECT_EQ(next.groups(), (std::vector<std::pair<int, int>>{{3, -1}, {1, 1}, {2, 1}}));
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(LayoutPersistenceTest, APositionAnotherProgramIsStillSavingRestoresWhatIsStoredWithoutAnError) {
    // The values are written one by one: a window opened meanwhile finds "Left" and not yet the rest.
    store("WindowState", "0");
    store("Left", "120");
    Window first;
    first.form.Move(15, 30, 6000, 5000);
    load(first);
    EXPECT_EQ(first.form.Left(), 15);
    EXPECT_EQ(first.form.Width(), 6000);
    EXPECT_EQ(first.grid.View(), controls::jgexTable);
    store("Top", "240");
    store("Width", "9000");
    store("Height", "7000");
    Window second;
    load(second);
    EXPECT_EQ(second.form.Left(), 120);
    EXPECT_EQ(second.form.Top(), 240);
    EXPECT_EQ(second.form.Width(), 9000);
    EXPECT_EQ(second.form.Height(), 7000);
    EXPECT_EQ(second.grid.View(), controls::jgexTable);
    EXPECT_TRUE(reports_.reports().empty());
}

TEST_F(LayoutPersistenceTest, AValueThatIsNoNumberIsReported) {
    store("Left", "0");
    store("Top", "0");
    store("Width", "wide");
    store("Height", "3000");
    store("WindowState", "0");
    store("GridView", "0");
    reports_.answer("RetryNext");
    Window w;
    load(w);
    ASSERT_EQ(reports_.reports().size(), 1u);
    EXPECT_EQ(reports_.reports()[0].number.toLong(), 13);
    EXPECT_EQ(reports_.reports()[0].module.toText(), "modMain");
    EXPECT_EQ(reports_.reports()[0].procedure.toText(), "LoadWindowPosition");
}

} // namespace
} // namespace corvane
