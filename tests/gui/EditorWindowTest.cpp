// The editor window in the desktop program, worked as a user works it: the host's Add-Ins
// menu entry, the module list, the grid, the help text box, the toolbar and the close box.
#include "gui/GuiTestSupport.h"

#include "app/views/FormWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/GroupByArea.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <QComboBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

QAction* addInEntry(app::HostWindow& host) {
    host.refreshMenus();
    for (QAction* action : host.addInsMenu()->actions())
        if (QString(action->text()).remove(QLatin1Char('&')).startsWith(QStringLiteral("Corvane")))
            return action;
    return nullptr;
}

// The grid column number shown in a table column.
int tableColumnOf(app::GridView& grid, int16_t gridColumn) { return grid.model()->modelColumn(gridColumn); }

} // namespace

TEST(EditorWindow, UserEditsSortsGroupsSwitchesAndClosesWithTheCloseBox) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    ASSERT_TRUE(session.host().openProject(fixture.project()));
    ASSERT_EQ(session.host().projectTree()->topLevelItemCount(), 1);

    // The add-in's entry in the host's menu, with its icon, opens the editor.
    QAction* entry = addInEntry(session.host());
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->icon().isNull());
    entry->trigger();
    FrmWizard* editor = session.addin().editor();
    ASSERT_NE(editor, nullptr);
    app::FormWindow* window = session.windows().window(*editor);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), editor->Caption());
    EXPECT_FALSE(window->windowTitle().isEmpty());
    EXPECT_FALSE(window->windowIcon().isNull());

    // The module list: the user clicks "frmOrder".
    auto* modules = qobject_cast<QListWidget*>(window->view("lbxModules"));
    ASSERT_NE(modules, nullptr);
    auto found = modules->findItems(QStringLiteral("frmOrder"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    clickAt(modules->viewport(), modules->visualItemRect(found.front()).center());
    EXPECT_EQ(editor->lbxModules().Text(), "frmOrder");
    controls::Grid& grid = editor->Grid();
    ASSERT_GE(grid.ItemCount(), 3);
    ASSERT_EQ(static_cast<int32_t>(editor->currentForm()->Count()), grid.ItemCount());

    // The grid: the user clicks the second row; the help text box shows its record.
    auto* gridView = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_NE(gridView, nullptr);
    QTableView* table = gridView->table();
    EXPECT_EQ(table->model()->rowCount(), grid.ItemCount());
    clickAt(table->viewport(), table->visualRect(table->model()->index(1, 0)).center());
    EXPECT_EQ(grid.Row(), 1);
    std::string key = grid.cellValue(1, 2).toText();

    // The user replaces the help text by typing.
    auto* helpText = qobject_cast<QPlainTextEdit*>(window->view("txtHelpText"));
    ASSERT_NE(helpText, nullptr);
    helpText->setFocus();
    QTest::keyClick(helpText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(helpText, QStringLiteral("Typed <here> & there, "));
    // Letters no key of an English keyboard has, as a keyboard of another layout types them.
    for (QChar letter : QStringLiteral("Gr\u00F6\u00DFe \u20AC"))
        QTest::sendKeyEvent(QTest::Click, helpText, Qt::Key_unknown, QString(letter), Qt::NoModifier);
    EXPECT_EQ(editor->txtHelpText().Text(), "Typed <here> & there, Gr\u00F6\u00DFe \u20AC");
    EXPECT_EQ(grid.Value(3).toText(), "Typed <here> & there, Gr\u00F6\u00DFe \u20AC");

    // Sorting: a click on the "ControlName" header sorts by it, through the program.
    QHeaderView* header = table->horizontalHeader();
    int nameColumn = tableColumnOf(*gridView, 2);
    clickAt(header->viewport(), {header->sectionViewportPosition(nameColumn) + header->sectionSize(nameColumn) / 2,
                                 header->height() / 2});
    ASSERT_EQ(grid.SortKeys().Count(), 1);
    EXPECT_EQ(grid.SortKeys().Item(1).ColIndex, 2);
    for (int32_t row = 1; row < grid.RowCount(); ++row)
        EXPECT_LE(grid.cellValue(row - 1, 2).toText(), grid.cellValue(row, 2).toText());
    EXPECT_EQ(table->model()->index(0, nameColumn).data().toString().toStdString(), grid.cellValue(0, 2).toText());

    // Grouping: the "ControlType" header dropped on the group-by area.
    app::GroupByArea* area = gridView->groupByArea();
    area->dropColumn(1);
    area->dropColumn(1); // a second drop of the same column adds nothing
    ASSERT_EQ(grid.Groups().Count(), 1);
    EXPECT_EQ(grid.Groups().Item(1).ColIndex, 1);
    EXPECT_EQ(area->shownText().toStdString(), grid.Columns().Item(1).Caption());

    // The card view from the toolbar.
    auto* toolbar = dynamic_cast<app::ToolbarView*>(window->findChild<app::ToolbarView*>());
    ASSERT_NE(toolbar, nullptr);
    ASSERT_NE(toolbar->button("cardview"), nullptr);
    clickAt(toolbar->button("cardview"));
    EXPECT_EQ(grid.View(), controls::jgexCard);
    EXPECT_TRUE(gridView->cards()->isVisible());
    EXPECT_FALSE(table->isVisible());

    // The language combo: German; the English text stays as the reference.
    QComboBox* languages = toolbar->combo("selectedlanguage");
    ASSERT_NE(languages, nullptr);
    int german = languages->findText(QStringLiteral("German"));
    ASSERT_GE(german, 0);
    languages->setFocus();
    while (languages->currentIndex() != german)
        QTest::keyClick(languages, languages->currentIndex() < german ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(session.addin().modMain().mCurrentLanguage, "German");

    // The user makes the window larger, then closes it with the close box: the deferred timer saves.
    window->resize(900, 600);
    EXPECT_EQ(editor->ScaleWidth(), 900 * controls::twipsPerPixelX());
    window->close();
    ASSERT_TRUE(waitFor([&] { return !editor->loaded(); }));
    std::string saved = readFile(fixture.project().parent_path() / "ContextHelp.txt");
    EXPECT_NE(saved.find("Typed &lt;here&gt; &amp; there, Gr\u00F6\u00DFe \u20AC"), std::string::npos);
    EXPECT_NE(saved.find("CurrentLanguage=\"German\""), std::string::npos);
    const std::string position = "Software\\Halvex\\Corvane\\WindowPosition_Main";
    EXPECT_EQ(fixture.registryValue(position, "GridView"), "1");
    EXPECT_FALSE(fixture.registryValue(position, "GridGroups").empty());
    EXPECT_FALSE(fixture.registryValue(position, "Width").empty());
    EXPECT_FALSE(fixture.registryValue("Software\\Halvex", "CorvaneSplitMain").empty());
    EXPECT_TRUE(fixture.reports().empty());
    // Kept in the build folder: scripts/compare-windows.sh checks that the Windows editor wrote
    // the same bytes for the same edits as the Linux one.
    std::filesystem::create_directories(std::filesystem::path(CORVANE_BINARY_DIR) / "edited");
    writeFile(std::filesystem::path(CORVANE_BINARY_DIR) / "edited" / "ContextHelp.txt", saved);

    // Opened again, the window comes back with its size, card view and grouping.
    entry = addInEntry(session.host());
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    FrmWizard* again = session.addin().editor();
    ASSERT_NE(again, nullptr);
    app::FormWindow* reopened = session.windows().window(*again);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->size(), QSize(900, 600));
    auto* gridAgain = dynamic_cast<app::GridView*>(reopened->view("Grid"));
    ASSERT_NE(gridAgain, nullptr);
    EXPECT_TRUE(gridAgain->cards()->isVisible());
    ASSERT_GE(again->Grid().Groups().Count(), 1);
    EXPECT_EQ(again->Grid().Groups().Item(1).ColIndex, 1);
    EXPECT_TRUE(gridAgain->groupByArea()->shownText().startsWith(
        QString::fromStdString(again->Grid().Columns().Item(1).Caption())));
    again->Unload();
}

TEST(EditorWindow, ClosingFromCodeDoesNotSaveAndRemovingTheProjectUnloads) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    std::string before = readFile(fixture.project().parent_path() / "ContextHelp.txt");
    ASSERT_TRUE(session.edit(fixture.project()));
    FrmWizard* editor = session.addin().editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(session.windows().window(*editor), nullptr);
    editor->lbxModules().SetListIndex(0);
    editor->txtHelpText().SetText("never saved");

    // The host removes the project: ItemRemoved unloads the editor from code.
    session.host().removeProject();
    EXPECT_FALSE(editor->loaded());
    EXPECT_EQ(session.windows().window(*editor), nullptr);
    EXPECT_EQ(session.host().projectTree()->topLevelItemCount(), 0);
    // Nothing to wait for: the check is that no save comes, so the deferred close's timer
    // (10 ms) gets five times its interval to fire before the file is compared.
    QTest::qWait(50);
    EXPECT_EQ(readFile(fixture.project().parent_path() / "ContextHelp.txt"), before);
    EXPECT_TRUE(fixture.reports().empty());
    EXPECT_EQ(session.host().recentProjects().front(),
              std::filesystem::absolute(fixture.project()).lexically_normal().string());
}

} // namespace corvane::test
