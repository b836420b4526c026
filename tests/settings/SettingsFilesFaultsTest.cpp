// A malformed registry file never blocks the editor: it is read as far as it is sound, reported
// once, left as it is, and the help data and forms are still saved when the window closes.
#include "testsupport/addin/AddinTestFixture.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

class SettingsFilesFaultsTest : public AddinTest {};

TEST_F(SettingsFilesFaultsTest, TheEditorOpensAndClosesOverAMalformedRegistryFile) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Halvex\\Corvane]\r\n"
                             "\"SpellType\"=\"sc_currentitem\"\r\n"
                             "this line is not a registry line\r\n";
    writeFile(dir_ / "registry.reg", text);
    auto vbp = writeSmallProject(dir_.path());
    FrmWizard& window = openEditor(vbp);
    EXPECT_EQ(window.GetSpellType(), "sc_currentitem");
    EXPECT_EQ(messageTitles(), (std::vector<std::string>{"Registry file damaged"}));
    EXPECT_NE(windows_.messages()[0].prompt.find("line 5"), std::string::npos)
        << windows_.messages()[0].prompt;
    EXPECT_TRUE(reports_.reports().empty());

    record("frmA", "txtName").SetHelpText("Neutral", "Saved anyway");
    closeWithCloseBox();
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_NE(readFile(dir_ / "ContextHelp.txt").find(">Saved anyway</HelpText>"),
              std::string::npos);
    EXPECT_EQ(messageTitles(),
              (std::vector<std::string>{"Registry file damaged", "Registry file damaged"}));
    EXPECT_NE(windows_.messages()[1].prompt.find("The window layout was not stored"),
              std::string::npos);
    EXPECT_EQ(readFile(dir_ / "registry.reg"), text);

    // The form files are saved too (the label without text gave its number up).
    ide_->ActiveVBProject()->save();
    EXPECT_EQ(readFile(dir_ / "frmA.frm").find("WhatsThisHelpID =   7"), std::string::npos);

    // Opened again: the same malformed file is not reported again.
    clickMenu();
    EXPECT_EQ(windows_.messages().size(), 2u);
}

} // namespace
} // namespace corvane::test
