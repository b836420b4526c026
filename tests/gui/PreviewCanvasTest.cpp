// The preview's picture as a widget: tab headers turn pages, clicks pick what the page shows,
// and a highlighted control on a hidden page brings its page into view.
#include "gui/GuiTestSupport.h"

#include "app/preview/PreviewCanvas.h"
#include "preview/PreviewTestFiles.h"
#include "preview/SketchBuilder.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

namespace corvane::test {

namespace {

using preview::testfiles::itemIndex;

QPoint centreOf(const app::PreviewCanvas& canvas, const preview::PixelRect& rect) {
    return canvas.toWidget(QPointF(rect.x + rect.width / 2, rect.y + rect.height / 2)).toPoint();
}

} // namespace

TEST(PreviewCanvas, TabHeadersTurnPagesAndClicksPickWhatThePageShows) {
    ensureApplication();
    TempDir temp;
    auto vbp = preview::testfiles::writeProject(
        temp, {"Form=frmTabs.frm"},
        {{"frmTabs.frm", preview::testfiles::designerFile("VB.Form", "frmTabs", R"frm(   ClientHeight = 3600
   ClientWidth = 4800
   Begin TabDlg.SSTab tabMain
      Height = 3000
      Left = 150
      Top = 150
      Width = 4500
      Tabs = 2
      TabHeight = 450
      TabCaption(0) = "First"
      Tab(0).ControlCount = 1
      Tab(0).Control(0) = "txtFirst"
      TabCaption(1) = "Second"
      Tab(1).ControlCount = 1
      Tab(1).Control(0) = "txtSecond"
      Begin VB.TextBox txtFirst
         Height = 600
         Left = 300
         Top = 900
         Width = 1500
      End
      Begin VB.TextBox txtSecond
         Height = 600
         Left = -74700
         Top = 900
         Width = 1500
      End
   End
)frm")}});
    auto project = vbide::VBProject::open(vbp);
    app::PreviewCanvas canvas;
    canvas.resize(400, 320);
    canvas.setSketch(preview::SketchBuilder(project.get()).build(*project->VBComponents().Item("frmTabs")));
    const preview::FormSketch& sketch = canvas.sketch();
    int tabs = itemIndex(sketch, "tabMain");
    int first = itemIndex(sketch, "txtFirst");
    int second = itemIndex(sketch, "txtSecond");
    std::vector<int> picked;
    canvas.setPickHandler([&](int item) { picked.push_back(item); });
    canvas.setHoverText([&](int item) { return sketch.items[item].key + " (" + sketch.items[item].typeName + ")"; });
    canvas.show();

    QPoint control = centreOf(canvas, sketch.items[first].rect);
    EXPECT_EQ(canvas.hoverTextAt(control).toStdString(), "txtFirst (TextBox)");
    clickAt(&canvas, control);
    clickAt(&canvas, centreOf(canvas, sketch.tabHeader(*sketch.tabSetOf(tabs), 1))); // turns the page
    EXPECT_EQ(canvas.pages().at(tabs), 1);
    clickAt(&canvas, control); // the same place now shows the second page's box
    EXPECT_EQ(picked, (std::vector<int>{first, second}));

    canvas.highlight(first); // framing a control of the hidden page shows its page
    EXPECT_EQ(canvas.pages().at(tabs), 0);
    EXPECT_EQ(canvas.highlighted(), first);
}

} // namespace corvane::test
