// The editor as a user of a desktop editor meets it: keys (Tab, Ctrl+Tab, Alt+letter, F1,
// F7), the text box and the grid cell following each other keystroke by keystroke, the
// question about unsaved edits when the editor is replaced or its project removed, and the
// host window closed while the editor is open.
#include "gui/GuiTestSupport.h"

#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/GroupByArea.h"
#include "app/views/ToolbarView.h"
#include "controls/BusyWindow.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

struct OpenEditor {
    FrmWizard* editor = nullptr;
    app::FormWindow* window = nullptr;
    QPlainTextEdit* helpText = nullptr;
};

// Opens the editor on the first module's first row, its window active.
OpenEditor openOnFirstRow(GuiFixture& fixture) {
    OpenEditor open;
    if (!fixture.openEditor())
        return open;
    open.editor = fixture.session().addin().editor();
    open.window = fixture.session().windows().window(*open.editor);
    open.editor->lbxModules().SetListIndex(0);
    open.editor->Grid().SetRow(0);
    open.helpText = qobject_cast<QPlainTextEdit*>(open.window->view("txtHelpText"));
    open.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(open.window));
    return open;
}

std::string savedHelpData(const GuiFixture& fixture) {
    return readFile(fixture.project().parent_path() / "ContextHelp.txt");
}

} // namespace

TEST(DesktopUse, KeysMoveTheFocusTypeTabsAndReachTheToolbar) {
    GuiFixture fixture;
    ASSERT_TRUE(installHelpFile(fixture));
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.helpText, nullptr);
    FrmWizard& editor = *open.editor;

    // Tab leaves the help text box without typing; Ctrl+Tab types a tab character.
    open.helpText->setFocus();
    QTest::keyClick(open.helpText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(open.helpText, QStringLiteral("Saves"));
    QTest::keyClick(open.helpText, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClicks(open.helpText, QStringLiteral("now"));
    EXPECT_EQ(editor.txtHelpText().Text(), "Saves\tnow");
    QTest::keyClick(open.helpText, Qt::Key_Tab);
    EXPECT_FALSE(open.helpText->hasFocus());
    EXPECT_EQ(editor.txtHelpText().Text(), "Saves\tnow");

    // Alt and a letter of a tool's caption clicks the tool and types nothing.
    open.helpText->setFocus();
    ASSERT_EQ(editor.Grid().View(), controls::jgexTable);
    QTest::keyClick(open.helpText, Qt::Key_A, Qt::AltModifier); // C&ard View (C is Contents')
    EXPECT_EQ(editor.Grid().View(), controls::jgexCard);
    QTest::keyClick(open.helpText, Qt::Key_T, Qt::AltModifier); // &Table View
    EXPECT_EQ(editor.Grid().View(), controls::jgexTable);
    EXPECT_EQ(editor.txtHelpText().Text(), "Saves\tnow");

    // F7 checks the spelling in the chosen scope; F1 opens the help contents.
    editor.SetSpellType("sc_currentitem");
    editor.txtHelpText().SetText("Saves the order.");
    QTest::keyClick(open.helpText, Qt::Key_F7);
    ASSERT_FALSE(fixture.messages().empty());
    EXPECT_EQ(fixture.messages().back(), "Spell check complete for the current item");
    QTest::keyClick(open.helpText, Qt::Key_F1);
    QWidget* help = fixture.session().helpViewer().window();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(waitFor([&] { return help->isVisible(); }));
    EXPECT_TRUE(fixture.reports().empty());
    editor.Unload();
}

TEST(DesktopUse, TheTextBoxAndTheGridCellFollowEachOtherAtEveryKeystroke) {
    GuiFixture fixture;
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.helpText, nullptr);
    FrmWizard& editor = *open.editor;
    auto* gridView = dynamic_cast<app::GridView*>(open.window->view("Grid"));
    ASSERT_NE(gridView, nullptr);
    QTableView* table = gridView->table();
    QModelIndex cell = gridView->model()->index(gridView->model()->modelRow(0), gridView->model()->modelColumn(3));

    // Typing in the text box: the cell is repainted with each keystroke.
    QSignalSpy repaints(gridView->model(), &QAbstractItemModel::dataChanged);
    open.helpText->setFocus();
    QTest::keyClick(open.helpText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(open.helpText, QStringLiteral("O"));
    EXPECT_EQ(cell.data().toString(), QStringLiteral("O"));
    EXPECT_EQ(repaints.count(), 1);
    QTest::keyClicks(open.helpText, QStringLiteral("K"));
    EXPECT_EQ(cell.data().toString(), QStringLiteral("OK"));
    ASSERT_EQ(repaints.count(), 2);
    QModelIndex topLeft = repaints.back().at(0).toModelIndex();
    QModelIndex bottomRight = repaints.back().at(1).toModelIndex();
    EXPECT_TRUE(topLeft.row() <= cell.row() && cell.row() <= bottomRight.row());
    EXPECT_TRUE(topLeft.column() <= cell.column() && cell.column() <= bottomRight.column());

    // Typing in the cell: the text box shows each keystroke.
    table->setFocus();
    table->edit(cell);
    auto* cellEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(cellEditor, nullptr);
    cellEditor->selectAll();
    QTest::keyClick(cellEditor, Qt::Key_N);
    EXPECT_EQ(editor.txtHelpText().Text(), "n");
    EXPECT_EQ(open.helpText->toPlainText(), QStringLiteral("n"));
    QTest::keyClicks(cellEditor, QStringLiteral("ew"));
    EXPECT_EQ(editor.txtHelpText().Text(), "new");
    EXPECT_EQ(cellEditor->text(), QStringLiteral("new"));
    EXPECT_EQ(cellEditor->cursorPosition(), 3);
    EXPECT_EQ(editor.currentForm()->Item(editor.Grid().RowIndex(0))->GetHelpText("English"), "new");

    // A questioned word is selected in the text box.
    editor.txtHelpText().SetText("one\r\ntwoo three");
    editor.txtHelpText().SetSelStart(5);
    editor.txtHelpText().SetSelLength(4);
    EXPECT_EQ(open.helpText->textCursor().selectedText(), QStringLiteral("twoo"));
    EXPECT_TRUE(fixture.reports().empty());
    editor.Unload();
}

TEST(DesktopUse, DialogsOpenCentredOnTheEditorWhichOwnsTheMessagesAndTheBusyWindow) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    session.host().show();
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.window, nullptr);
    open.window->move(60, 40);
    open.window->resize(700, 520); // on the (800 by 600) screen: a dialog need not be pushed back onto it
    ASSERT_TRUE(waitFor([&] { return open.window->size() == QSize(700, 520); }));
    EXPECT_EQ(session.windows().frontWindow(), open.window);

    QPoint dialogCentre;
    QWidget* dialogOwner = nullptr;
    answerWhenShown(session.windows(), "frmOptions", [&](app::FormWindow& dialog) {
        dialogCentre = dialog.frameGeometry().center();
        dialogOwner = session.windows().frontWindow();
        dialog.close();
    });
    auto* toolbar = open.window->findChild<app::ToolbarView*>();
    ASSERT_NE(toolbar, nullptr);
    clickAt(toolbar->button("options"));
    QPoint editorCentre = open.window->frameGeometry().center();
    // Centred within the size of a window frame (which the platform draws as it likes).
    EXPECT_LE((dialogCentre - editorCentre).manhattanLength(), 20) << dialogCentre.x() << "," << dialogCentre.y();
    EXPECT_NE(dialogOwner, open.window); // the modal dialog was in front while it was up

    // The busy window goes over the editor while it works, and back to no owner afterwards.
    controls::BusyWindow& busy = *session.addin().modMain().Busy;
    busy.SetOwner(open.editor);
    busy.SetShowProgress(true);
    busy.Show();
    QWidget* shown = open.window->findChild<QWidget*>(QStringLiteral("BusyWindow"));
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    busy.Hide();
    EXPECT_EQ(shown->parentWidget(), nullptr);
    EXPECT_EQ(open.window->findChild<QWidget*>(QStringLiteral("BusyWindow")), nullptr);
    EXPECT_TRUE(fixture.reports().empty());
    open.editor->Unload();
}

TEST(DesktopUse, TheGroupByAreaExplainsItselfAndItsMenuRemovesOneLevelOrAll) {
    GuiFixture fixture;
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.window, nullptr);
    auto* gridView = dynamic_cast<app::GridView*>(open.window->view("Grid"));
    ASSERT_NE(gridView, nullptr);
    app::GroupByArea* area = gridView->groupByArea();
    EXPECT_TRUE(area->toolTip().contains(QStringLiteral("Right-click")));
    controls::Grid& grid = open.editor->Grid();
    area->dropColumn(1);
    area->dropColumn(4);
    area->dropColumn(2);
    ASSERT_EQ(grid.Groups().Count(), 3);

    std::unique_ptr<QMenu> menu(area->levelMenu());
    QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 5); // three levels, a separator, all
    EXPECT_TRUE(actions[1]->text().contains(QString::fromStdString(grid.Columns().Item(4).Caption())));
    actions[1]->trigger();
    ASSERT_EQ(grid.Groups().Count(), 2);
    EXPECT_EQ(grid.Groups().Item(1).ColIndex, 1);
    EXPECT_EQ(grid.Groups().Item(2).ColIndex, 2);
    menu.reset(area->levelMenu());
    menu->actions().back()->trigger();
    EXPECT_EQ(grid.Groups().Count(), 0);
    menu.reset(area->levelMenu());
    EXPECT_FALSE(menu->actions().back()->isEnabled());
    EXPECT_TRUE(fixture.reports().empty());
    open.editor->Unload();
}

TEST(DesktopUse, ReplacingTheEditorAsksAboutUnsavedEdits) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    std::vector<std::string> asked;
    int answer = controls::vbCancel;
    session.windows().setMessageBoxHandler([&](std::string_view prompt, int style, std::string_view) {
        asked.emplace_back(prompt);
        EXPECT_EQ(controls::buttonSet(style), controls::vbYesNoCancel);
        return answer;
    });
    std::string before = savedHelpData(fixture);
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.editor, nullptr);

    // Nothing edited: a second click replaces the editor without a question.
    ASSERT_TRUE(session.host().clickAddIn("Corvane"));
    EXPECT_TRUE(asked.empty());
    FrmWizard* editor = session.addin().editor();
    editor->lbxModules().SetListIndex(0);
    editor->Grid().SetRow(0);
    editor->txtHelpText().SetText("first edit");

    // Cancel keeps the editor open with its edit.
    ASSERT_TRUE(session.host().clickAddIn("Corvane"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(session.addin().editor(), editor);
    ASSERT_TRUE(editor->loaded());
    EXPECT_EQ(editor->txtHelpText().Text(), "first edit");

    // No drops the edit.
    answer = controls::vbNo;
    ASSERT_TRUE(session.host().clickAddIn("Corvane"));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(savedHelpData(fixture), before);
    editor = session.addin().editor();
    ASSERT_TRUE(editor->loaded());

    // Yes saves as the close box does; removing the project asks too.
    editor->lbxModules().SetListIndex(0);
    editor->Grid().SetRow(0);
    editor->txtHelpText().SetText("kept edit");
    answer = controls::vbYes;
    session.host().removeProject();
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_FALSE(editor->loaded());
    EXPECT_NE(savedHelpData(fixture).find("kept edit"), std::string::npos);
    EXPECT_TRUE(fixture.reports().empty());
}

TEST(DesktopUse, ClosingTheHostWithTheEditorOpenSavesAndEndsTheEventLoop) {
    GuiFixture fixture;
    app::GuiSession& session = fixture.session();
    session.host().show();
    OpenEditor open = openOnFirstRow(fixture);
    ASSERT_NE(open.editor, nullptr);
    open.editor->txtHelpText().SetText("saved when the host closes");

    QTimer::singleShot(0, &session.host(), [&] { session.host().close(); });
    QTimer guard; // the loop must not run on
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    guard.stop();
    EXPECT_FALSE(open.editor->loaded());
    EXPECT_FALSE(session.host().isVisible());
    EXPECT_NE(savedHelpData(fixture).find("saved when the host closes"), std::string::npos);
    EXPECT_TRUE(fixture.reports().empty());
}

} // namespace corvane::test
