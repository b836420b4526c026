// The editor's layout preview, worked as a user works it: the toolbar button opens it, a click
// on a control selects that control's row in the grid, selecting a row frames the control, and
// hiding it leaves the editor's layout as it was.
#include "gui/GuiTestSupport.h"

#include "app/preview/CoverageIndex.h"
#include "app/preview/PreviewCanvas.h"
#include "app/preview/PreviewWindow.h"
#include "editor/FrmWizard.h"
#include "preview/PreviewTestFiles.h"
#include "settings/ModMain.h"
#include "testsupport/TempDir.h"
#include "vbide/CommandBars.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

const std::string PreviewKey = "Software\\Halvex\\Corvane\\WindowPosition_Preview";

using preview::testfiles::itemIndex;

// Picks a module in the editor's list as the user does.
void selectModule(app::FormWindow& window, const char* module) {
    auto* modules = qobject_cast<QListWidget*>(window.view("lbxModules"));
    ASSERT_NE(modules, nullptr);
    auto found = modules->findItems(QString::fromLatin1(module), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    clickAt(modules->viewport(), modules->visualItemRect(found.front()).center());
}

// The grid's current record's control key.
std::string currentKey(FrmWizard& editor) { return editor.Grid().Value(2).toText(); }

struct Opened {
    FrmWizard* editor = nullptr;
    app::FormWindow* window = nullptr;
    app::PreviewWindow* preview = nullptr;
};

Opened openWithPreview(GuiFixture& fixture) {
    Opened opened;
    if (!fixture.openEditor())
        return opened;
    opened.editor = fixture.session().addin().editor();
    opened.window = fixture.session().windows().window(*opened.editor);
    opened.preview = opened.window ? opened.window->findChild<app::PreviewWindow*>() : nullptr;
    return opened;
}

} // namespace

TEST(PreviewWindow, ClickPicksTheRowAndTheRowFramesTheControl) {
    GuiFixture fixture;
    Opened opened = openWithPreview(fixture);
    ASSERT_NE(opened.preview, nullptr);
    FrmWizard& editor = *opened.editor;
    app::PreviewWindow& preview = *opened.preview;
    selectModule(*opened.window, "frmOrder");
    ASSERT_NE(preview.toggleAction(), nullptr);
    EXPECT_FALSE(preview.isVisible());
    preview.toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return preview.isVisible() && preview.canvas().width() > 200; }));
    app::PreviewCanvas& canvas = preview.canvas();
    const preview::FormSketch& sketch = canvas.sketch();
    ASSERT_EQ(sketch.moduleName, "frmOrder");

    // A click on the search button inside the customer frame makes its row current.
    int button = itemIndex(sketch, "cmdFindCustomer");
    ASSERT_GE(button, 0);
    const preview::PixelRect& place = sketch.items[button].rect;
    QPoint centre = canvas.toWidget(QPointF(place.x + place.width / 2, place.y + place.height / 2)).toPoint();
    EXPECT_EQ(canvas.itemAt(centre), button);
    clickAt(&canvas, centre);
    EXPECT_EQ(currentKey(editor), "cmdFindCustomer");
    EXPECT_EQ(canvas.highlighted(), button);
    EXPECT_TRUE(canvas.hoverTextAt(centre).startsWith(QStringLiteral("cmdFindCustomer (CommandButton)\nSearches")))
        << canvas.hoverTextAt(centre).toStdString();

    // A click on the form's background changes nothing.
    clickAt(&canvas, canvas.toWidget(QPointF(sketch.clientWidth - 2, sketch.clientHeight - 2)).toPoint());
    EXPECT_EQ(currentKey(editor), "cmdFindCustomer");

    // The reverse: the user moves to another row; the preview frames that control.
    int32_t target = -1;
    for (int32_t position = 0; position < editor.Grid().ItemCount(); ++position)
        if (editor.currentForm()->Item(editor.Grid().RowIndex(position))->ControlName == "optPayment(1)")
            target = position;
    ASSERT_GE(target, 0);
    app::ViewContext context;
    context.act([&] { editor.Grid().SetRow(target); });
    EXPECT_EQ(canvas.highlighted(), itemIndex(sketch, "optPayment(1)"));

    // Coverage: a control with English help text and one without are told apart.
    app::CoverageIndex coverage(editor.currentForm().get(), editor.settings().mCurrentLanguage);
    EXPECT_EQ(coverage.coverageOf(sketch.items[button]), app::Coverage::WithText);
    EXPECT_EQ(coverage.coverageOf(sketch.items[itemIndex(sketch, "lblCustomer")]), app::Coverage::WithoutText);
    EXPECT_EQ(coverage.coverageOf(sketch.items[itemIndex(sketch, "fraCustomer")]), app::Coverage::WithoutText);
    EXPECT_TRUE(fixture.reports().empty());
}

TEST(PreviewWindow, HidingLeavesTheEditorAsItWasAndItsPlaceIsKept) {
    GuiFixture fixture;
    Opened opened = openWithPreview(fixture);
    ASSERT_NE(opened.preview, nullptr);
    FrmWizard& editor = *opened.editor;
    selectModule(*opened.window, "frmMain");
    QRect editorPlace = opened.window->geometry();
    int32_t mainPane = editor.splitMain().Panes(1).Size();
    int32_t rightPane = editor.splitright().Panes(1).Size();
    std::string storedSplit = fixture.registryValue("Software\\Halvex", "CorvaneSplitMain");

    opened.preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return opened.preview->isVisible(); }));
    opened.preview->move(40, 50);
    opened.preview->resize(300, 260);
    opened.preview->toggleAction()->trigger();
    EXPECT_FALSE(opened.preview->isVisible());
    EXPECT_EQ(opened.window->geometry(), editorPlace);
    EXPECT_EQ(editor.splitMain().Panes(1).Size(), mainPane);
    EXPECT_EQ(editor.splitright().Panes(1).Size(), rightPane);
    EXPECT_EQ(fixture.registryValue("Software\\Halvex", "CorvaneSplitMain"), storedSplit);
    EXPECT_EQ(fixture.registryValue(PreviewKey, "Visible"), "0");
    EXPECT_EQ(fixture.registryValue(PreviewKey, "Width"), std::to_string(app::ViewContext::toTwipsX(300)));

    // Opened again and left open, it is open at the next start, where it was.
    opened.preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return opened.preview->isVisible(); }));
    editor.Unload();
    EXPECT_EQ(fixture.registryValue(PreviewKey, "Visible"), "1");
    app::ViewContext context;
    context.act([&] { fixture.session().addin().wizard()->menuEntry()->click(); });
    FrmWizard* reopened = fixture.session().addin().editor();
    ASSERT_NE(reopened, nullptr);
    app::FormWindow* window = fixture.session().windows().window(*reopened);
    auto* again = window ? window->findChild<app::PreviewWindow*>() : nullptr;
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->toggleAction()->isChecked());
    EXPECT_EQ(again->width(), 300);
}

TEST(PreviewWindow, UnreadableDesignerIsAMessageInThePictureNotAMessageBox) {
    GuiFixture fixture;
    writeFile(fixture.project().parent_path() / "frmAbout.frm", "VERSION 5.00\r\nBegin VB.Form frmAbout\r\n");
    Opened opened = openWithPreview(fixture);
    ASSERT_NE(opened.preview, nullptr);
    opened.preview->toggleAction()->trigger();
    ASSERT_TRUE(waitFor([&] { return opened.preview->isVisible(); }));
    size_t messages = fixture.messages().size();
    selectModule(*opened.window, "frmAbout");
    const preview::FormSketch& sketch = opened.preview->canvas().sketch();
    EXPECT_EQ(sketch.moduleName, "frmAbout");
    EXPECT_NE(sketch.unreadable.find("frmAbout"), std::string::npos) << sketch.unreadable;
    EXPECT_EQ(fixture.messages().size(), messages);
    EXPECT_TRUE(fixture.reports().empty());
}

} // namespace corvane::test
