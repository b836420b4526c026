// The editor window as the user first sees it: the splitters' stored or default layout, the
// spell-check scope, the help text area with and without the reference box, shrinking the
// window, and the deferred close.
#include "testsupport/addin/AddinTestFixture.h"

#include "controls/WindowSystem.h"
#include "registry/RegistryAccess.h"

#include <gtest/gtest.h>

#include <cmath>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

const char* const SplitterKey = "Software\\Halvex";

class EditorLayoutTest : public AddinTest {
protected:
    void store(const char* key, const char* name, const std::string& value) {
        registry().SetValue(RegistryRoot::CurrentUser, key, name, value, REG_SZ);
    }
    static int32_t quarter(int32_t extent) { return static_cast<int32_t>(std::nearbyint(extent / 4.0)); }
    FrmWizard& open(const std::string& current = "English", const std::string& primary = "English") {
        return openEditor(writeEditProject(dir_.path(), current, primary));
    }
    void TearDown() override { EXPECT_TRUE(reports_.reports().empty()); }
};

TEST_F(EditorLayoutTest, FirstUseGivesAQuarterOfTheWindowToTheModuleListAndTheHelpTextAndChecksAllModules) {
    FrmWizard& window = open();
    ASSERT_GT(window.Width(), 0);
    EXPECT_EQ(window.splitMain().Panes(1).Size(), quarter(window.Width()));
    EXPECT_EQ(window.splitright().Panes(1).Size(), quarter(window.Height()));
    EXPECT_FALSE(window.splitMain().Vertical());
    EXPECT_TRUE(window.splitright().Vertical());

    EXPECT_TRUE(tool("sc_allmodules", "spellcheck").Checked());
    EXPECT_FALSE(tool("sc_currentitem", "spellcheck").Checked());
    EXPECT_FALSE(tool("sc_currentmodule", "spellcheck").Checked());
    EXPECT_EQ(window.GetSpellType(), "sc_allmodules");
    EXPECT_EQ(tool("spellcheck").ToolTipText(), "Spell Check the help text for all modules");

    // No module is selected: the frames show their bare captions and the grid is empty.
    EXPECT_EQ(window.lbxModules().ListIndex(), -1);
    EXPECT_EQ(window.ModuleListContainer().Caption(), "");
    EXPECT_EQ(window.HelpTextContainer().Caption(), "Help Text");
    EXPECT_EQ(window.ControlListContainer().Caption(), "Controls");
    EXPECT_EQ(window.Grid().ItemCount(), 0);
    EXPECT_EQ(window.Caption(), "Corvane Help Text Manager - Edit"); // the program and the project
    EXPECT_EQ(moduleList(), (std::vector<std::string>{"frmEdit", "frmOther", "frmEmpty"}));

    // The splitter fills the client area below the toolbar.
    const int32_t tpp = controls::twipsPerPixelX();
    EXPECT_EQ(window.splitMain().Left(), 0);
    EXPECT_EQ(window.splitMain().Top(), 0);
    EXPECT_EQ(window.splitMain().Width(), window.Width() - 6 * tpp);
    EXPECT_EQ(window.splitMain().Height(),
              window.Height() - (window.ActiveBar().Bands(0).Height() + 25) * controls::twipsPerPixelY());
}

TEST_F(EditorLayoutTest, AStoredMainLayoutWithoutARightLayoutGivesTheHelpTextAQuarterOfTheHeight) {
    store(SplitterKey, "CorvaneSplitMain", "Splitter;0;2000");
    store("Software\\Halvex\\Corvane", "SpellType", "sc_currentitem");
    FrmWizard& window = open();
    EXPECT_EQ(window.splitMain().Panes(1).Size(), 2000);
    EXPECT_EQ(window.splitright().Panes(1).Size(), quarter(window.Height()));
    EXPECT_EQ(window.GetSpellType(), "sc_currentitem");
    EXPECT_EQ(tool("spellcheck").ToolTipText(), "Spell Check the help text for the current item");
}

TEST_F(EditorLayoutTest, BothStoredLayoutsAreRestoredButARightLayoutAloneIsIgnored) {
    store(SplitterKey, "CorvaneSplitRight", "Splitter;1;1234");
    FrmWizard& window = open();
    EXPECT_EQ(window.splitMain().Panes(1).Size(), quarter(window.Width()));
    EXPECT_EQ(window.splitright().Panes(1).Size(), quarter(window.Height()));
    window.Unload();

    store(SplitterKey, "CorvaneSplitMain", "Splitter;0;1800");
    clickMenu();
    EXPECT_EQ(editor().splitMain().Panes(1).Size(), 1800);
    EXPECT_EQ(editor().splitright().Panes(1).Size(), 1234);
}

TEST_F(EditorLayoutTest, ShrinkingTheWindowUntilNothingIsLeftKeepsTheSplitterWhereItWas) {
    FrmWizard& window = open();
    window.Move(0, 0, 9000, 6000);
    const int32_t tpp = controls::twipsPerPixelX();
    const int32_t chrome = (window.ActiveBar().Bands(0).Height() + 25) * tpp;
    EXPECT_EQ(window.splitMain().Width(), 9000 - 6 * tpp);
    EXPECT_EQ(window.splitMain().Height(), 6000 - chrome);

    window.Move(0, 0, 6 * tpp + 1, 4000); // W = 1: still laid out
    EXPECT_EQ(window.splitMain().Width(), 1);
    EXPECT_EQ(window.splitMain().Height(), 4000 - chrome);
    window.Move(0, 0, 6 * tpp, 3000); // W = 0
    EXPECT_EQ(window.splitMain().Width(), 1);
    EXPECT_EQ(window.splitMain().Height(), 4000 - chrome);
    window.Move(0, 0, 7000, chrome); // H = 0
    EXPECT_EQ(window.splitMain().Width(), 1);
    EXPECT_EQ(window.splitMain().Height(), 4000 - chrome);
    window.Move(0, 0, 100, 100); // both negative
    EXPECT_EQ(window.splitMain().Width(), 1);
    window.Move(0, 0, 7000, 5000);
    EXPECT_EQ(window.splitMain().Width(), 7000 - 6 * tpp);
    EXPECT_EQ(window.splitMain().Height(), 5000 - chrome);
}

TEST_F(EditorLayoutTest, TheReferenceBoxTakesTheTopThirdOnlyWhileAnotherLanguageThanThePrimaryIsEdited) {
    FrmWizard& window = open("English", "English");
    window.Move(0, 0, 9000, 6000);
    controls::PictureBox& area = window.picHTContainer();
    ASSERT_GT(area.ScaleHeight(), 0);
    EXPECT_FALSE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtHelpText().Top(), 0);
    EXPECT_EQ(window.txtHelpText().Width(), area.ScaleWidth());
    EXPECT_EQ(window.txtHelpText().Height(), area.ScaleHeight());

    pickLanguage("German");
    const int32_t third = area.ScaleHeight() / 3;
    EXPECT_TRUE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtPrimaryLanguage().Top(), 0);
    EXPECT_EQ(window.txtPrimaryLanguage().Width(), area.ScaleWidth());
    EXPECT_EQ(window.txtPrimaryLanguage().Height(), third);
    EXPECT_EQ(window.txtHelpText().Top(), third);
    EXPECT_EQ(window.txtHelpText().Height(), area.ScaleHeight() - third);

    // Dragging the bar resizes the area, and the boxes follow.
    window.splitright().dragBar(2400);
    EXPECT_EQ(window.txtPrimaryLanguage().Height(), area.ScaleHeight() / 3);
    EXPECT_EQ(window.txtHelpText().Top() + window.txtHelpText().Height(), area.ScaleHeight());

    pickLanguage("English");
    EXPECT_FALSE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtHelpText().Top(), 0);
    EXPECT_EQ(window.txtHelpText().Height(), area.ScaleHeight());
}

TEST_F(EditorLayoutTest, AProjectOpenedInAnotherLanguageThanThePrimaryShowsTheReferenceBoxAtOnce) {
    FrmWizard& window = open("English", "German");
    EXPECT_TRUE(window.txtPrimaryLanguage().Visible());
    EXPECT_EQ(window.txtPrimaryLanguage().Height(), window.picHTContainer().ScaleHeight() / 3);
}

TEST_F(EditorLayoutTest, TheCloseBoxKeepsTheWindowUntilTheTimersFirstTickThenSavesOnce) {
    const fs::path vbp = writeEditProject(dir_.path());
    FrmWizard& window = openEditor(vbp);
    typeHelpText("frmEdit", "cmdOK", "Closes.");
    const std::string before = readFile(dir_ / "ContextHelp.txt");

    EXPECT_FALSE(window.userClose());
    EXPECT_TRUE(window.loaded());
    EXPECT_TRUE(window.timExitApp().Enabled());
    EXPECT_EQ(windows_.nextDue(), windows_.now() + 10);
    windows_.advance(9);
    windows_.DoEvents();
    EXPECT_TRUE(window.loaded()) << "the timer is due after 10 ms";
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), before);

    windows_.advance(1);
    windows_.DoEvents();
    EXPECT_FALSE(window.loaded());
    EXPECT_EQ(windows_.nextDue(), -1) << "the timer does not fire a second time";
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">Closes.</HelpText>"), std::string::npos);
    EXPECT_EQ(registryValue(SplitterKey, "CorvaneSplitMain"), window.splitMain().GetLayout());
    EXPECT_EQ(registryValue("Software\\Halvex\\Corvane", "SpellType"), "sc_allmodules");
}

TEST_F(EditorLayoutTest, UnloadingFromCodeClosesAtOnceWithoutSaving) {
    FrmWizard& window = open();
    typeHelpText("frmEdit", "cmdOK", "Lost.");
    const std::string before = readFile(dir_ / "ContextHelp.txt");
    EXPECT_TRUE(window.Unload());
    EXPECT_FALSE(window.loaded());
    EXPECT_EQ(windows_.nextDue(), -1);
    EXPECT_EQ(readFile(dir_ / "ContextHelp.txt"), before);
    EXPECT_EQ(registryValue(SplitterKey, "CorvaneSplitMain"), "");
}

} // namespace
} // namespace corvane::test
