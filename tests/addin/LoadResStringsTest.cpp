#include "addin/ModWizard.h"
#include "addin/StringTable.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Label.h"
#include "controls/Menu.h"
#include "controls/TextBox.h"
#include "platform/AppFolders.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// A dialog whose design-time texts are string table numbers, as the program's windows hold them.
class TaggedWindow : public controls::Form {
public:
    TaggedWindow() : Form("frmTagged") {}
    controls::Label* intro = nullptr;
    controls::Label* joined = nullptr;
    controls::CommandButton* plain = nullptr;
    controls::CommandButton* untagged = nullptr;
    controls::Menu* compile = nullptr;
    controls::Menu* file = nullptr;
    controls::TextBox* text = nullptr;

protected:
    void createControls() override {
        SetTag("112");
        intro = &add<controls::Label>("Label1");
        intro->SetTag("108");
        joined = &add<controls::Label>("Label2");
        joined->SetTag("120");
        plain = &add<controls::CommandButton>("cmdOk");
        plain->SetTag("OK button");
        plain->SetCaption("&OK");
        untagged = &add<controls::CommandButton>("cmdCancel");
        untagged->SetCaption("Cancel");
        untagged->SetToolTipText("111");
        compile = &add<controls::Menu>("mnuCompile");
        compile->SetCaption("127");
        file = &add<controls::Menu>("mnuFile");
        file->SetCaption("&File");
        text = &add<controls::TextBox>("txtNotes");
        text->SetTag("110"); // a text box has no caption: left alone
        text->SetToolTipText("124");
    }
};

TEST(LoadResStrings, ReplacesNumbersByTheTextsTheyNameAndLeavesTheRestAlone) {
    test::TempDir dir;
    // 120 continues in 121 and 122; the "_" characters are not part of the caption.
    test::writeFile(dir / "strings.txt", "120\tView the list _\n121\tof controls _\n122\tin card format\n");
    test::ScopedEnvironment strings("CORVANE_STRINGS", (dir / "strings.txt").string());
    reloadProgramStringTable();

    TaggedWindow window;
    window.Load();
    LoadResStrings(window);

    EXPECT_EQ(window.Caption(), "Select Languages");
    EXPECT_EQ(window.intro->Caption(),
              "Corvane can help you manage help text for multiple languages.  Please select from the list below "
              "those languages for which you will be creating Help Text.");
    EXPECT_EQ(window.joined->Caption(), "View the list of controls in card format");
    EXPECT_EQ(window.plain->Caption(), "&OK");
    EXPECT_EQ(window.untagged->Caption(), "Cancel");
    EXPECT_EQ(window.untagged->ToolTipText(), "Cancel");
    EXPECT_EQ(window.compile->Caption(), "Compile Help file(s)");
    EXPECT_EQ(window.file->Caption(), "&File");
    EXPECT_EQ(window.text->Text(), "");
    EXPECT_EQ(window.text->ToolTipText(), "Currently Active Language");

    platform::setEnvironmentVariable("CORVANE_STRINGS", nullptr);
    reloadProgramStringTable();
}

} // namespace
} // namespace corvane
