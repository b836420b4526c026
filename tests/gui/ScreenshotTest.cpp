// Pictures of the main windows for people to look at, written to <build>/screenshots. Run
// under a real display with: QT_QPA_PLATFORM=xcb xvfb-run -a corvane_gui_tests --gtest_filter='Screenshot*'
#include "gui/GuiTestSupport.h"

#include "app/host/QtBusyWindow.h"
#include "app/host/QtHelpViewer.h"
#include "app/views/FormWindow.h"
#include "app/views/GridView.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "ownhelp/ModHTMLHelp.h"

#include <QImage>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace corvane::test {

namespace {

std::filesystem::path screenshotFolder() {
    auto folder = std::filesystem::path(CORVANE_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

// How many colours a part of the picture holds; counting stops at `enough`.
int colourCount(const QImage& picture, const QRect& part, int enough) {
    std::set<QRgb> colours;
    QRect inside = part.intersected(picture.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (colours.insert(picture.pixel(x, y)).second && static_cast<int>(colours.size()) >= enough)
                return enough;
    return static_cast<int>(colours.size());
}

// Where a part of a window lies in the window's picture, in the picture's pixels.
QRect inPicture(const QWidget& window, const QWidget& part, QRect area, qreal scale) {
    area.translate(part.mapTo(&window, QPoint(0, 0)));
    return QRect(area.topLeft() * scale, area.size() * scale);
}

// Writes the window's picture and reads it back: it has the window's size and shows the
// window's widgets (many colours: frames, texts, selections), and each of `parts` (a widget
// and an area of it, such as a grid row) has something drawn in it. An empty, black or
// one-colour picture fails; a window of few parts may ask for fewer than 16 colours.
void expectPicture(QWidget& window, const std::string& name,
                   const std::vector<std::pair<const QWidget*, QRect>>& parts = {}, int colours = 16) {
    auto file = screenshotFolder() / name;
    ASSERT_TRUE(app::saveScreenshot(window, file)) << file;
    QImage written(QString::fromStdString(file.string()));
    ASSERT_FALSE(written.isNull()) << file;
    EXPECT_EQ(written.size(), window.size() * window.devicePixelRatio());
    EXPECT_GE(colourCount(written, written.rect(), colours), colours) << name << ": hardly anything is drawn";
    for (const auto& [part, area] : parts) {
        QRect where = inPicture(window, *part, area, window.devicePixelRatio());
        ASSERT_FALSE(where.isEmpty()) << name << ": " << part->objectName().toStdString();
        EXPECT_GE(colourCount(written, where, 2), 2)
            << name << ": nothing is drawn where " << part->metaObject()->className() << " lies";
    }
}

// The text area of the first record in the grid's current view (table row or card).
std::pair<const QWidget*, QRect> firstRecord(app::GridView& grid) {
    if (grid.cards()->isVisible())
        return {grid.cards()->viewport(), grid.cards()->visualRect(grid.cards()->model()->index(0, 0))};
    QTableView* table = grid.table();
    QRect row;
    for (int column = 0; column < table->model()->columnCount(); ++column)
        row = row.united(table->visualRect(table->model()->index(0, column)));
    return {table->viewport(), row};
}

// True when the grid shows the rows of the selected module, laid out in its current view.
bool showsRecords(app::GridView& grid, FrmWizard& editor, bool cards) {
    QAbstractItemView* view = cards ? static_cast<QAbstractItemView*>(grid.cards()) : grid.table();
    return view->isVisible() && view->model()->rowCount() >= editor.Grid().ItemCount() &&
           !firstRecord(grid).second.isEmpty();
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
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    QWidget* modules = window->view("lbxModules");
    ASSERT_TRUE(grid && modules);
    editor->lbxModules().SetListIndex(2);
    ASSERT_GT(editor->Grid().ItemCount(), 0);
    ASSERT_TRUE(waitFor([&] { return showsRecords(*grid, *editor, false); }));
    expectPicture(*window, "editor-table.png", {{modules, modules->rect()}, firstRecord(*grid)});
    editor->Grid().SetView(controls::jgexCard);
    ASSERT_TRUE(waitFor([&] { return showsRecords(*grid, *editor, true); }));
    expectPicture(*window, "editor-cards.png", {{modules, modules->rect()}, firstRecord(*grid)});

    app::QtBusyWindow busy;
    busy.SetTitle("Corvane");
    busy.SetMessage("Scanning the project...");
    busy.SetShowProgress(true);
    busy.SetValue(40);
    busy.Show();
    ASSERT_TRUE(waitFor([&] { return busy.widget()->isVisible(); }));
    // Its text, the bar's frame and fill and the background: Windows' default fonts are drawn
    // without smoothing, which leaves hardly more colours than those.
    auto* bar = busy.widget()->findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    expectPicture(*busy.widget(), "busy.png", {{bar, bar->rect()}}, 4);
    busy.Hide();
    editor->Unload();
}

namespace {

// Takes the picture of a modal dialog once it is up, then closes it with its button.
void pictureOfDialog(app::GuiSession& session, const std::string& form, const std::string& file,
                     const std::string& closeButton) {
    answerWhenShown(session.windows(), form, [file, closeButton](app::FormWindow& dialog) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
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
    QTextBrowser* browser = session.helpViewer().browser();
    ASSERT_TRUE(waitFor([&] {
        return help->isVisible() && browser->source().path() == QStringLiteral("/gettingstarted.html");
    }));
    expectPicture(*help, "help.png", {{browser->viewport(), browser->viewport()->rect()}});
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

} // namespace corvane::test
