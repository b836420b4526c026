// Pictures of the main windows for people to look at, written to <build>/screenshots. Run
// under a real display with: QT_QPA_PLATFORM=xcb xvfb-run -a corvane_gui_tests --gtest_filter='Screenshot*'
#include "gui/GuiTestSupport.h"

#include "app/FormWindow.h"
#include "app/QtBusyWindow.h"
#include "app/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "ownhelp/ModHTMLHelp.h"

#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

std::filesystem::path screenshotFolder() {
    auto folder = std::filesystem::path(CORVANE_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

void expectPicture(QWidget& widget, const std::string& name) {
    auto file = screenshotFolder() / name;
    ASSERT_TRUE(app::saveScreenshot(widget, file)) << file;
    QPixmap written(QString::fromStdString(file.string()));
    EXPECT_EQ(written.size(), widget.size() * widget.devicePixelRatio());
}

} // namespace

TEST(Screenshot, MainWindowsArePaintedIntoPngFiles) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    session.host().show();
    ASSERT_TRUE(session.edit(fixture.project()));
    expectPicture(session.host(), "host.png");

    FrmWizard* editor = session.addin().editor();
    ASSERT_NE(editor, nullptr);
    app::FormWindow* window = session.windows().window(*editor);
    ASSERT_NE(window, nullptr);
    editor->lbxModules().SetListIndex(2);
    QTest::qWait(50);
    expectPicture(*window, "editor-table.png");
    editor->Grid().SetView(controls::jgexCard);
    QTest::qWait(50);
    expectPicture(*window, "editor-cards.png");

    app::QtBusyWindow busy;
    busy.SetTitle("Corvane");
    busy.SetMessage("Scanning the project...");
    busy.SetShowProgress(true);
    busy.SetValue(40);
    busy.Show();
    expectPicture(*busy.widget(), "busy.png");
    busy.Hide();
    editor->Unload();
}

namespace {

// Takes the picture of a modal dialog once it is up, then closes it with its button.
void pictureOfDialog(app::GuiSession& session, const std::string& form, const std::string& file,
                     const std::string& closeButton) {
    answerWhenShown(session.windows(), form, [file, closeButton](app::FormWindow& dialog) {
        QTest::qWait(50);
        expectPicture(dialog, file);
        if (auto* button = qobject_cast<QPushButton*>(dialog.view(closeButton)))
            clickAt(button);
        else
            ADD_FAILURE() << "no button " << closeButton;
    });
}

} // namespace

TEST(Screenshot, DialogsAndTheHelpWindowArePaintedIntoPngFiles) {
    GuiFixture fixture;
    ASSERT_TRUE(installHelpFile(fixture));
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    app::GuiSession& session = fixture.session();
    FrmWizard* editor = session.addin().editor();

    pictureOfDialog(session, "frmOptions", "options.png", "cmdOk");
    clickAt(toolbar->button("options"));
    pictureOfDialog(session, "frmSelectLanguages", "languages.png", "cmdCancel");
    clickAt(toolbar->button("languageoptions"));

    editor->lbxModules().SetListIndex(0);
    editor->Grid().SetRow(0);
    editor->txtHelpText().SetText("Saves the ordre now.");
    editor->SetSpellType("sc_currentitem");
    pictureOfDialog(session, "SpellDialog", "spelling.png", "cmdCancel");
    editor->ActiveBar().clickTool(editor->ActiveBar().Bands("Main Band").Tools().Item("spellcheck"));

    HTMLShowTopic(1, "Default", "gettingstarted.html");
    QWidget* help = session.helpViewer().window();
    ASSERT_NE(help, nullptr);
    QTest::qWait(50);
    expectPicture(*help, "help.png");
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

} // namespace corvane::test
