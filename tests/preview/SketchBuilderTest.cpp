#include "preview/DesignerNesting.h"
#include "preview/SketchBuilder.h"
#include "vbide/VBProject.h"
#include "PreviewTestFiles.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::preview;
using corvane::test::TempDir;
using preview::testfiles::designerFile;
using preview::testfiles::itemIndex;
using preview::testfiles::writeProject;

namespace {

// The sketch of one component of a project.
FormSketch sketchOf(const std::filesystem::path& vbp, const std::string& module) {
    auto project = vbide::VBProject::open(vbp);
    return SketchBuilder(project.get()).build(*project->VBComponents().Item(module));
}

const SketchItem& item(const FormSketch& sketch, const std::string& key) {
    for (const SketchItem& candidate : sketch.items)
        if (candidate.key == key)
            return candidate;
    throw std::runtime_error("no item " + key);
}

void expectRect(const SketchItem& item, double x, double y, double width, double height) {
    SCOPED_TRACE(item.key);
    EXPECT_NEAR(item.rect.x, x, 0.01);
    EXPECT_NEAR(item.rect.y, y, 0.01);
    EXPECT_NEAR(item.rect.width, width, 0.01);
    EXPECT_NEAR(item.rect.height, height, 0.01);
}

bool listed(const FormSketch& sketch, const std::string& key) {
    for (const Oddity& oddity : sketch.oddities)
        if (oddity.key == key)
            return true;
    return false;
}

} // namespace

TEST(SketchBuilderTest, NestedContainersControlArraysLinesMarkersAndTheMenu) {
    TempDir temp;
    auto vbp = writeProject(temp, {"Form=frmNested.frm"},
                            {{"frmNested.frm", designerFile("VB.Form", "frmNested", R"frm(   Caption = "Nested"
   ClientHeight = 4500
   ClientWidth = 6000
   Begin VB.Frame fraOuter
      Caption = "&Outer"
      Height = 3000
      Left = 300
      Top = 150
      Width = 4500
      Begin VB.PictureBox picInner
         Height = 1500
         Left = 150
         ScaleHeight = 96
         ScaleMode = 3  'Pixel
         ScaleWidth = 196
         Top = 300
         Width = 3000
         Begin VB.TextBox txtItem
            Height = 20
            Index = 0
            Left = 10
            Text = "first"
            Top = 5
            Width = 50
         End
         Begin VB.TextBox txtItem
            Height = 20
            Index = 1
            Left = 10
            Top = 30
            Width = 50
         End
      End
      Begin VB.Label lblAfter
         Caption = "A&fter"
         Height = 300
         Left = 150
         Top = 2100
         Width = 1500
      End
   End
   Begin VB.CommandButton cmdOk
      Caption = "OK"
      Height = 375
      Left = 4950
      Top = 3300
      Width = 1050
   End
   Begin VB.Timer tmrPoll
      Left = 150
      Top = 3900
   End
   Begin VB.Line linRule
      X1 = 0
      X2 = 6000
      Y1 = 4200
      Y2 = 4200
   End
   Begin VB.Shape shpRing
      Height = 600
      Left = 4950
      Shape = 3  'Circle
      Top = 150
      Width = 600
   End
   Begin VB.Menu mnuFile
      Caption = "&File"
      Begin VB.Menu mnuOpen
         Caption = "&Open"
      End
   End
   Begin VB.Menu mnuSecret
      Caption = "Secret"
      Visible = 0   'False
   End
   Begin VB.Menu mnuHelp
      Caption = "&Help"
   End
)frm")}});
    FormSketch sketch = sketchOf(vbp, "frmNested");
    ASSERT_EQ(sketch.unreadable, "");
    EXPECT_NEAR(sketch.clientWidth, 400, 0.01);
    EXPECT_NEAR(sketch.clientHeight, 300, 0.01);
    EXPECT_EQ(sketch.menu, (std::vector<std::string>{"File", "Help"}));
    EXPECT_EQ(itemIndex(sketch, "mnuOpen"), -1); // menus are not shapes
    expectRect(item(sketch, "fraOuter"), 20, 10, 300, 200);
    EXPECT_EQ(item(sketch, "fraOuter").kind, SketchKind::Frame);
    EXPECT_EQ(item(sketch, "fraOuter").caption, "Outer");
    // The picture box lies in the frame (twips from its corner); its controls in its pixels.
    expectRect(item(sketch, "picInner"), 30, 30, 200, 100);
    expectRect(item(sketch, "txtItem(0)"), 40, 35, 50, 20);
    expectRect(item(sketch, "txtItem(1)"), 40, 60, 50, 20);
    EXPECT_EQ(item(sketch, "txtItem(0)").caption, "first");
    EXPECT_EQ(item(sketch, "txtItem(1)").parent, itemIndex(sketch, "picInner"));
    // After the picture box's block the frame's scale holds again.
    expectRect(item(sketch, "lblAfter"), 30, 150, 100, 20);
    EXPECT_EQ(item(sketch, "lblAfter").parent, itemIndex(sketch, "fraOuter"));
    expectRect(item(sketch, "cmdOk"), 330, 220, 70, 25);
    EXPECT_EQ(item(sketch, "cmdOk").parent, -1);
    EXPECT_EQ(item(sketch, "tmrPoll").kind, SketchKind::Marker);
    EXPECT_NEAR(item(sketch, "tmrPoll").rect.x, 10, 0.01);
    EXPECT_NEAR(item(sketch, "tmrPoll").rect.y, 260, 0.01);
    const SketchItem& rule = item(sketch, "linRule");
    EXPECT_EQ(rule.kind, SketchKind::Line);
    EXPECT_NEAR(rule.x2, 400, 0.01);
    EXPECT_NEAR(rule.y1, 280, 0.01);
    EXPECT_EQ(item(sketch, "shpRing").shape, 3);
    EXPECT_TRUE(sketch.oddities.empty()) << sketch.oddities.front().key << " " << sketch.oddities.front().problem;

    // Picking finds the innermost control, and the line within a few pixels.
    EXPECT_EQ(sketch.itemAt(45, 40, {}), itemIndex(sketch, "txtItem(0)"));
    EXPECT_EQ(sketch.itemAt(100, 100, {}), itemIndex(sketch, "picInner"));
    EXPECT_EQ(sketch.itemAt(25, 180, {}), itemIndex(sketch, "fraOuter"));
    EXPECT_EQ(sketch.itemAt(200, 282, {}), itemIndex(sketch, "linRule"));
    EXPECT_EQ(sketch.itemAt(390, 10, {}), -1);
}

TEST(SketchBuilderTest, ScaleModesPlaceControlsInTheirContainersUnits) {
    TempDir temp;
    auto vbp = writeProject(
        temp, {"Form=frmUser.frm", "Form=frmPixels.frm", "Form=frmBroken.frm"},
        {{"frmUser.frm", designerFile("VB.Form", "frmUser", R"frm(   ClientHeight = 3000
   ClientWidth = 6000
   ScaleHeight = 100
   ScaleLeft = -100
   ScaleMode = 0  'User
   ScaleWidth = 200
   Begin VB.CommandButton cmdCentre
      Height = 50
      Left = -50
      Top = 25
      Width = 100
   End
   Begin VB.PictureBox picUp
      BorderStyle = 0  'None
      Height = 50
      Left = 0
      ScaleHeight = -10
      ScaleMode = 0  'User
      ScaleTop = 10
      ScaleWidth = 10
      Top = 0
      Width = 100
      Begin VB.Label lblLow
         Height = 2
         Left = 0
         Top = 2
         Width = 5
      End
   End
)frm")},
         {"frmPixels.frm", designerFile("VB.Form", "frmPixels", R"frm(   ClientHeight = 3000
   ClientWidth = 6000
   ScaleHeight = 200
   ScaleMode = 3  'Pixel
   ScaleWidth = 400
   Begin VB.Frame fraTwips
      Height = 100
      Left = 10
      Top = 10
      Width = 200
      Begin VB.CheckBox chkInside
         Height = 300
         Left = 150
         Top = 300
         Width = 1500
      End
   End
   Begin VB.PictureBox picCharacters
      BorderStyle = 0  'None
      Height = 100
      Left = 220
      ScaleMode = 4  'Character
      Top = 10
      Width = 100
      Begin VB.Label lblChar
         Height = 1
         Left = 2
         Top = 1
         Width = 3
      End
   End
)frm")},
         {"frmBroken.frm", designerFile("VB.Form", "frmBroken", R"frm(   ClientHeight = 3000
   ClientWidth = 6000
   ScaleMode = 0  'User
   ScaleWidth = 0
   Begin VB.TextBox txtNoSize
      Left = 150
      Top = 150
   End
   Begin VB.TextBox txtAway
      Height = 300
      Left = 90000
      Top = 150
      Width = 300
   End
   Begin VB.PictureBox picTiny
      Height = 300
      Left = 150
      ScaleHeight = 1E-300
      ScaleMode = 0  'User
      ScaleWidth = 1E-300
      Top = 600
      Width = 300
      Begin VB.Label lblFar
         Height = 1
         Left = 5
         Top = 5
         Width = 1
      End
   End
)frm")}});
    FormSketch user = sketchOf(vbp, "frmUser");
    // 2 pixels per unit across, 2 down, the left edge at -100.
    expectRect(item(user, "cmdCentre"), 100, 50, 200, 100);
    // An upward user scale: ScaleTop 10 at the top, y grows upwards.
    expectRect(item(user, "picUp"), 200, 0, 200, 100);
    expectRect(item(user, "lblLow"), 200, 80, 100, 20);
    EXPECT_TRUE(user.oddities.empty());

    FormSketch pixels = sketchOf(vbp, "frmPixels");
    expectRect(item(pixels, "fraTwips"), 10, 10, 200, 100);
    expectRect(item(pixels, "chkInside"), 20, 30, 100, 20); // a frame places in twips
    expectRect(item(pixels, "lblChar"), 220 + 16, 10 + 16, 24, 16);

    FormSketch broken = sketchOf(vbp, "frmBroken");
    EXPECT_TRUE(listed(broken, "frmBroken")); // the zero user scale
    EXPECT_TRUE(listed(broken, "txtNoSize"));
    EXPECT_TRUE(item(broken, "txtNoSize").odd);
    EXPECT_GE(item(broken, "txtNoSize").rect.width, 8); // still drawn
    EXPECT_NEAR(item(broken, "txtNoSize").rect.x, 10, 0.01); // twips, the fallback
    EXPECT_TRUE(listed(broken, "txtAway"));
    // A scale of almost no extent puts its controls far off, within reach of drawing.
    EXPECT_TRUE(listed(broken, "lblFar"));
    EXPECT_LE(item(broken, "lblFar").rect.x, 1e6);
    EXPECT_LE(item(broken, "lblFar").rect.width, 1e6);
}

TEST(SketchBuilderTest, MdiFormAlignsItsBarsAndUserControlsShowTheirOwnControls) {
    TempDir temp;
    auto vbp = writeProject(
        temp, {"Form=mdiMain.frm", "UserControl=ctlAddress.ctl", "Form=frmHost.frm"},
        {{"mdiMain.frm", designerFile("VB.MDIForm", "mdiMain", R"frm(   Caption = "Main"
   ClientHeight = 6000
   ClientWidth = 9000
   Begin VB.PictureBox picTools
      Align = 1  'Align Top
      Height = 600
      Left = 0
      Top = 0
      Width = 3000
      Begin VB.CommandButton cmdNew
         Caption = "New"
         Height = 300
         Left = 120
         Top = 60
         Width = 900
      End
   End
   Begin MSComctlLib.StatusBar sbrStatus
      Align = 2  'Align Bottom
      Height = 375
      Left = 0
      Top = 999
      Width = 100
   End
)frm")},
         {"ctlAddress.ctl", designerFile("VB.UserControl", "ctlAddress", R"frm(   ClientHeight = 1500
   ClientWidth = 3000
   ScaleHeight = 100
   ScaleMode = 3  'Pixel
   ScaleWidth = 200
   Begin VB.TextBox txtStreet
      Height = 20
      Left = 10
      Top = 10
      Width = 100
   End
)frm")},
         {"frmHost.frm", designerFile("VB.Form", "frmHost", R"frm(   ClientHeight = 3000
   ClientWidth = 4500
   Begin Proj.ctlAddress ctlAddress1
      Height = 1500
      Left = 600
      Top = 600
      Width = 3000
   End
)frm")}});
    FormSketch mdi = sketchOf(vbp, "mdiMain");
    EXPECT_TRUE(mdi.mdi);
    EXPECT_EQ(mdi.typeName, "MDIForm");
    expectRect(item(mdi, "picTools"), 0, 0, 600, 40);
    expectRect(item(mdi, "cmdNew"), 8, 4, 60, 20);
    expectRect(item(mdi, "sbrStatus"), 0, 375, 600, 25);

    FormSketch control = sketchOf(vbp, "ctlAddress");
    EXPECT_EQ(control.typeName, "UserControl");
    EXPECT_NEAR(control.clientWidth, 200, 0.01);
    expectRect(item(control, "txtStreet"), 10, 10, 100, 20);

    FormSketch host = sketchOf(vbp, "frmHost");
    int instance = itemIndex(host, "ctlAddress1");
    ASSERT_GE(instance, 0);
    EXPECT_EQ(host.items[instance].kind, SketchKind::UserControl);
    const SketchItem& street = item(host, "ctlAddress1.txtStreet");
    expectRect(street, 50, 50, 100, 20);
    EXPECT_EQ(street.embeddedIn, instance);
    EXPECT_EQ(street.control, nullptr);
    EXPECT_EQ(host.itemAt(60, 55, {}), instance); // a click on its inside picks the instance
}

TEST(SketchBuilderTest, TabControlPagesShowOnePageAtATime) {
    TempDir temp;
    auto vbp = writeProject(temp, {"Form=frmTabs.frm"},
                            {{"frmTabs.frm", designerFile("VB.Form", "frmTabs", R"frm(   ClientHeight = 4500
   ClientWidth = 7500
   Begin TabDlg.SSTab tabMain
      Height = 3000
      Left = 150
      TabIndex = 0
      Top = 150
      Width = 6000
      Tabs = 3
      Tab = 0
      TabHeight = 450
      TabCaption(0) = "&General"
      Tab(0).ControlCount = 1
      Tab(0).Control(0) = "txtName"
      TabCaption(1) = "Details"
      Tab(1).ControlCount = 2
      Tab(1).Control(0) = "chkOpt(0)"
      Tab(1).Control(1) = "fraMore"
      Begin VB.TextBox txtName
         Height = 300
         Left = 300
         Top = 600
         Width = 1500
      End
      Begin VB.CheckBox chkOpt
         Height = 300
         Index = 0
         Left = -74700
         Top = 600
         Width = 1500
      End
      Begin VB.Frame fraMore
         Height = 1500
         Left = -74700
         Top = 1200
         Width = 3000
         Begin VB.Label lblDeep
            Height = 300
            Left = 150
            Top = 300
            Width = 900
         End
      End
      Begin VB.TextBox txtLost
         Height = 300
         Left = -74000
         Top = 600
         Width = 600
      End
   End
)frm")}});
    FormSketch sketch = sketchOf(vbp, "frmTabs");
    int tabs = itemIndex(sketch, "tabMain");
    ASSERT_EQ(sketch.tabSets.size(), 1u);
    const TabSet& set = *sketch.tabSetOf(tabs);
    EXPECT_EQ(set.captions, (std::vector<std::string>{"General", "Details", "Tab 2"}));
    EXPECT_NEAR(set.headerHeight, 30, 0.01);
    EXPECT_EQ(item(sketch, "txtName").tabPage, 0);
    EXPECT_EQ(item(sketch, "chkOpt(0)").tabPage, 1);
    expectRect(item(sketch, "chkOpt(0)"), 30, 50, 100, 20); // moved back from its hidden place
    EXPECT_EQ(item(sketch, "fraMore").tabPage, 1);
    EXPECT_EQ(item(sketch, "txtLost").tabPage, -1);
    EXPECT_TRUE(listed(sketch, "txtLost"));

    TabChoice first;
    TabChoice second{{tabs, 1}};
    EXPECT_TRUE(sketch.shown(itemIndex(sketch, "txtName"), first));
    EXPECT_FALSE(sketch.shown(itemIndex(sketch, "lblDeep"), first));
    EXPECT_TRUE(sketch.shown(itemIndex(sketch, "lblDeep"), second));
    EXPECT_FALSE(sketch.shown(itemIndex(sketch, "txtName"), second));
    EXPECT_EQ(sketch.itemAt(35, 55, first), itemIndex(sketch, "txtName"));
    EXPECT_EQ(sketch.itemAt(35, 55, second), itemIndex(sketch, "chkOpt(0)"));
    // The headers share the top row; a hidden control is brought into view by its page.
    EXPECT_EQ(sketch.tabHeaderAt(150, 20, first), std::make_pair(tabs, 1));
    EXPECT_EQ(sketch.tabHeaderAt(150, 60, first), std::make_pair(-1, -1));
    EXPECT_EQ(sketch.pagesShowing(itemIndex(sketch, "lblDeep"), first), second);
    EXPECT_EQ(sketch.pagesShowing(itemIndex(sketch, "txtName"), second), (TabChoice{{tabs, 0}}));
}

TEST(SketchBuilderTest, UnreadableDesignerGivesAMessageNotAFailure) {
    TempDir temp;
    auto vbp = writeProject(temp, {"Form=frmBad.frm", "Form=frmGone.frm"},
                            {{"frmBad.frm", "VERSION 5.00\r\nBegin VB.Form frmBad\r\n   Begin VB.TextBox t\r\n"}});
    FormSketch bad = sketchOf(vbp, "frmBad");
    EXPECT_NE(bad.unreadable, "");
    EXPECT_TRUE(bad.items.empty());
    FormSketch gone = sketchOf(vbp, "frmGone");
    EXPECT_NE(gone.unreadable.find("frmGone"), std::string::npos) << gone.unreadable;
}

TEST(SketchBuilderTest, AcceleratorMarksAreRemovedFromCaptions) {
    EXPECT_EQ(withoutAccelerators("&File"), "File");
    EXPECT_EQ(withoutAccelerators("Save && &Close"), "Save & Close");
    EXPECT_EQ(withoutAccelerators("Plain"), "Plain");
}

TEST(SketchBuilderTest, NestingIsReadFromTheBlocksOfTheFileOnly) {
    std::string file = "VERSION 5.00\r\nBegin VB.Form f\r\n   BeginProperty Font\r\n      Name = \"Begin\"\r\n"
                       "   EndProperty\r\n   Begin VB.Frame a\r\n      Begin VB.Label b\r\n         BeginProperty Font\r\n"
                       "            Begin = 1\r\n         EndProperty\r\n      End\r\n   End\r\n   Begin VB.Label c\n   End\n"
                       "End\r\nPrivate Sub Begin()\r\nEnd Sub\r\n";
    EXPECT_EQ(controlDepths(file), (std::vector<int>{1, 2, 1}));
}
