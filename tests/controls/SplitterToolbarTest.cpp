#include "controls/ActiveBar.h"
#include "controls/Captioned.h"
#include "controls/Form.h"
#include "controls/PictureBox.h"
#include "controls/Splitter.h"

#include <gtest/gtest.h>

namespace corvane::controls {
namespace {

// A window with a splitter whose panes hold a captioned frame (with a picture box) and a
// stacked splitter of two more frames.
class SplitWindow : public Form {
public:
    SplitWindow() : Form("frmSplit") {}
    Splitter* main = nullptr;
    Splitter* right = nullptr;
    Captioned* left = nullptr;
    PictureBox* picture = nullptr;
    int pictureResizes = 0;

protected:
    void createControls() override {
        main = &add<Splitter>("splitMain");
        left = &add<Captioned>("ModuleListContainer");
        picture = &add<PictureBox>("picList");
        right = &add<Splitter>("splitright");
        auto& top = add<Captioned>("HelpTextContainer");
        auto& bottom = add<Captioned>("ControlListContainer");
        main->setPaneChild(1, *left);
        main->setPaneChild(2, *right);
        left->setChild(*picture);
        right->SetVertical(true);
        right->setPaneChild(1, top);
        right->setPaneChild(2, bottom);
        picture->Resize.connect([this] { ++pictureResizes; });
    }
};

TEST(Splitter, LaysOutPanesAndRestoresItsLayoutText) {
    SplitWindow w;
    w.Load();
    w.main->Move(0, 0, 8000, 6000);
    w.main->Panes(1).SetSize(2000);
    EXPECT_EQ(w.left->Width(), 2000);
    EXPECT_EQ(w.left->Height(), 6000);
    EXPECT_EQ(w.right->Left(), 2000 + Splitter::BarSize);
    EXPECT_EQ(w.right->Width(), 8000 - 2000 - Splitter::BarSize);
    EXPECT_EQ(w.picture->Top(), Captioned::CaptionHeight);
    EXPECT_EQ(w.picture->Height(), 6000 - Captioned::CaptionHeight);
    EXPECT_GT(w.pictureResizes, 0);

    w.right->Panes(1).SetSize(1500);
    std::string layout = w.right->GetLayout();
    EXPECT_EQ(layout, "Splitter;1;1500");

    w.right->Panes(1).SetSize(100);
    w.right->SetLayout(layout);
    EXPECT_EQ(w.right->Panes(1).Size(), 1500);
    w.right->SetLayout("garbage;x");   // ignored
    w.right->SetLayout("Splitter;2;5"); // ignored: no such direction
    EXPECT_EQ(w.right->Panes(1).Size(), 1500);
    EXPECT_TRUE(w.right->Vertical());
    EXPECT_THROW(w.main->Panes(3), VbError);
}

TEST(ActiveBar, ToolsByNameAndUserActionsRaiseTheirEvents) {
    ActiveBar bar;
    Band& main = bar.AddBand("Main Band");
    Tool& compile = main.Tools().Add("compile", ToolType::Button);
    Tool& combo = main.Tools().Add("selectedlanguage", ToolType::ComboBox);
    bar.AddBand("spellcheck");
    std::vector<std::string> log;
    bar.Click.connect([&](Tool& t) { log.push_back("click " + t.Name()); });
    bar.ComboSelChange.connect([&](Tool& t) { log.push_back("combo " + t.Text()); });

    combo.ComboList().AddItem("English");
    combo.ComboList().AddItem("German");
    combo.SetComboListIndex(0); // from code: no event
    bar.pickComboEntry(combo, 1);
    bar.clickTool(compile);
    compile.SetEnabled(false);
    bar.clickTool(compile);
    EXPECT_EQ(log, (std::vector<std::string>{"combo German", "click compile"}));

    EXPECT_EQ(&bar.Bands(0), &main);
    EXPECT_EQ(&bar.Bands("spellcheck"), &bar.Bands(1));
    EXPECT_THROW(bar.Bands("Spellcheck"), VbError); // names are exact
    EXPECT_THROW(main.Tools().Item("Compile"), VbError);
    combo.ComboList().Clear();
    EXPECT_EQ(combo.ComboListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
}

} // namespace
} // namespace corvane::controls
