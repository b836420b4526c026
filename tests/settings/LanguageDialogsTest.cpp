// The language dialogs worked by a scripted user: ticking languages, OK, Cancel, close box.
#include "controls/HeadlessWindowSystem.h"
#include "settings/FrmPrimaryLanguage.h"
#include "settings/FrmSelectLanguages.h"
#include "settings/ModMain.h"
#include "testsupport/addin/ErrorReportTestComponent.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace corvane {
namespace {

using controls::Form;
using Names = std::vector<std::string>;

const char* const Message107 = "Please select at least one language.  If you only wish to create Help Text for a "
                               "single language, select 'Neutral'";

class LanguageDialogs : public ::testing::Test {
protected:
    LanguageDialogs() {
        for (const char* name : {"Global", "English", "German", "French", "Spanish"})
            settings.Languages.Add(name, name);
        select({"English"}, "English");
    }

    void TearDown() override { EXPECT_EQ(reports.reports().size(), expectedReports); }

    // Sets the languages of the project and its primary language.
    void select(std::initializer_list<const char*> names, std::string primary) {
        settings.newSelectedLanguages();
        for (const char* name : names)
            settings.SelectedLanguages->Add(name, name);
        settings.mPrimaryLanguage = std::move(primary);
    }

    // The names of SelectedLanguages in order; each must be stored under itself.
    Names selected() const {
        Names names;
        for (int32_t i = 1; i <= settings.SelectedLanguages->Count(); ++i) {
            EXPECT_EQ(settings.SelectedLanguages->KeyAt(i), settings.SelectedLanguages->Item(i));
            names.push_back(settings.SelectedLanguages->Item(i));
        }
        return names;
    }

    // The user's actions in the language dialog, then in the primary language dialog.
    void whenSelecting(std::function<void(FrmSelectLanguages&)> action) {
        windows.onModalOnce("frmSelectLanguages",
                            [action](Form& form) { action(dynamic_cast<FrmSelectLanguages&>(form)); });
    }
    void whenAskedForPrimary(std::function<void(FrmPrimaryLanguage&)> action) {
        windows.onModalOnce("frmPrimaryLanguage",
                            [action](Form& form) { action(dynamic_cast<FrmPrimaryLanguage&>(form)); });
    }

    // Shows the language dialog over the editor, as the toolbar does.
    void showDialog() { dialog->Show(controls::vbModal, &editor); }

    // Clicks a language's line so that it is ticked (or not).
    static void tick(FrmSelectLanguages& form, const std::string& name, bool ticked = true) {
        controls::ListBox& list = form.lbxLanguages();
        for (int32_t i = 0; i < list.ListCount(); ++i) {
            if (list.List(i) == name) {
                if (list.Selected(i) != ticked)
                    list.SetSelected(i, ticked);
                return;
            }
        }
        ADD_FAILURE() << "no line " << name;
    }

    static Names lines(const controls::ComboBox& combo) {
        Names names;
        for (int32_t i = 0; i < combo.ListCount(); ++i)
            names.push_back(combo.List(i));
        return names;
    }

    test::ScriptedReports reports;
    size_t expectedReports = 0;
    ModMain settings;
    controls::HeadlessWindowSystem windows;
    controls::WindowSystemScope installed{windows};
    Form editor{"frmWizard"};
    std::unique_ptr<FrmSelectLanguages> dialog = Form::create<FrmSelectLanguages>(settings);
};

TEST_F(LanguageDialogs, LoadingListsEveryOfferedLanguageTicksTheSelectedOnesAndAppliesTheTexts) {
    select({"german", "Klingon", "GLOBAL"}, "Global");
    dialog->Load();

    EXPECT_EQ(dialog->Caption(), "Select Languages");
    EXPECT_EQ(dialog->Label1().Caption(),
              "Corvane can help you manage help text for multiple languages.  Please select from the list below "
              "those languages for which you will be creating Help Text.");
    EXPECT_EQ(dialog->Label2().Caption(), "If you only wish to develop for a single language, just select 'Neutral'");
    EXPECT_EQ(dialog->cmdOk().Caption(), "OK");
    EXPECT_EQ(dialog->cmdCancel().Caption(), "Cancel");

    const controls::ListBox& list = dialog->lbxLanguages();
    EXPECT_NE(list.MultiSelect(), 0);
    ASSERT_EQ(list.ListCount(), 5);
    const std::vector<bool> ticked = {true, false, true, false, false};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(list.List(i), settings.Languages.Item(i + 1));
        EXPECT_EQ(list.Selected(i), ticked[static_cast<size_t>(i)]) << list.List(i);
    }
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(selected(), (Names{"german", "Klingon", "GLOBAL"})); // loading changes nothing
}

TEST_F(LanguageDialogs, OkWithNothingSelectedWarnsAndKeepsTheDialogAndTheSettings) {
    const auto before = settings.SelectedLanguages;
    windows.answerNext(controls::vbOK);
    whenSelecting([&](FrmSelectLanguages& form) {
        tick(form, "English", false);
        form.cmdOk().SetValue(true);
        EXPECT_TRUE(form.Visible());
        EXPECT_EQ(settings.SelectedLanguages, before);
        EXPECT_EQ(selected(), (Names{"English"}));
        EXPECT_EQ(settings.mPrimaryLanguage, "English");
        form.cmdCancel().SetValue(true);
    });
    showDialog();

    const std::vector<controls::MessageBoxRecord> expected = {
        {"Select Languages", Message107, controls::vbExclamation, controls::vbOK}};
    EXPECT_EQ(windows.messages(), expected);
    EXPECT_EQ(windows.windowLog(), (Names{"modal frmSelectLanguages", "hide frmSelectLanguages"}));
    EXPECT_EQ(selected(), (Names{"English"}));
}

TEST_F(LanguageDialogs, OneLanguageBecomesThePrimaryWithoutAskingForIt) {
    select({"English", "German"}, "German");
    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "English", false);
        tick(form, "German", false);
        tick(form, "French");
        form.cmdOk().SetValue(true);
    });
    showDialog();

    EXPECT_EQ(selected(), (Names{"French"}));
    EXPECT_EQ(settings.mPrimaryLanguage, "French");
    EXPECT_EQ(windows.windowLog(), (Names{"modal frmSelectLanguages", "hide frmSelectLanguages"}));
    EXPECT_EQ(dialog->frmPrimaryLanguage(), nullptr);
    EXPECT_TRUE(windows.messages().empty());
}

TEST_F(LanguageDialogs, TwoLanguagesAskForThePrimaryWithTheCurrentPrimaryPreselected) {
    select({"English", "French"}, "French");
    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "Spanish");
        form.cmdOk().SetValue(true);
    });
    whenAskedForPrimary([](FrmPrimaryLanguage& form) {
        EXPECT_EQ(form.Caption(), "Primary Language");
        EXPECT_EQ(form.Label1().Caption(),
                  "Please identify your primary language.  When you are editting Help Text for other languages, "
                  "the Help text in your primary language will be displayed as a reference.");
        EXPECT_EQ(form.Label2().Caption(), "Primary Language");
        EXPECT_EQ(form.cmdOk().Caption(), "OK");
        EXPECT_EQ(form.cmdCancel().Caption(), "Cancel");
        EXPECT_EQ(form.cboLanguages().Style(), controls::vbComboDropdownList);
        EXPECT_EQ(lines(form.cboLanguages()), (Names{"English", "French", "Spanish"}));
        EXPECT_EQ(form.cboLanguages().ListIndex(), 1);
        form.cboLanguages().SetListIndex(2);
        form.cmdOk().SetValue(true);
    });
    showDialog();

    EXPECT_EQ(selected(), (Names{"English", "French", "Spanish"}));
    EXPECT_EQ(settings.mPrimaryLanguage, "Spanish");
    EXPECT_EQ(windows.windowLog(), (Names{"modal frmSelectLanguages", "modal frmPrimaryLanguage",
                                          "hide frmPrimaryLanguage", "hide frmSelectLanguages"}));
    ASSERT_NE(dialog->frmPrimaryLanguage(), nullptr);
    EXPECT_FALSE(dialog->frmPrimaryLanguage()->Cancelled());
    EXPECT_EQ(dialog->frmPrimaryLanguage()->PrimaryLanguage(), "Spanish");
}

TEST_F(LanguageDialogs, ThePrimaryDialogStartsOnTheFirstLanguageUnlessThePrimaryMatchesExactly) {
    // Not among the languages, and among them only in other letter case.
    for (const char* primary : {"Spanish", "french"}) {
        SCOPED_TRACE(primary);
        select({"French"}, primary);
        whenSelecting([](FrmSelectLanguages& form) {
            tick(form, "German");
            form.cmdOk().SetValue(true);
        });
        whenAskedForPrimary([](FrmPrimaryLanguage& form) {
            EXPECT_EQ(lines(form.cboLanguages()), (Names{"German", "French"}));
            EXPECT_EQ(form.cboLanguages().ListIndex(), 0);
            EXPECT_EQ(form.cboLanguages().Text(), "German");
            form.cmdOk().SetValue(true);
        });
        showDialog();
        dialog->Unload();
        EXPECT_EQ(settings.mPrimaryLanguage, "German");
    }
}

TEST_F(LanguageDialogs, CancellingThePrimaryDialogClosesBothKeepsTheNewLanguagesAndTheOldPrimary) {
    struct Way {
        const char* name;
        std::function<void(FrmPrimaryLanguage&)> leave;
        const char* logged;
    };
    const Way ways[] = {
        {"close box", [](FrmPrimaryLanguage& form) { form.userClose(); }, "unload frmPrimaryLanguage"},
        {"Cancel", [](FrmPrimaryLanguage& form) { form.cmdCancel().SetValue(true); }, "hide frmPrimaryLanguage"},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        select({"English"}, "English");
        windows.clearWindowLog();
        whenSelecting([](FrmSelectLanguages& form) {
            tick(form, "German");
            form.cmdOk().SetValue(true);
        });
        whenAskedForPrimary([&](FrmPrimaryLanguage& form) {
            form.cboLanguages().SetListIndex(1); // picks German, then leaves without OK
            way.leave(form);
        });
        showDialog();

        EXPECT_EQ(selected(), (Names{"English", "German"}));
        EXPECT_EQ(settings.mPrimaryLanguage, "English");
        EXPECT_TRUE(dialog->frmPrimaryLanguage()->Cancelled());
        EXPECT_FALSE(dialog->Visible());
        EXPECT_EQ(windows.windowLog(),
                  (Names{"modal frmSelectLanguages", "modal frmPrimaryLanguage", way.logged, "hide frmSelectLanguages"}));
        dialog->Unload();
    }
}

TEST_F(LanguageDialogs, OkKeepsOnlyOfferedLanguagesInTheOrderOfTheList) {
    select({"Spanish", "Klingon", "English"}, "English");
    const auto before = settings.SelectedLanguages;
    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "Global"); // ticked last, listed first
        form.cmdOk().SetValue(true);
    });
    whenAskedForPrimary([](FrmPrimaryLanguage& form) {
        EXPECT_EQ(lines(form.cboLanguages()), (Names{"Global", "English", "Spanish"}));
        EXPECT_EQ(form.cboLanguages().Text(), "English");
        form.cmdOk().SetValue(true);
    });
    showDialog();

    EXPECT_EQ(selected(), (Names{"Global", "English", "Spanish"}));
    EXPECT_FALSE(settings.SelectedLanguages->Contains("Klingon"));
    EXPECT_EQ(settings.mPrimaryLanguage, "English");
    // The list is a new one: whoever held the old list still sees it unchanged.
    EXPECT_NE(settings.SelectedLanguages, before);
    EXPECT_EQ(before->Count(), 3);
    EXPECT_EQ(before->Item(2), "Klingon");
}

TEST_F(LanguageDialogs, EveryShowingLoadsThePrimaryDialogAfresh) {
    select({"English", "German"}, "English");
    whenSelecting([](FrmSelectLanguages& form) { form.cmdOk().SetValue(true); });
    whenAskedForPrimary([](FrmPrimaryLanguage& form) {
        form.cboLanguages().SetText("German");
        form.cmdOk().SetValue(true);
    });
    showDialog();
    ASSERT_EQ(settings.mPrimaryLanguage, "German");
    dialog->Unload(); // as the toolbar does after each use

    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "English", false);
        tick(form, "Spanish");
        tick(form, "French");
        form.cmdOk().SetValue(true);
    });
    whenAskedForPrimary([](FrmPrimaryLanguage& form) {
        EXPECT_EQ(lines(form.cboLanguages()), (Names{"German", "French", "Spanish"}));
        EXPECT_EQ(form.cboLanguages().Text(), "German");
        form.cboLanguages().SetText("Spanish");
        form.cmdOk().SetValue(true);
    });
    showDialog();

    EXPECT_EQ(selected(), (Names{"German", "French", "Spanish"}));
    EXPECT_EQ(settings.mPrimaryLanguage, "Spanish");
}

TEST_F(LanguageDialogs, CancelAndTheCloseBoxChangeNothing) {
    select({"English", "German"}, "German");
    const auto before = settings.SelectedLanguages;
    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "German", false);
        tick(form, "French");
        form.cmdCancel().SetValue(true);
    });
    whenSelecting([](FrmSelectLanguages& form) {
        tick(form, "English", false);
        form.userClose();
    });
    showDialog();
    dialog->Unload();
    showDialog();

    EXPECT_EQ(settings.SelectedLanguages, before);
    EXPECT_EQ(selected(), (Names{"English", "German"}));
    EXPECT_EQ(settings.mPrimaryLanguage, "German");
    EXPECT_EQ(windows.windowLog(), (Names{"modal frmSelectLanguages", "hide frmSelectLanguages",
                                          "unload frmSelectLanguages", "modal frmSelectLanguages",
                                          "unload frmSelectLanguages"}));
}

TEST_F(LanguageDialogs, FailuresAreReportedUnderTheDialogsNames) {
    settings.SelectedLanguages = nullptr; // no connect object made the list
    reports.answer("RetryNext");
    dialog->Load();
    expectedReports = 1;
    ASSERT_EQ(reports.reports().size(), 1u);
    const test::RecordedReport& report = reports.reports()[0];
    EXPECT_EQ(report.number.toLong(), 91);
    EXPECT_EQ(report.module.toText(), "frmSelectLanguages");
    EXPECT_EQ(report.procedure.toText(), "Form_Load");
}

} // namespace
} // namespace corvane
