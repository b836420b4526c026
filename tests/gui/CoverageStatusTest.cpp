// The editor window's coverage figures: the status line under the panes and the marks on the
// module list, against the example project's known counts and `corvane coverage` itself.
#include "gui/GuiTestSupport.h"

#include "app/editor/CoverageStatus.h"
#include "app/editor/ModuleListMark.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"
#include "testsupport/TreeFiles.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

// How many controls the module list's row of `module` marks as lacking text, and its tooltip.
std::pair<int, std::string> markOf(QListWidget& modules, const char* module) {
    auto found = modules.findItems(QString::fromLatin1(module), Qt::MatchExactly);
    if (found.size() != 1) {
        ADD_FAILURE() << "no row " << module;
        return {-1, ""};
    }
    return {found.front()->data(app::ModuleListMark::MissingTextRole).toInt(), found.front()->toolTip().toStdString()};
}

void chooseLanguage(app::ToolbarView& toolbar, const char* language) {
    QComboBox* languages = toolbar.combo("selectedlanguage");
    ASSERT_NE(languages, nullptr);
    int index = languages->findText(QString::fromLatin1(language));
    ASSERT_GE(index, 0);
    languages->setFocus();
    while (languages->currentIndex() != index)
        QTest::keyClick(languages, languages->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
}

} // namespace

TEST(CoverageStatus, FollowsModuleLanguageAndEditsWithTheCountsOfTheCoverageCommand) {
    GuiFixture fixture;
    app::ToolbarView* toolbar = fixture.openEditor();
    ASSERT_NE(toolbar, nullptr);
    FrmWizard* editor = fixture.session().addin().editor();
    app::FormWindow* window = fixture.session().windows().window(*editor);
    auto* status = window->findChild<app::CoverageStatus*>();
    auto* modules = qobject_cast<QListWidget*>(window->view("lbxModules"));
    ASSERT_TRUE(status && modules);
    auto shows = [&](const std::string& expected) {
        return waitFor([&] { return status->text().toStdString() == expected; })
                   ? testing::AssertionSuccess()
                   : testing::AssertionFailure() << "shows '" << status->text().toStdString() << "'";
    };

    // The line lies below the panes, inside the window.
    QRect line(status->mapTo(window, QPoint(0, 0)), status->size());
    EXPECT_TRUE(status->isVisible());
    EXPECT_GE(line.top(), window->body()->mapTo(window, QPoint(0, 0)).y() + window->body()->height());
    EXPECT_TRUE(window->rect().contains(line));
    // In a window too low for a whole grid row beside it, the line gives way, and comes back.
    QSize normal = window->size();
    window->resize(normal.width(), 150);
    // The panes take the line's room (the body and the panes follow the resize in turn).
    auto panesFillTheBody = [&] { return window->view("splitMain")->height() == window->body()->height(); };
    EXPECT_TRUE(waitFor([&] { return status->isHidden() && panesFillTheBody(); }));
    EXPECT_EQ(window->view("splitMain")->height(), window->body()->height());
    window->resize(normal);
    EXPECT_TRUE(waitFor([&] { return status->isVisible() && window->size() == normal && panesFillTheBody(); }));
    EXPECT_EQ(window->view("splitMain")->height(), window->body()->height());

    // The module the user clicks, in the file's current language.
    auto order = modules->findItems(QStringLiteral("frmOrder"), Qt::MatchExactly);
    ASSERT_EQ(order.size(), 1);
    clickAt(modules->viewport(), modules->visualItemRect(order.front()).center());
    EXPECT_TRUE(shows("frmOrder, English: 11 of 17 controls have help text"));
    EXPECT_EQ(markOf(*modules, "mdiMain"), std::make_pair(0, std::string()));
    EXPECT_EQ(markOf(*modules, "frmOrder"), std::make_pair(6, std::string("6 controls have no help text in English")));
    EXPECT_EQ(markOf(*modules, "frmAbout").first, 5);
    EXPECT_EQ(modules->item(modules->currentRow())->text().toStdString(), "frmOrder"); // the names stay

    // Another language: every module lacks some German text.
    chooseLanguage(*toolbar, "German");
    ASSERT_EQ(fixture.session().addin().modMain().mCurrentLanguage, "German");
    EXPECT_TRUE(shows("frmOrder, German: 10 of 17 controls have help text"));
    EXPECT_EQ(markOf(*modules, "mdiMain"), std::make_pair(1, std::string("1 control has no help text in German")));
    EXPECT_EQ(markOf(*modules, "ppgAddress").first, 3);

    // The user writes the German text of cmdPrint; text of spaces only is no help text.
    controls::Grid& grid = editor->Grid();
    int32_t row = 0;
    while (row < grid.RowCount() && grid.cellValue(row, 2).toText() != "cmdPrint")
        ++row;
    ASSERT_LT(row, grid.RowCount());
    grid.SetRow(row);
    auto* helpText = qobject_cast<QPlainTextEdit*>(window->view("txtHelpText"));
    ASSERT_NE(helpText, nullptr);
    helpText->setFocus();
    QTest::keyClick(helpText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(helpText, QStringLiteral("   "));
    EXPECT_TRUE(shows("frmOrder, German: 10 of 17 controls have help text"));
    QTest::keyClicks(helpText, QStringLiteral("Druckt den Auftrag."));
    EXPECT_TRUE(shows("frmOrder, German: 11 of 17 controls have help text"));
    EXPECT_EQ(markOf(*modules, "frmOrder").first, 6);

    // The command line counts the saved file the same way.
    window->close();
    ASSERT_TRUE(waitFor([&] { return !editor->loaded(); }));
    ToolRun coverage = runCorvane("coverage \"" + fixture.project().string() + "\" --language German");
    EXPECT_NE(coverage.output.find("  frmOrder: 11 of 17; missing:"), std::string::npos) << coverage.output;
    EXPECT_TRUE(fixture.reports().empty());
}

} // namespace corvane::test
