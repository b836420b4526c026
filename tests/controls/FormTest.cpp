#include "testsupport/VbErrors.h"
#include "controls/HeadlessWindowSystem.h"
#include "controls/RecordingForm.h"

#include <gtest/gtest.h>

namespace corvane::controls {
namespace {

using corvane::test::errorNumberOf;
using test::RecordingForm;
using Log = std::vector<std::string>;

class FormTest : public ::testing::Test {
protected:
    HeadlessWindowSystem windows;
    WindowSystemScope scope{windows};
};

TEST_F(FormTest, LifecycleEventsComeInVbOrder) {
    auto form = Form::create<RecordingForm>();
    EXPECT_EQ(form->log, Log{"Initialize"});
    EXPECT_FALSE(form->loaded());

    form->txtLog().SetText("first use of a control loads the window");
    EXPECT_EQ(form->log, (Log{"Initialize", "Load"}));

    form->Show();
    form->Show(); // already shown: nothing more
    form->Move(0, 0, 6000, 4000);
    form->Move(15, 15, 6000, 4000); // moved only
    EXPECT_TRUE(form->Unload());
    EXPECT_EQ(form->log, (Log{"Initialize", "Load", "Resize 4800x3600", "Resize 6000x4000",
                              "QueryUnload 1", "Unload"}));
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(windows.windowLog(), (Log{"show frmTest", "show frmTest", "unload frmTest"}));

    form->log.clear();
    EXPECT_TRUE(form->Unload()); // not loaded: no events
    EXPECT_EQ(form->log, Log{});
}

TEST_F(FormTest, InitializeComesWithFirstUseWhenMadeWithoutCreate) {
    RecordingForm form;
    EXPECT_EQ(form.log, Log{});
    form.Load();
    form.Load();
    EXPECT_EQ(form.log, (Log{"Initialize", "Load"}));
}

TEST_F(FormTest, QueryUnloadCancelKeepsTheWindowAndTellsTheMode) {
    auto form = Form::create<RecordingForm>();
    form->Show();
    form->cancelMode = vbFormControlMenu;

    EXPECT_FALSE(form->userClose());
    EXPECT_TRUE(form->loaded());
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->Unload()); // from code: mode 1, not cancelled
    EXPECT_EQ(form->log, (Log{"Initialize", "Load", "Resize 4800x3600", "QueryUnload 0",
                              "QueryUnload 1", "Unload"}));

    form->cancelMode = vbFormCode;
    form->Load();
    EXPECT_FALSE(form->Unload());
    EXPECT_TRUE(form->loaded());
    form->cancelMode = -1;
    EXPECT_TRUE(form->userClose());
    EXPECT_FALSE(form->loaded());
}

TEST_F(FormTest, ReloadingBuildsFreshControlsAndRetiresTheOldOnes) {
    auto form = Form::create<RecordingForm>();
    TextBox& first = form->txtLog();
    first.SetText("typed");
    const int32_t handle = first.hWnd();
    EXPECT_EQ(Control::fromHandle(handle), &first);

    form->Unload();
    EXPECT_EQ(Control::fromHandle(handle), nullptr); // gone with the window
    EXPECT_EQ(form->txtLog().Text(), "");            // loaded again, design settings
    EXPECT_NE(form->txtLog().hWnd(), handle);
    EXPECT_EQ(form->log, (Log{"Initialize", "Load", "QueryUnload 1", "Unload", "Load"}));
}

TEST_F(FormTest, ControlsKeepTheirOrderParentAndContainer) {
    RecordingForm form;
    ControlList& controls = form.Controls();
    ASSERT_EQ(controls.Count(), 5);
    std::string names;
    for (Control& control : controls)
        names += control.Name() + " ";
    EXPECT_EQ(names, "fraOptions lblTitle txtLog cmdOk timClose ");
    EXPECT_EQ(&controls.Item("TXTLOG"), &form.txtLog());
    EXPECT_EQ(controls.Item(1).Container(), &controls.Item(0));
    EXPECT_EQ(form.txtLog().Container(), nullptr);
    EXPECT_EQ(form.txtLog().Parent(), &form);
    EXPECT_EQ(controls.Find("nothing"), nullptr);

    EXPECT_EQ(errorNumberOf([&] { (void)controls.Item("nothing"); }), 730);
    EXPECT_EQ(errorNumberOf([&] { (void)controls.Item(5); }), 9);
    EXPECT_EQ(errorNumberOf([&] { controls.Add<Label>("cmdok"); }), 727);
    EXPECT_EQ(errorNumberOf([&] { controls.Add<Label>("lbl2", &form.txtLog()); }), 5);
    TextBox stranger("txtStranger");
    EXPECT_EQ(errorNumberOf([&] { controls.Add<Label>("lbl3", &stranger); }), 5);
    EXPECT_EQ(errorNumberOf([&] { controls.Item(0).SetContainer(&controls.Item(0)); }), 5);
    EXPECT_EQ(controls.Count(), 5);

    Label& added = controls.Add<Label>("lblMore", &controls.Item(0));
    EXPECT_EQ(controls.Count(), 6);
    added.SetContainer(nullptr);
    EXPECT_EQ(added.Container(), nullptr);
}

TEST_F(FormTest, WindowStateKeepsTheNormalBounds) {
    auto form = Form::create<RecordingForm>();
    form->Move(300, 600, 9000, 7000);
    form->log.clear();

    form->SetWindowState(vbMaximized);
    EXPECT_EQ(form->Width(), 1024 * 15);
    EXPECT_EQ(form->Height(), 768 * 15);
    EXPECT_EQ(errorNumberOf([&] { form->SetWidth(100); }), 384);
    EXPECT_EQ(errorNumberOf([&] { form->Move(0, 0, 100, 100); }), 384);

    form->SetWindowState(vbMinimized);
    EXPECT_EQ(form->ScaleWidth(), 0);
    EXPECT_EQ(form->ScaleHeight(), 0);

    form->SetWindowState(vbNormal);
    EXPECT_EQ(form->Left(), 300);
    EXPECT_EQ(form->Top(), 600);
    EXPECT_EQ(form->Width(), 9000);
    EXPECT_EQ(form->Height(), 7000);
    EXPECT_EQ(form->ScaleWidth(), 9000 - 8 * 15);
    EXPECT_EQ(form->ScaleHeight(), 7000 - 30 * 15);
    EXPECT_EQ(form->log, (Log{"Resize 15360x11520", "Resize 2400x450", "Resize 9000x7000"}));
    EXPECT_EQ(errorNumberOf([&] { form->SetWindowState(3); }), 380);
    EXPECT_EQ(errorNumberOf([&] { form->SetHeight(-1); }), 380);
}

TEST_F(FormTest, AFailingUnloadHandlerLeavesTheWindowUnloadableLater) {
    class Failing : public RecordingForm {
    public:
        bool fail = true;

    protected:
        void Form_QueryUnload(int& cancel, int unloadMode) override {
            Unload(); // an unload inside QueryUnload does not recurse
            RecordingForm::Form_QueryUnload(cancel, unloadMode);
        }
        void Form_Unload() override {
            RecordingForm::Form_Unload();
            if (fail)
                throw VbError(vberr::InvalidCall);
        }
    };
    Failing form;
    form.Load();
    EXPECT_EQ(errorNumberOf([&] { form.Unload(); }), 5);
    EXPECT_TRUE(form.loaded());
    form.fail = false;
    EXPECT_TRUE(form.Unload());
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(form.log, (Log{"Initialize", "Load", "QueryUnload 1", "Unload", "QueryUnload 1",
                             "Unload"}));
}

TEST_F(FormTest, ShowingAVisibleWindowModalFails) {
    auto form = Form::create<RecordingForm>();
    form->Show();
    EXPECT_EQ(errorNumberOf([&] { form->Show(vbModal); }), 400);
    EXPECT_EQ(errorNumberOf([&] { form->Show(2); }), 5);
}

TEST(FormWithoutWindowSystem, ShowFailsWithoutLoading) {
    ASSERT_EQ(WindowSystem::current(), nullptr);
    RecordingForm form;
    EXPECT_EQ(errorNumberOf([&] { form.Show(); }), 91);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(twipsPerPixelX(), 15);
}

TEST(FormHandles, FindTheLiveWindowOnly) {
    int32_t handle = 0;
    {
        RecordingForm form("frmA");
        handle = form.hWnd();
        EXPECT_EQ(Form::fromHandle(handle), &form);
    }
    EXPECT_EQ(Form::fromHandle(handle), nullptr);
}

} // namespace
} // namespace corvane::controls
