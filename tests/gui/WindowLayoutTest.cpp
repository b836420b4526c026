// The editor window's layout measured on the real widgets, at several window sizes and screen
// scales, and its placement kept across close and reopen when it was maximised.
#include "gui/GuiTestSupport.h"

#include "app/views/GridView.h"
#include "editor/FrmWizard.h"
#include "testsupport/TextTools.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvane::test {

namespace {

// Runs the test `name` of this program again in a child process whose offscreen screen has
// `dpi` dots per inch, which Qt scales to (device pixels per pixel) or hands to the program
// as it is; the child's exit status (0 when the test passed) and its output.
std::pair<int, std::string> runAtScale(const std::string& name, int dpi, bool qtScales, const TempDir& dir) {
    std::filesystem::path config = dir / ("screen" + std::to_string(dpi) + ".json");
    writeFile(config, "{\"screens\": [{\"name\": \"Screen\", \"x\": 0, \"y\": 0, \"width\": 2400, "
                      "\"height\": 1600, \"logicalDpi\": " + std::to_string(dpi) +
                          ", \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
    ToolRun run = runShell(std::string(qtScales ? "" : "QT_ENABLE_HIGHDPI_SCALING=0 ") +
                           "QT_QPA_PLATFORM=" + shellQuoted("offscreen:configfile=" + config.string()) +
                           " CORVANE_EXPECTED_DPI=" + std::to_string(dpi) + " timeout 120 " +
                           shellQuoted(std::filesystem::read_symlink("/proc/self/exe").string()) +
                           " --gtest_filter=" + shellQuoted(name));
    return {run.status, run.output};
}

QRect inWindow(QWidget* widget, QWidget* window) { return {widget->mapTo(window, QPoint(0, 0)), widget->size()}; }

const std::string PositionKey = "Software\\Halvex\\Corvane\\WindowPosition_Main";

} // namespace

TEST(WindowLayout, TheGridsLastRowAndScrollBarLieInsideTheWindowAtEverySize) {
    // Run again by the test below at other screen scales.
    if (const char* expected = std::getenv("CORVANE_EXPECTED_DPI")) {
        // Qt scales to the screen (device pixels per pixel), or the program sees the dots per inch.
        ensureApplication();
        QScreen* screen = QGuiApplication::primaryScreen();
        int dpi = std::atoi(expected);
        if (std::getenv("QT_ENABLE_HIGHDPI_SCALING"))
            ASSERT_EQ(qRound(screen->logicalDotsPerInchY()), dpi);
        else
            ASSERT_DOUBLE_EQ(screen->devicePixelRatio(), dpi / 96.0);
    }
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    editor->lbxModules().SetListIndex(2);
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    QWidget* split = window->view("splitMain");
    ASSERT_TRUE(grid && split);
    for (QSize size : {QSize(640, 480), QSize(900, 620), QSize(1280, 900)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << " at "
                                        << controls::twipsPerPixelY() << " twips per pixel");
        window->resize(size);
        // The panes fill the area below the toolbar: nothing cut off, nothing left over.
        QSize allowed = size.expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
        waitFor([&] { return window->size() == allowed && inWindow(split, window) == inWindow(window->body(), window); });
        EXPECT_EQ(window->size(), allowed);
        EXPECT_EQ(inWindow(split, window), inWindow(window->body(), window));
        EXPECT_TRUE(window->rect().contains(inWindow(grid, window)));
        QTableView* table = grid->table();
        table->horizontalHeader()->resizeSection(0, size.width()); // wider than the view
        QScrollBar* bar = table->horizontalScrollBar();
        // The bar appears and the rows' area gives it its room.
        waitFor([&] { return bar->isVisible() && inWindow(table->viewport(), window).bottom() < inWindow(bar, window).top(); });
        ASSERT_TRUE(bar->isVisible());
        EXPECT_LT(inWindow(table->viewport(), window).bottom(), inWindow(bar, window).top());
        EXPECT_TRUE(window->rect().contains(inWindow(bar, window)));
        table->scrollToBottom();
        table->horizontalScrollBar()->setValue(0);
        QModelIndex last = table->model()->index(table->model()->rowCount() - 1, 0);
        QRect lastRow = table->visualRect(last).translated(table->viewport()->mapTo(window, QPoint(0, 0)));
        EXPECT_TRUE(lastRow.top() >= 0 && lastRow.bottom() < window->height()) << lastRow.bottom() << " in " << window->height();
        EXPECT_LE(lastRow.bottom(), inWindow(bar, window).top());
    }
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(WindowLayout, TheLayoutHoldsAtOtherScreenScales) {
    if (std::getenv("CORVANE_EXPECTED_DPI"))
        GTEST_SKIP() << "runs in the parent only";
#ifdef _WIN32
    GTEST_SKIP() << "other screen scales are made by the screens of Qt's offscreen platform, which in a Windows "
                    "build has no fonts to lay the editor out with";
#endif
    TempDir dir;
    for (bool qtScales : {true, false}) {
        for (int dpi : {120, 144, 192}) {
            auto [status, output] =
                runAtScale("WindowLayout.TheGridsLastRowAndScrollBarLieInsideTheWindowAtEverySize", dpi, qtScales, dir);
            EXPECT_EQ(status, 0) << dpi << " dpi, scaled by Qt: " << qtScales << "\n" << output;
            EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
        }
    }
}

TEST(WindowLayout, AMaximisedEditorIsStoredMaximisedWithItsNormalBoundsAndReopensSo) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    app::GuiSession& session = fixture.session();
    FrmWizard* editor = session.addin().editor();
    app::FormWindow* window = session.windows().window(*editor);
    window->move(40, 50);
    window->resize(700, 500);
    ASSERT_TRUE(waitFor([&] { return window->pos() == QPoint(40, 50) && window->size() == QSize(700, 500); }));
    int32_t width = editor->Width();
    int32_t height = editor->Height();

    window->showMaximized();
    ASSERT_TRUE(waitFor([&] { return window->isMaximized(); }));
    EXPECT_EQ(editor->WindowState(), controls::vbMaximized);
    window->close();
    ASSERT_TRUE(waitFor([&] { return !editor->loaded(); }));
    EXPECT_EQ(fixture.registryValue(PositionKey, "WindowState"), "2");
    EXPECT_EQ(fixture.registryValue(PositionKey, "Left"), std::to_string(40 * controls::twipsPerPixelX()));
    EXPECT_EQ(fixture.registryValue(PositionKey, "Width"), std::to_string(width));
    EXPECT_EQ(fixture.registryValue(PositionKey, "Height"), std::to_string(height));

    ASSERT_TRUE(session.host().clickAddIn("Corvane"));
    FrmWizard* again = session.addin().editor();
    app::FormWindow* reopened = session.windows().window(*again);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(waitFor([&] { return reopened->isMaximized(); }));
    EXPECT_EQ(again->WindowState(), controls::vbMaximized);
    // Back to normal it takes the stored bounds again.
    reopened->showNormal();
    ASSERT_TRUE(waitFor([&] { return !reopened->isMaximized(); }));
    EXPECT_EQ(again->WindowState(), controls::vbNormal);
    EXPECT_EQ(again->Width(), width);
    EXPECT_EQ(reopened->size(), QSize(700, 500));
    EXPECT_TRUE(fixture.reports().empty());
    again->Unload();
}

} // namespace corvane::test
