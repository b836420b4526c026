// The editor's surface where the user looks: kept entries of removed modules, the module
// list's marks and caption beside the filter box, the rows Find leaves, and the toolbar's
// keys in a window too narrow for all of its buttons; windows placed where the user sees them;
// the host window's menu and title; captions in the grid as their controls show them.
#include "gui/GuiTestSupport.h"

#include "app/editor/FindWindow.h"
#include "app/editor/ModuleListMark.h"
#include "app/host/HostWindow.h"
#include "app/preview/PreviewWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "controls/WindowSystem.h"
#include "registry/RegistryAccess.h"
#include "testsupport/TreeFiles.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPaintEvent>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

const char* const LongName = "frmAboutThisOrderEntryProgramAndItsMaker"; // as long as VB allows

// The example's frmAbout under another, long name: the stored frmAbout is then a module that
// left the project, kept for its text, and the long one a module without text.
void renameAboutForm(const GuiFixture& fixture) {
    const auto form = fixture.project().parent_path() / "frmAbout.frm";
    std::string text = readFile(form);
    for (const std::string& line : {std::string("Attribute VB_Name = \"frmAbout\""), std::string("Begin VB.Form frmAbout")}) {
        auto at = text.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        text.replace(text.find("frmAbout", at), 8, LongName);
    }
    writeFile(form, text);
}

QListWidgetItem* moduleRow(QListWidget& modules, const char* name) {
    auto found = modules.findItems(QString::fromLatin1(name), Qt::MatchExactly);
    return found.size() == 1 ? found.front() : nullptr;
}

// The region a widget was asked to paint since the last call.
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget* widget) { widget->installEventFilter(this); }
    QRegion take() { return std::exchange(region_, QRegion()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            region_ += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }

private:
    QRegion region_;
};

} // namespace

TEST(EditorSurface, ARemovedModuleIsListedAtOnceAndALongNameKeepsClearOfTheMarkAndTheFilter) {
    GuiFixture fixture;
    renameAboutForm(fixture);
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    auto* modules = qobject_cast<QListWidget*>(window->view("lbxModules"));
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_TRUE(modules && grid);
    window->resize(640, 480);

    // The module that left the project is listed without a save, its entries marked removed
    // in the table, whose type column, too narrow for the whole text, shows its end.
    QListWidgetItem* removed = moduleRow(*modules, "frmAbout");
    ASSERT_NE(removed, nullptr);
    clickAt(modules->viewport(), modules->visualItemRect(removed).center());
    QTableView* table = grid->table();
    ASSERT_TRUE(waitFor([&] { return table->model()->rowCount() > 0; }));
    const QString type = table->model()->index(0, 0).data().toString();
    EXPECT_TRUE(type.endsWith(QStringLiteral(" - removed"))) << type.toStdString();
    const int room = table->columnWidth(0) - 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    EXPECT_TRUE(table->fontMetrics().elidedText(type, Qt::ElideLeft, room).endsWith(QStringLiteral(" - removed")));

    // The long name: the list scrolls sideways, and each mark stays in the visible width.
    QListWidgetItem* longRow = moduleRow(*modules, LongName);
    ASSERT_NE(longRow, nullptr);
    EXPECT_TRUE(waitFor([&] { return longRow->data(app::ModuleListMark::MissingTextRole).toInt() > 0; }));
    ASSERT_GT(modules->visualItemRect(longRow).width(), modules->viewport()->width());
    for (QListWidgetItem* row : {longRow, moduleRow(*modules, "frmOrder")}) {
        QRect mark = app::ModuleListMark::markArea(modules->visualItemRect(row), modules);
        EXPECT_TRUE(modules->viewport()->rect().contains(mark)) << row->text().toStdString();
    }

    // Selected, the long name in the caption bar ends before the filter box, whole in its tip.
    clickAt(modules->viewport(), modules->visualItemRect(longRow).center());
    auto* caption = window->view("ModuleListContainer")->findChild<QLabel*>(QStringLiteral("caption"));
    auto* filter = window->findChild<QLineEdit*>(QStringLiteral("moduleFilter"));
    ASSERT_TRUE(caption && filter);
    EXPECT_TRUE(waitFor([&] { return caption->toolTip() == QLatin1String(LongName); }));
    EXPECT_LE(caption->geometry().left() + caption->contentsRect().right(), filter->geometry().left());
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->contentsRect().width());
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("frmAbout")));
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(EditorSurface, FindRepaintsTheRowItLeavesAndHiddenToolbarCommandsKeepTheirKeys) {
    GuiFixture fixture;
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    auto* find = window->findChild<app::FindWindow*>();
    ASSERT_TRUE(grid && find);
    QTableView* table = grid->table();
    editor->lbxModules().SetListIndex(2); // frmOrder
    editor->Grid().SetRow(0);
    ASSERT_TRUE(waitFor([&] { return table->isVisible() && table->model()->rowCount() > 3; }));
    QTest::qWait(50);

    // Find moves the selection within the module: both rows are painted anew.
    PaintedRegion painted(table->viewport());
    const QRect first = table->visualRect(table->model()->index(0, 0));
    const QString target = table->model()->index(3, 1).data().toString();
    find->open();
    auto* input = find->findChild<QLineEdit*>();
    ASSERT_NE(input, nullptr);
    input->setText(target);
    ASSERT_TRUE(find->find(true)) << find->outcome().toStdString();
    EXPECT_EQ(table->currentIndex().row(), 3);
    EXPECT_TRUE(waitFor([&] { return painted.take().contains(QRect(first.left(), first.top(), 1, first.height())); }))
        << "the row left behind keeps its highlight";
    find->close();

    // In a narrow window the table view's button is left out of the bar; Alt+T still runs it.
    editor->Grid().SetView(controls::jgexCard);
    window->resize(260, window->height());
    QToolButton* tableView = toolbar->button("tableview");
    ASSERT_NE(tableView, nullptr);
    ASSERT_TRUE(waitFor([&] { return !tableView->isVisible(); })) << "the window is wide enough for every button";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return editor->Grid().View() == controls::jgexTable; }));
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(EditorSurface, WindowsOpenOnAPresentScreenAndThePreviewKeepsClearOfTheHelpTextColumn) {
    GuiFixture fixture;
    fixture.session();
    // The editor's place was kept while a second screen stood right of this one.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::string key = "Software\\Halvex\\Corvane\\WindowPosition_Main";
    auto twips = [](int pixels, int32_t perPixel) { return std::to_string(pixels * perPixel); };
    registry().SetValue(RegistryRoot::CurrentUser, key, "Left", twips(screen.right() + 200, controls::twipsPerPixelX()));
    registry().SetValue(RegistryRoot::CurrentUser, key, "Top", twips(screen.top() + 40, controls::twipsPerPixelY()));
    registry().SetValue(RegistryRoot::CurrentUser, key, "Width", twips(screen.width(), controls::twipsPerPixelX()));
    registry().SetValue(RegistryRoot::CurrentUser, key, "Height", twips(screen.height() - 80, controls::twipsPerPixelY()));
    ASSERT_NE(fixture.openEditor(), nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    EXPECT_TRUE(screen.contains(QPoint(window->frameGeometry().center().x(), window->frameGeometry().top() + 10)))
        << window->x() << "," << window->y();
    EXPECT_LE(window->frameGeometry().right(), screen.right());

    // The editor fills the screen's width: the Preview has no room beside it and opens over its
    // left side, clear of the Help Text column.
    auto* preview = window->findChild<app::PreviewWindow*>();
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_TRUE(preview && grid && preview->toggleAction());
    editor->lbxModules().SetListIndex(2);
    preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return preview->isVisible(); }));
    QTableView* table = grid->table();
    const int column = grid->model()->modelColumn(HelpGridColumn::HelpText);
    const QRect text(table->viewport()->mapToGlobal(QPoint(table->columnViewportPosition(column), 0)),
                     QSize(table->columnWidth(column), table->viewport()->height()));
    EXPECT_FALSE(preview->frameGeometry().intersects(text))
        << "preview " << preview->frameGeometry().x() << "+" << preview->frameGeometry().width() << ", text column from "
        << text.x();
    EXPECT_TRUE(screen.contains(preview->frameGeometry()));
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

TEST(EditorSurface, TheHostNamesItsProjectAndItsMenuEntriesHaveKeysAndAnswers) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    app::HostWindow& host = fixture.session().host();
    EXPECT_EQ(host.windowTitle(), QStringLiteral("OrderEntry - Corvane - Project Host"));
    host.refreshMenus();
    QStringList entries;
    for (QAction* action : host.addInsMenu()->actions())
        if (!action->isSeparator())
            entries << action->text();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("&Add-In Manager..."), QStringLiteral("&Visual Data Manager..."),
                                    QStringLiteral("&Corvane ...")}));
    const size_t before = fixture.messages().size();
    host.addInsMenu()->actions().front()->trigger();
    ASSERT_EQ(fixture.messages().size(), before + 1);
    EXPECT_EQ(fixture.messages().back().rfind("Add-ins loaded in this host:\n  Corvane ...\n\n", 0), 0u)
        << fixture.messages().back();
    for (QAction* action : host.addInsMenu()->actions())
        if (action->text().startsWith(QStringLiteral("&Visual")))
            action->trigger();
    ASSERT_EQ(fixture.messages().size(), before + 2);
    EXPECT_NE(fixture.messages().back().find("has no Visual Data Manager"), std::string::npos);
    fixture.session().addin().editor()->Unload();
    host.removeProject();
    EXPECT_EQ(host.windowTitle(), QStringLiteral("Corvane - Project Host"));
}

TEST(EditorSurface, CaptionsInTheGridShowAsTheirControlsShowThem) {
    GuiFixture fixture;
    ASSERT_NE(fixture.openEditor(), nullptr);
    // frmCustomer's captions mark access keys ("&Name:"): the grid shows them as the labels do.
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    auto* grid = dynamic_cast<app::GridView*>(window->view("Grid"));
    ASSERT_NE(grid, nullptr);
    editor->lbxModules().SetListIndex(3); // frmCustomer
    app::GridItemModel& model = *grid->model();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.showAsCaptions(HelpGridColumn::Caption);
    const int caption = model.modelColumn(HelpGridColumn::Caption);
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, caption).data(Qt::ToolTipRole).toString() == QStringLiteral("&Name:"))
            shown << model.index(row, caption).data().toString();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Name:")});
    EXPECT_TRUE(fixture.reports().empty());
    editor->Unload();
}

} // namespace corvane::test
