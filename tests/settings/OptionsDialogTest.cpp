// The options dialog worked by a scripted user: its boxes edit the four format flags at once.
#include "controls/HeadlessWindowSystem.h"
#include "registry/RegistryAccess.h"
#include "settings/FrmOptions.h"
#include "settings/ModMain.h"
#include "testsupport/ScopedEnvironment.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace corvane {
namespace {

using controls::Form;
using controls::vbChecked;
using controls::vbUnchecked;
// mGenerateHTML, mCompileHTML, mGenerateWinHelp, mCompileWinHelp.
using Flags = std::array<bool, 4>;

class OptionsDialog : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(reports.reports().empty()); }

    void setFlags(Flags flags) {
        settings.mGenerateHTML = flags[0];
        settings.mCompileHTML = flags[1];
        settings.mGenerateWinHelp = flags[2];
        settings.mCompileWinHelp = flags[3];
    }
    Flags flags() const {
        return {settings.mGenerateHTML, settings.mCompileHTML, settings.mGenerateWinHelp, settings.mCompileWinHelp};
    }
    // Which boxes are checked, in the order of Flags.
    static Flags checked(FrmOptions& form) {
        return {form.chkGenerateHTML().Value() == vbChecked, form.chkCompileHTML().Value() == vbChecked,
                form.chkGenerateWinHelp().Value() == vbChecked, form.chkCompileWinHelp().Value() == vbChecked};
    }

    // Shows a fresh dialog over the editor (as the toolbar does) and lets the user work it;
    // returns the boxes as the user left them.
    Flags showWith(std::function<void(FrmOptions&)> action) {
        Flags boxes{};
        dialog = Form::create<FrmOptions>(settings);
        windows.onModalOnce("frmOptions", [&](Form& form) {
            auto& options = dynamic_cast<FrmOptions&>(form);
            action(options);
            boxes = checked(options);
            options.cmdOk().SetValue(true);
        });
        dialog->Show(controls::vbModal, &editor);
        return boxes;
    }

    test::ScriptedReports reports;
    ModMain settings;
    controls::HeadlessWindowSystem windows;
    controls::WindowSystemScope installed{windows};
    Form editor{"frmWizard"};
    std::unique_ptr<FrmOptions> dialog = Form::create<FrmOptions>(settings);
};

TEST_F(OptionsDialog, LoadingAppliesTheTextsAndShowsTheFlagsWithoutChangingAny) {
    dialog->Load();
    EXPECT_EQ(dialog->Caption(), "Help file creation options");
    EXPECT_EQ(dialog->Label1().Caption(), "Help file creation options");
    EXPECT_EQ(dialog->chkGenerateHTML().Caption(), "Generate Help files in HTML Help format");
    EXPECT_EQ(dialog->chkCompileHTML().Caption(), "Compile generated HTML Help files");
    EXPECT_EQ(dialog->chkGenerateWinHelp().Caption(), "Generate Help files in WinHelp format");
    EXPECT_EQ(dialog->chkCompileWinHelp().Caption(), "Compile generated WinHelp files");
    EXPECT_EQ(dialog->cmdOk().Caption(), "OK");

    // Every combination, among them a compile flag on while its format is off.
    for (unsigned bits = 0; bits < 16; ++bits) {
        const Flags stored = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
        SCOPED_TRACE(bits);
        dialog->Unload();
        setFlags(stored);
        dialog->Load();
        EXPECT_EQ(checked(*dialog), stored);
        EXPECT_EQ(flags(), stored);
    }
}

TEST_F(OptionsDialog, UncheckingTheOnlyFormatSwitchesToTheOtherAndClearsItsCompileBox) {
    setFlags({true, true, false, false});
    Flags boxes = showWith([](FrmOptions& form) { form.chkGenerateHTML().SetValue(vbUnchecked); });
    EXPECT_EQ(flags(), (Flags{false, false, true, false}));
    EXPECT_EQ(boxes, flags());

    setFlags({false, true, true, true}); // the HTML compile flag stays as it is
    boxes = showWith([](FrmOptions& form) { form.chkGenerateWinHelp().SetValue(vbUnchecked); });
    EXPECT_EQ(flags(), (Flags{true, true, false, false}));
    EXPECT_EQ(boxes, flags());
}

TEST_F(OptionsDialog, WithBothFormatsOnUncheckingOneClearsOnlyThatFormatsFlags) {
    setFlags({true, true, true, true});
    showWith([](FrmOptions& form) { form.chkGenerateHTML().SetValue(vbUnchecked); });
    EXPECT_EQ(flags(), (Flags{false, false, true, true}));

    setFlags({true, true, true, true});
    showWith([](FrmOptions& form) { form.chkGenerateWinHelp().SetValue(vbUnchecked); });
    EXPECT_EQ(flags(), (Flags{true, true, false, false}));
}

TEST_F(OptionsDialog, CompileBoxesAndGenerateBoxesDoNotSwitchEachOtherOn) {
    setFlags({false, false, true, false});
    showWith([&](FrmOptions& form) {
        form.chkCompileHTML().SetValue(vbChecked);
        EXPECT_EQ(flags(), (Flags{false, true, true, false})); // at once, before OK
    });
    EXPECT_EQ(flags(), (Flags{false, true, true, false}));

    setFlags({true, false, false, false});
    showWith([](FrmOptions& form) {
        form.chkCompileWinHelp().SetValue(vbChecked);
        form.chkGenerateWinHelp().SetValue(vbChecked);
        form.chkGenerateHTML().SetValue(vbUnchecked);
        form.chkGenerateHTML().SetValue(vbChecked); // its compile box stays off
    });
    EXPECT_EQ(flags(), (Flags{true, false, true, true}));
}

TEST_F(OptionsDialog, ChangesSurviveTheCloseBoxAndTheNextShowingStartsFromThem) {
    setFlags({true, true, false, false});
    windows.onModalOnce("frmOptions", [](Form& form) {
        auto& options = dynamic_cast<FrmOptions&>(form);
        options.chkGenerateWinHelp().SetValue(vbChecked);
        options.chkCompileHTML().SetValue(vbUnchecked);
        options.userClose();
    });
    dialog->Show(controls::vbModal, &editor);
    EXPECT_FALSE(dialog->loaded());
    EXPECT_EQ(flags(), (Flags{true, false, true, false}));
    EXPECT_EQ(windows.windowLog(), (std::vector<std::string>{"modal frmOptions", "unload frmOptions"}));

    const Flags boxes = showWith([](FrmOptions&) {});
    EXPECT_EQ(boxes, (Flags{true, false, true, false}));
}

TEST_F(OptionsDialog, TheCompilerTimeLimitIsWholeMinutesKeptInTheRegistry) {
    test::TempDir dir;
    test::ScopedEnvironment registryFile("CORVANE_REGISTRY", (dir / "registry.reg").string());
    settings.main(); // nothing stored: ten minutes
    EXPECT_EQ(settings.mCompilerTimeLimit, 600);
    showWith([](FrmOptions& form) {
        EXPECT_EQ(form.lblTimeLimit().Caption(), "Stop a help compiler after this many minutes:");
        EXPECT_EQ(form.txtTimeLimit().Text(), "10");
        form.txtTimeLimit().SetText("soon"); // not a number: the limit stays
        form.txtTimeLimit().SetText("0");    // no limit is no choice here
        form.txtTimeLimit().SetText("25");
    });
    EXPECT_EQ(settings.mCompilerTimeLimit, 25 * 60);
    EXPECT_EQ(registry().GetValue(RegistryRoot::CurrentUser, ModMain::OptionsKey, ModMain::CompilerTimeLimitValue),
              "25");

    // The next start takes it from the registry; a value no dialog writes is passed over.
    ModMain next;
    next.main();
    EXPECT_EQ(next.mCompilerTimeLimit, 25 * 60);
    registry().SetValue(RegistryRoot::CurrentUser, ModMain::OptionsKey, ModMain::CompilerTimeLimitValue, "-3", REG_SZ);
    ModMain odd;
    odd.main();
    EXPECT_EQ(odd.mCompilerTimeLimit, ModMain::DefaultCompilerTimeLimit);
}

} // namespace
} // namespace corvane
