// The preview's picture as a widget: tab headers turn pages, clicks pick what the page shows,
// and a highlighted control on a hidden page brings its page into view.
#include "gui/GuiTestSupport.h"

#include "app/preview/PreviewCanvas.h"
#include "preview/PreviewTestFiles.h"
#include "preview/SketchBuilder.h"
#include "app/preview/SketchPainter.h"
#include "vbide/VBProject.h"

#include <gtest/gtest.h>

#include <QImage>

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

TEST(PreviewCanvas, AFrameAtTheTopOfItsFormShowsItsWholeCaptionInsideItsOwnArea) {
    // A frame at Top = 0 once drew its caption above its area, where the form's title bar hid
    // half of it. The pixels the caption changes must lie in the frame's box and be the same
    // as for a frame lower down (40 pixels = 600 twips), moved up.
    ensureApplication();
    TempDir temp;
    auto sketchWith = [&](const std::string& caption, int top) {
        auto vbp = preview::testfiles::writeProject(
            temp, {"Form=frmTop.frm"},
            {{"frmTop.frm", preview::testfiles::designerFile("VB.Form", "frmTop", R"frm(   ClientHeight = 3000
   ClientWidth = 4800
   Begin VB.Frame fraOptions
      Caption = ")frm" + caption + R"frm("
      Height = 1500
      Left = 0
      Top = )frm" + std::to_string(top) + R"frm(
      Width = 3000
   End
)frm")}});
        auto project = vbide::VBProject::open(vbp);
        return preview::SketchBuilder(project.get()).build(*project->VBComponents().Item("frmTop"));
    };
    // The picture points the caption changes, as offsets from the frame's top left corner.
    auto captionPixels = [&](int top) {
        const preview::FormSketch captioned = sketchWith("Shipping options", top);
        const QImage with = app::renderSketch(captioned, {});
        const QImage without = app::renderSketch(sketchWith("", top), {});
        EXPECT_EQ(with.size(), without.size());
        const preview::PixelRect& rect = captioned.items[itemIndex(captioned, "fraOptions")].rect;
        const QPointF corner = app::SketchLayout(captioned).toPicture(QPointF(rect.x, rect.y));
        std::vector<std::pair<int, int>> changed;
        int outside = 0;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y)) {
                    changed.emplace_back(x - static_cast<int>(corner.x()), y - static_cast<int>(corner.y()));
                    outside += QRectF(corner, QSizeF(rect.width, rect.height)).contains(QPointF(x + 0.5, y + 0.5)) ? 0 : 1;
                }
        EXPECT_EQ(outside, 0) << "at Top = " << top;
        return changed;
    };
    const auto atTop = captionPixels(0);
    EXPECT_GT(atTop.size(), 20u); // the caption is drawn
    EXPECT_EQ(atTop, captionPixels(600));
}

} // namespace corvane::test
