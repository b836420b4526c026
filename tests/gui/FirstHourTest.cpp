// The editor as a new user meets it in the first hour: every toolbar command shows its Alt
// letter and lists its keys in its tip, the default window shows the whole toolbar and the
// Help Text column, the Preview opens beside the editor and wholly on the screen with a close
// box of its own, load problems come as one plain message, a read-only data file is said on
// open, and `corvane edit` ends with its editor.
#include "gui/GuiTestSupport.h"

#include "app/editor/EditHistory.h"
#include "app/editor/EditorFilters.h"
#include "app/editor/FindWindow.h"
#include "app/preview/PreviewWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <set>

namespace corvane::test {

namespace {

QRect inWindow(QWidget* widget, QWidget* window) { return {widget->mapTo(window, QPoint(0, 0)), widget->size()}; }

app::FormWindow* editorWindow(GuiFixture& fixture) {
    FrmWizard* editor = fixture.session().addin().editor();
    return editor ? fixture.session().windows().window(*editor) : nullptr;
}

} // namespace

TEST(FirstHour, EveryToolbarCommandShowsOneAltLetterAndListsItsKeys) {
    GuiFixture fixture;
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    // The captioned commands: the letter is marked in the caption and named in the tip.
    const std::vector<std::pair<std::string, std::string>> expected{
        {"compile", "C&ompile"},       {"spellcheck", "&Spell Check"}, {"tableview", "&Table View"},
        {"cardview", "C&ard View"},    {"options", "O&ptions"},        {"helpcontents", "&Contents"},
    };
    std::set<QChar> letters;
    for (const auto& [name, caption] : expected) {
        SCOPED_TRACE(name);
        QToolButton* button = toolbar->button(name);
        ASSERT_NE(button, nullptr);
        QAction* action = button->defaultAction();
        EXPECT_EQ(action->text().toStdString(), caption);
        QChar letter = action->text().at(action->text().indexOf(QLatin1Char('&')) + 1).toUpper();
        EXPECT_TRUE(letters.insert(letter).second) << "the letter " << QString(letter).toStdString() << " twice";
        EXPECT_TRUE(action->toolTip().contains(QStringLiteral("Alt+") + letter)) << action->toolTip().toStdString();
        EXPECT_TRUE(action->shortcuts().contains(QKeySequence(QStringLiteral("Alt+") + letter)));
        EXPECT_TRUE(button->isVisible()) << "hidden behind the toolbar's extension";
    }
    // A picture without a shortcut gets the first free initial of its tip; Save keeps Ctrl+S.
    QAction* languages = toolbar->button("languageoptions")->defaultAction();
    EXPECT_EQ(languages->toolTip().toStdString(), "Configure language support (Alt+L)");
    EXPECT_EQ(toolbar->button("save")->defaultAction()->toolTip().toStdString(), "Save the help text now (Ctrl+S)");
    EXPECT_EQ(toolbar->button("spellcheck")->defaultAction()->toolTip().toStdString(),
              "Spell Check the help text for all modules (F7, Alt+S)");
    // The Preview, added beside the tools, takes a letter no tool uses.
    auto* preview = editorWindow(fixture)->findChild<app::PreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->toggleAction()->text().toStdString(), "P&review");
    EXPECT_EQ(preview->toggleAction()->toolTip().toStdString(), "Show the layout of the selected module (Alt+R)");

    // The marked letter is drawn underlined: the button's picture differs from one without the mark.
    QToolButton* options = toolbar->button("options");
    QImage marked = options->grab().toImage();
    QToolButton plain;
    plain.setToolButtonStyle(options->toolButtonStyle());
    plain.setIcon(options->icon());
    plain.setText(QStringLiteral("Options"));
    plain.setIconSize(options->iconSize());
    plain.setAutoRaise(options->autoRaise());
    plain.resize(options->size());
    EXPECT_NE(marked, plain.grab().toImage());

    // The Alt letters run the commands: Alt+R opens the Preview, Alt+L the languages dialog.
    app::FormWindow* window = editorWindow(fixture);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return preview->isVisible(); }));
    bool languagesShown = false;
    answerWhenShown(fixture.session().windows(), "frmSelectLanguages", [&](app::FormWindow& dialog) {
        languagesShown = true;
        dialog.close();
    });
    window->activateWindow();
    QTest::keyClick(window, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return languagesShown; }));
    EXPECT_TRUE(fixture.reports().empty());
    fixture.session().addin().editor()->Unload();
}

TEST(FirstHour, TheDefaultWindowShowsTheWholeToolbarAndTheHelpTextColumn) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = editorWindow(fixture);
    editor->lbxModules().SetListIndex(2);
    auto* toolbar = window->findChild<app::ToolbarView*>();
    ASSERT_NE(toolbar, nullptr);
    waitFor([&] { return window->isVisible(); });
    // Every widget of the toolbar is shown in the bar, none behind its "»".
    EXPECT_GE(toolbar->width(), toolbar->sizeHint().width());
    for (QWidget* child : toolbar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        bool extension = child->objectName() == QStringLiteral("qt_toolbar_ext_button");
        EXPECT_TRUE(extension || child->isVisible()) << child->objectName().toStdString();
    }
    // The grid's Help Text column lies wholly inside the grid's view.
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_NE(grid, nullptr);
    QTableView* table = grid->table();
    int helpColumn = -1;
    for (int c = 0; c < table->model()->columnCount(); ++c)
        if (table->model()->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Help Text"))
            helpColumn = c;
    ASSERT_GE(helpColumn, 0);
    QHeaderView* header = table->horizontalHeader();
    int right = header->sectionViewportPosition(helpColumn) + header->sectionSize(helpColumn);
    EXPECT_LE(right, table->viewport()->width() + 1);
    EXPECT_TRUE(window->rect().contains(inWindow(table, window)));
    editor->Unload();
}

TEST(FirstHour, ThePreviewOpensBesideTheEditorOnScreenAndClosesByItsOwnBox) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    app::FormWindow* window = editorWindow(fixture);
    auto* preview = window->findChild<app::PreviewWindow*>();
    ASSERT_NE(preview, nullptr);
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(preview->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(preview->windowFlags().testFlag(Qt::WindowTitleHint));

    // With room on the right the preview opens there, beside the editor, not over it.
    window->setGeometry(screen.left() + 10, screen.top() + 30, screen.width() / 2, screen.height() / 2);
    preview->resize(screen.width() / 3, screen.height() / 3);
    preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return preview->isVisible(); }));
    EXPECT_GE(preview->frameGeometry().left(), window->frameGeometry().right());
    EXPECT_TRUE(screen.contains(preview->frameGeometry()));
    // Escape and the close box close it, and the toolbar button follows. Escape counts while the
    // preview is the active window; at an X server without a window manager a busy machine can
    // hand the focus back to the editor after the preview got it, so the press is repeated then.
    bool closedByEscape = false;
    for (int attempt = 0; attempt < 5 && !closedByEscape; ++attempt) {
        preview->activateWindow();
        if (!QTest::qWaitForWindowActive(preview))
            continue;
        QTest::keyClick(preview, Qt::Key_Escape);
        closedByEscape = QTest::qWaitFor([&] { return !preview->isVisible(); }, 1000);
    }
    EXPECT_TRUE(closedByEscape);
    EXPECT_FALSE(preview->toggleAction()->isChecked());

    // A place stored off the screen (its title bar above it) is brought back onto it.
    preview->move(screen.right() - 20, screen.top() - 200);
    preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return preview->isVisible(); }));
    EXPECT_TRUE(screen.contains(preview->frameGeometry()));
    preview->close(); // as the close box does
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(preview->toggleAction()->isChecked());
    fixture.session().addin().editor()->Unload();
}

TEST(FirstHour, MissingFormsComeInOneMessageThatNamesEachFile) {
    GuiFixture fixture;
    const auto folder = fixture.project().parent_path();
    std::filesystem::remove(folder / "frmAbout.frm");
    std::filesystem::remove(folder / "frmCustomer.frm");
    ASSERT_NE(fixture.openEditor(), nullptr);
    ASSERT_EQ(fixture.messages().size(), 1u);
    const std::string& message = fixture.messages()[0];
    EXPECT_EQ(message.rfind("Corvane could not read the controls of 2 modules:\n", 0), 0u) << message;
    for (const char* form : {"frmAbout", "frmCustomer"}) {
        std::string line = std::string("  ") + form + ": File not found: '" + (folder / form).string() + ".frm'";
        EXPECT_NE(message.find(line), std::string::npos) << message;
    }
    EXPECT_NE(message.find("can still be edited"), std::string::npos);
    EXPECT_TRUE(fixture.reports().empty());
    fixture.session().addin().editor()->Unload();
}

TEST(FirstHour, AReadOnlyDataFileIsSaidOnOpenAndTheEditorSavesNothing) {
    GuiFixture fixture;
    const auto dataFile = fixture.project().parent_path() / "ContextHelp.txt";
    const std::string before = readFile(dataFile);
    std::filesystem::permissions(dataFile, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                               std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    ASSERT_FALSE(fixture.messages().empty());
    EXPECT_NE(fixture.messages()[0].find("is read-only"), std::string::npos) << fixture.messages()[0];
    EXPECT_TRUE(editor->readOnly());
    EXPECT_NE(editor->Caption().find("[read-only]"), std::string::npos);
    EXPECT_TRUE(editor->txtHelpText().Locked());
    // Closing with the close box saves nothing and reports nothing.
    editor->userClose();
    EXPECT_TRUE(waitFor([&] { return !editor->loaded(); }));
    EXPECT_EQ(readFile(dataFile), before);
    EXPECT_TRUE(fixture.reports().empty());
}

TEST(FirstHour, CtrlZUndoesAGridEditAndCtrlYRedoesIt) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = editorWindow(fixture);
    auto* history = window->findChild<app::EditHistory*>();
    ASSERT_NE(history, nullptr);
    editor->lbxModules().SetListIndex(2);
    editor->Grid().SetRow(1);
    const std::string module = editor->lbxModules().Text();
    const std::string control = editor->Grid().Value(HelpGridColumn::ControlName).toText();
    auto text = [&] { return editor->formsData()->Item(module)->Item(control)->GetHelpText("English"); };
    const std::string original = text();

    // Typing into the cell, keystroke by keystroke, is one step.
    auto* gridView = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_NE(gridView, nullptr);
    QTableView* table = gridView->table();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QModelIndex cell = table->currentIndex().siblingAtColumn(gridView->model()->modelColumn(HelpGridColumn::HelpText));
    table->setFocus();
    table->edit(cell);
    auto* cellEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(cellEditor, nullptr);
    cellEditor->selectAll();
    QTest::keyClicks(cellEditor, QStringLiteral("Typed anew"));
    QTest::keyClick(cellEditor, Qt::Key_Return);
    EXPECT_EQ(text(), "Typed anew");
    EXPECT_EQ(history->stack().count(), 1);

    // Another module is shown when Ctrl+Z comes: the text goes back, and its row is shown.
    editor->lbxModules().SetListIndex(0);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), original);
    EXPECT_EQ(editor->lbxModules().Text(), module);
    EXPECT_EQ(editor->Grid().Value(HelpGridColumn::ControlName).toText(), control);
    EXPECT_EQ(editor->txtHelpText().Text(), original);
    QTest::keyClick(table, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), "Typed anew");
    EXPECT_EQ(editor->txtHelpText().Text(), "Typed anew");
    // An undone edit is still an edit to save.
    history->undoAction()->trigger();
    EXPECT_EQ(text(), original);
    EXPECT_TRUE(editor->hasUnsavedEdits());
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(FirstHour, CtrlFFindsATextInAnotherModuleAndSteps) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = editorWindow(fixture);
    auto* find = window->findChild<app::FindWindow*>();
    ASSERT_NE(find, nullptr);
    editor->lbxModules().SetListIndex(0);
    editor->Grid().SetRow(0);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return find->isVisible(); }));

    // A text only frmAbout's cmdSysInfo holds, ignoring case: Enter shows it in the editor.
    find->input().setText(QStringLiteral("SUPPORT may ask"));
    QTest::keyClick(&find->input(), Qt::Key_Return);
    EXPECT_EQ(editor->lbxModules().Text(), "frmAbout");
    EXPECT_EQ(editor->Grid().Value(HelpGridColumn::ControlName).toText(), "cmdSysInfo");
    EXPECT_EQ(find->outcome().toStdString(), "frmAbout.cmdSysInfo");

    // A name found in several modules: next and previous step through them and wrap.
    find->input().setText(QStringLiteral("cmdOK"));
    ASSERT_TRUE(find->find(true));
    const std::string first = find->outcome().toStdString();
    std::vector<std::string> seen{first};
    for (int i = 0; i < 10 && find->find(true) && find->outcome().toStdString() != first; ++i)
        seen.push_back(find->outcome().toStdString());
    EXPECT_EQ(find->outcome().toStdString(), first) << "the search wraps";
    EXPECT_GE(seen.size(), 1u);
    if (seen.size() > 1) {
        ASSERT_TRUE(find->find(false));
        EXPECT_EQ(find->outcome().toStdString(), seen.back());
    }

    // A text nowhere: said, and the editor stays where it was.
    const std::string module = editor->lbxModules().Text();
    find->input().setText(QStringLiteral("no control says this"));
    EXPECT_FALSE(find->find(true));
    EXPECT_EQ(find->outcome().toStdString(), "\"no control says this\" was not found");
    EXPECT_EQ(editor->lbxModules().Text(), module);
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(FirstHour, FiltersKeepModulesByNameAndControlsWithoutHelpText) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = editorWindow(fixture);
    auto* filters = window->findChild<app::EditorFilters*>();
    ASSERT_NE(filters, nullptr);
    ASSERT_NE(filters->moduleFilter(), nullptr);
    auto* modules = qobject_cast<QListWidget*>(window->view("lbxModules"));
    ASSERT_NE(modules, nullptr);
    auto shownModules = [&] {
        std::vector<std::string> shown;
        for (int row = 0; row < modules->count(); ++row)
            if (!modules->isRowHidden(row))
                shown.push_back(modules->item(row)->text().toStdString());
        return shown;
    };
    QTest::keyClicks(filters->moduleFilter(), QStringLiteral("ORDER"));
    EXPECT_EQ(shownModules(), (std::vector<std::string>{"frmOrder", "docOrderStatus"}));
    QTest::keyClick(filters->moduleFilter(), Qt::Key_Escape);
    EXPECT_EQ(shownModules().size(), static_cast<size_t>(modules->count()));

    // Without Help Text: only the rows of controls with no text in the current language.
    editor->lbxModules().SetListIndex(2); // frmOrder
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_NE(grid, nullptr);
    QTableView* table = grid->table();
    const int helpColumn = grid->model()->modelColumn(HelpGridColumn::HelpText);
    auto rows = [&](bool withText) {
        int count = 0;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (!table->isRowHidden(row) &&
                grid->model()->index(row, helpColumn).data().toString().trimmed().isEmpty() != withText)
                ++count;
        return count;
    };
    const int withText = rows(true), without = rows(false);
    ASSERT_GT(withText, 0);
    ASSERT_GT(without, 0) << "frmOrder has controls without text";
    filters->withoutTextAction()->trigger();
    EXPECT_EQ(rows(true), 0);
    EXPECT_EQ(rows(false), without);
    // It holds for the next module, and goes when switched off.
    editor->lbxModules().SetListIndex(3);
    EXPECT_TRUE(waitFor([&] { return rows(true) == 0; }));
    filters->withoutTextAction()->trigger();
    editor->lbxModules().SetListIndex(2);
    EXPECT_TRUE(waitFor([&] { return rows(true) == withText && rows(false) == without; }));
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(FirstHour, TheCardViewShowsOnlyTheControlsWithoutHelpTextAsTheTableDoes) {
    GuiFixture fixture;
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = editorWindow(fixture);
    auto* filters = window->findChild<app::EditorFilters*>();
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_TRUE(filters && grid);
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QToolButton* withoutText = nullptr;
    for (QToolButton* button : toolbar->findChildren<QToolButton*>())
        if (button->defaultAction() == filters->withoutTextAction())
            withoutText = button;
    ASSERT_NE(withoutText, nullptr);
    clickAt(toolbar->button("cardview"));
    QListView* cards = grid->cards();
    ASSERT_TRUE(waitFor([&] { return cards->isVisible(); }));
    const int helpColumn = grid->model()->modelColumn(HelpGridColumn::HelpText);
    // The cards laid out in the view, by whether their control has help text.
    auto laidOut = [&](bool withText) {
        int count = 0;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (!cards->visualRect(grid->model()->index(row, 0)).isEmpty() &&
                grid->model()->index(row, helpColumn).data().toString().trimmed().isEmpty() != withText)
                ++count;
        return count;
    };
    auto sameRowsAsTheTable = [&] {
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (cards->isRowHidden(row) != grid->table()->isRowHidden(row))
                return false;
        return true;
    };
    editor->lbxModules().SetListIndex(2); // frmOrder: controls with and without text
    ASSERT_TRUE(waitFor([&] { return laidOut(false) > 0; }));
    const int withText = laidOut(true), without = laidOut(false);
    ASSERT_GT(withText, 0);
    clickAt(withoutText);
    ASSERT_TRUE(filters->withoutTextAction()->isChecked());
    EXPECT_TRUE(waitFor([&] { return laidOut(true) == 0; }));
    EXPECT_EQ(laidOut(false), without);
    EXPECT_TRUE(sameRowsAsTheTable());
    // The filter holds for the next module, in the table view and back in the cards.
    editor->lbxModules().SetListIndex(3);
    EXPECT_TRUE(waitFor([&] { return grid->model()->rowCount() > 0 && laidOut(true) == 0; }));
    clickAt(toolbar->button("tableview"));
    clickAt(toolbar->button("cardview"));
    EXPECT_TRUE(sameRowsAsTheTable());
    editor->lbxModules().SetListIndex(2);
    EXPECT_TRUE(waitFor([&] { return laidOut(true) == 0 && laidOut(false) == without; }));
    // Switched off, every card is back.
    clickAt(withoutText);
    EXPECT_TRUE(waitFor([&] { return laidOut(true) == withText && laidOut(false) == without; }));
    EXPECT_TRUE(sameRowsAsTheTable());
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(FirstHour, TheEditorsProgramEndsWhenTheEditorCloses) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    bool ended = false;
    fixture.session().endWithEditor([&] { ended = true; });
    fixture.session().host().show();
    editor->userClose(); // the close box: the editor saves, unloads, and the program ends
    EXPECT_TRUE(waitFor([&] { return ended; }));
    EXPECT_FALSE(editor->loaded());
    EXPECT_FALSE(fixture.session().host().isVisible());
}

} // namespace corvane::test
