#include "controls/CheckBox.h"
#include "testsupport/VbErrors.h"
#include "controls/HeadlessBusyWindow.h"
#include "controls/HeadlessWindowSystem.h"
#include "controls/RecordingForm.h"

#include <gtest/gtest.h>

namespace corvane::controls {
namespace {

using corvane::test::errorNumberOf;
using test::RecordingForm;
using Log = std::vector<std::string>;

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessWindowSystem windows;
    WindowSystemScope scope{windows};
};

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const VbError& error) {
        return error.description();
    }
    return {};
}

TEST_F(HeadlessTest, ModalShowReturnsWhenTheScriptedUserClicksOk) {
    auto dialog = Form::create<RecordingForm>("frmOptions");
    RecordingForm owner("frmWizard");
    bool sawModal = false;
    windows.onModal("FRMOPTIONS", [&](Form& shown) {
        EXPECT_EQ(&shown, dialog.get());
        sawModal = shown.Visible() && shown.loaded();
        dialog->txtLog().SetText("typed by the user");
        dialog->cmdOk().SetValue(true); // its Click hides the dialog
    });

    windows.showModal(*dialog, &owner);
    EXPECT_TRUE(sawModal);
    EXPECT_TRUE(dialog->loaded());
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(dialog->txtLog().Text(), "typed by the user");
    EXPECT_EQ(windows.windowLog(), (Log{"modal frmOptions", "hide frmOptions"}));

    windows.showModal(*dialog); // the action answers every showing
    EXPECT_EQ(windows.windowLog().size(), 4u);
}

TEST_F(HeadlessTest, OneShotActionsComeFirstAndTheCloseBoxUnloads) {
    auto dialog = Form::create<RecordingForm>("frmPrimaryLanguage");
    Log used;
    windows.onModal("frmPrimaryLanguage", [&](Form& form) {
        used.push_back("always");
        form.Hide();
    });
    windows.onModalOnce("frmPrimaryLanguage", [&](Form& form) {
        used.push_back("once");
        form.userClose();
    });

    dialog->Show(vbModal);
    EXPECT_FALSE(dialog->loaded());
    dialog->Show(vbModal);
    EXPECT_EQ(used, (Log{"once", "always"}));
    EXPECT_EQ(dialog->log, (Log{"Initialize", "Load", "Resize 4800x3600", "QueryUnload 0",
                                "Unload", "Load", "Resize 4800x3600"}));
}

TEST_F(HeadlessTest, UnansweredModalWindowFailsLoudlyInsteadOfWaiting) {
    auto dialog = Form::create<RecordingForm>("frmSelectLanguages");
    std::string message = messageOf([&] { dialog->Show(vbModal); });
    EXPECT_EQ(message, "No scripted user for the modal window frmSelectLanguages");
    EXPECT_FALSE(dialog->Visible());

    windows.onModal("frmSelectLanguages", [](Form&) {}); // does nothing: window stays open
    message = messageOf([&] { dialog->Show(vbModal); });
    EXPECT_EQ(message, "The scripted user left the modal window frmSelectLanguages open");
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(HeadlessTest, MessageBoxesAreAnsweredFromTheQueueAndRecorded) {
    windows.answerNext(vbYes);
    windows.answerNext(vbCancel);
    std::vector<MessageBoxRecord> printed;
    windows.MessageShown.connect([&](const MessageBoxRecord& m) { printed.push_back(m); });

    EXPECT_EQ(windows.MsgBox("Continue ?", vbYesNo + vbQuestion, "WinHelp Compilation"), vbYes);
    EXPECT_EQ(windows.MsgBox("Press OK", vbOKCancel), vbCancel);
    EXPECT_EQ(windows.pendingAnswers(), 0u);

    const std::vector<MessageBoxRecord> expected = {
        {"WinHelp Compilation", "Continue ?", vbYesNo + vbQuestion, vbYes},
        {"Corvane", "Press OK", vbOKCancel, vbCancel},
    };
    EXPECT_EQ(windows.messages(), expected);
    EXPECT_EQ(printed, expected);
}

TEST_F(HeadlessTest, UnansweredOrMisansweredMessageBoxFailsNamingTheMessage) {
    EXPECT_EQ(messageOf([&] { windows.MsgBox("Please select at least one language", vbExclamation,
                                             "Select Languages"); }),
              "No scripted answer for the message box \"Select Languages\": Please select at "
              "least one language");
    ASSERT_EQ(windows.messages().size(), 1u); // recorded although unanswered
    EXPECT_EQ(windows.messages()[0].answer, 0);

    windows.answerNext(vbYes);
    EXPECT_EQ(errorNumberOf([&] { windows.MsgBox("Done", vbOKOnly, "T"); }), 5);
    EXPECT_EQ(errorNumberOf([&] { windows.MsgBox("Odd", 6, "T"); }), 5);
}

TEST_F(HeadlessTest, DefaultAnswersPerButtonSet) {
    windows.useDefaultAnswers();
    EXPECT_EQ(windows.MsgBox("a", vbOKOnly + vbInformation), vbOK);
    EXPECT_EQ(windows.MsgBox("b", vbYesNo + vbQuestion), vbNo);
    EXPECT_EQ(windows.MsgBox("c", vbOKCancel), vbCancel);
    windows.answerNext(vbYes); // a queued answer still comes first
    EXPECT_EQ(windows.MsgBox("d", vbYesNo), vbYes);

    windows.useDefaultAnswers(true);
    EXPECT_EQ(windows.MsgBox("e", vbYesNo), vbYes);
    EXPECT_EQ(windows.MsgBox("f", vbOKCancel), vbOK);
    windows.setDefaultAnswer(vbYesNo, vbNo);
    EXPECT_EQ(windows.MsgBox("g", vbYesNo), vbNo);
    EXPECT_EQ(errorNumberOf([&] { windows.setDefaultAnswer(vbYesNo, vbOK); }), 5);
}

TEST_F(HeadlessTest, TimerFiresOnceItsIntervalHasElapsedAndNotBefore) {
    auto form = Form::create<RecordingForm>();
    Timer& timer = form->timClose();
    int ticks = 0;
    timer.Tick.connect([&] { ++ticks; });
    timer.SetInterval(10);
    timer.SetEnabled(false);
    timer.SetEnabled(true); // counts from now (0)

    windows.DoEvents();
    windows.advance(9);
    windows.DoEvents();
    EXPECT_EQ(ticks, 0);
    windows.advance(1);
    windows.DoEvents();
    windows.DoEvents();
    EXPECT_EQ(ticks, 1);
    windows.advance(25); // two intervals passed, but one event is pending
    windows.DoEvents();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(windows.nextDue(), 45);

    timer.SetEnabled(false);
    windows.advance(100);
    windows.DoEvents();
    EXPECT_FALSE(windows.runPendingEvents());
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(errorNumberOf([&] { windows.advance(-1); }), 5);
    EXPECT_EQ(errorNumberOf([&] { timer.SetInterval(65536); }), 380);
}

// The editor's close: the close box arms a timer and cancels; the timer's event saves and
// unloads the window from code, which passes.
TEST_F(HeadlessTest, DeferredCloseThroughATimerRunsOnceAndUnloads) {
    class DeferredClose : public RecordingForm {
    public:
        DeferredClose() : RecordingForm("frmWizard") {}
        Log events;

    protected:
        void createControls() override {
            RecordingForm::createControls();
            Timer& timer = timClose();
            timer.SetInterval(10);
            timer.SetEnabled(false);
            timer.Tick.connect([this] {
                timClose().SetEnabled(false);
                events.push_back("save");
                Unload();
            });
        }
        void Form_QueryUnload(int& cancel, int unloadMode) override {
            events.push_back("QueryUnload " + std::to_string(unloadMode));
            if (unloadMode == vbFormControlMenu) {
                timClose().SetEnabled(true);
                cancel = 1;
            }
        }
    };

    DeferredClose form;
    form.Show();
    EXPECT_FALSE(form.userClose());
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(windows.runPendingEvents());
    EXPECT_EQ(windows.now(), 10);
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(windows.runPendingEvents()); // the timer went with the window
    EXPECT_EQ(form.events, (Log{"QueryUnload 0", "save", "QueryUnload 1"}));
}

TEST_F(HeadlessTest, TimersEnabledBeforeInstallingRunOnTheNewWindowSystem) {
    WindowSystem::install(nullptr);
    Timer timer("timEarly");
    timer.SetInterval(5);
    int ticks = 0;
    timer.Tick.connect([&] { ++ticks; });
    HeadlessWindowSystem later;
    WindowSystemScope laterScope(later);
    later.advance(5);
    later.DoEvents();
    EXPECT_EQ(ticks, 1);
}

TEST_F(HeadlessTest, ClipboardMetricsAndBusyWindow) {
    windows.SetClipboardText("copied");
    EXPECT_EQ(windows.ClipboardText(), "copied");
    windows.setTwipsPerPixel(12, 12);
    EXPECT_EQ(twipsPerPixelX(), 12);
    RecordingForm form;
    form.Move(0, 0, 6000, 6000);
    EXPECT_EQ(form.ScaleWidth(), 6000 - 8 * 12);
    EXPECT_EQ(errorNumberOf([&] { windows.setTwipsPerPixel(0, 15); }), 5);

    auto busy = windows.createBusyWindow();
    ASSERT_NE(dynamic_cast<HeadlessBusyWindow*>(busy.get()), nullptr);
}

} // namespace
} // namespace corvane::controls
