// Pictures of the main windows for people to look at, written to <build>/screenshots. Run
// under a real display with: QT_QPA_PLATFORM=xcb xvfb-run -a corvane_gui_tests --gtest_filter='Screenshot*'
#include "gui/GuiTestSupport.h"

#include "app/FormWindow.h"
#include "app/QtBusyWindow.h"
#include "editor/FrmWizard.h"

#include <QPixmap>
#include <QTest>

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

} // namespace corvane::test
