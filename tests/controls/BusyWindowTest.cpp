#include "controls/Form.h"
#include "controls/HeadlessBusyWindow.h"

#include <gtest/gtest.h>

#include <thread>

namespace corvane::controls {
namespace {

std::vector<std::string> describe(const std::vector<BusyState>& states) {
    std::vector<std::string> lines;
    for (const BusyState& state : states)
        lines.push_back(state.describe());
    return lines;
}

TEST(HeadlessBusyWindow, RecordsWhatWasShownInOrder) {
    HeadlessBusyWindow busy;
    busy.SetStayOnTop(false);
    busy.SetTitle("Corvane");          // hidden: not recorded
    busy.SetMessage("Reading modules");
    busy.SetDisplayStyle(102);
    busy.Show();
    busy.SetShowProgress(true);
    busy.SetMax(3);
    busy.SetValue(1);
    busy.SetValue(1); // unchanged: nothing
    busy.SetValue(3);
    busy.Hide();
    busy.SetMessage("after"); // hidden again: not recorded

    EXPECT_EQ(describe(busy.states()),
              (std::vector<std::string>{
                  "shown title=\"Corvane\" message=\"Reading modules\" style=102",
                  "shown title=\"Corvane\" message=\"Reading modules\" progress=0 of 0..100 style=102",
                  "shown title=\"Corvane\" message=\"Reading modules\" progress=0 of 0..3 style=102",
                  "shown title=\"Corvane\" message=\"Reading modules\" progress=1 of 0..3 style=102",
                  "shown title=\"Corvane\" message=\"Reading modules\" progress=3 of 0..3 style=102",
                  "hidden title=\"Corvane\" message=\"Reading modules\" progress=3 of 0..3 style=102",
              }));
    EXPECT_EQ(busy.Message(), "after");
}

TEST(HeadlessBusyWindow, ProgressIsClampedForShowingAndTheOwnerIsLookedUp) {
    BusyState state;
    state.min = 0;
    state.max = 0; // an empty project
    EXPECT_EQ(state.percent(), 100);
    state.max = 4;
    state.value = 1;
    EXPECT_EQ(state.percent(), 25);
    state.value = 9;
    EXPECT_EQ(state.percent(), 100);
    state.value = -3;
    EXPECT_EQ(state.percent(), 0);

    HeadlessBusyWindow busy;
    {
        Form owner("frmWizard");
        busy.SetOwner(&owner);
        EXPECT_EQ(busy.Owner(), &owner);
    }
    EXPECT_EQ(busy.Owner(), nullptr); // the owner is gone
}

TEST(HeadlessBusyWindow, WorkThatPollsOffersCancelAndTakesTheRequestOnce) {
    HeadlessBusyWindow busy;
    busy.SetStayOnTop(false);
    busy.SetTitle("Creating Help files");
    busy.Show();
    EXPECT_FALSE(busy.state().cancellable);
    EXPECT_FALSE(busy.pollCancel()); // the first poll offers the Cancel button
    EXPECT_TRUE(busy.state().cancellable);
    std::thread([&busy] { busy.requestCancel(); }).join(); // the button, from the window's side
    EXPECT_TRUE(busy.cancelRequested());
    EXPECT_TRUE(busy.pollCancel());
    EXPECT_FALSE(busy.pollCancel()); // taken: the next compiler runs again
    busy.Hide();
    EXPECT_FALSE(busy.state().cancellable);
    EXPECT_EQ(describe(busy.states()),
              (std::vector<std::string>{"shown title=\"Creating Help files\" message=\"\" style=0",
                                        "shown title=\"Creating Help files\" message=\"\" style=0 cancellable",
                                        "hidden title=\"Creating Help files\" message=\"\" style=0"}));

    // A request left from work before is not taken by the next work, and a hidden window offers none.
    busy.requestCancel();
    busy.Show();
    EXPECT_FALSE(busy.pollCancel());
    busy.Hide();
    EXPECT_FALSE(busy.pollCancel());
    EXPECT_FALSE(busy.state().cancellable);
}

} // namespace
} // namespace corvane::controls
