// The project settings of the help data file: the output formats a project gets when it has
// chosen none.
#include "helpdata/HelpDataSettings.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct Formats {
    bool generateHtml, compileHtml, generateWinHelp, compileWinHelp;
    bool operator==(const Formats&) const = default;
};

Formats formatsOf(const HelpDataSettings& settings) {
    return {settings.mGenerateHTML, settings.mCompileHTML, settings.mGenerateWinHelp, settings.mCompileWinHelp};
}

TEST(HelpDataSettingsTest, WithoutAFormatTheIdesVersionChooses) {
    HelpDataSettings version6;
    version6.chooseFormatsByVersion(6);
    EXPECT_EQ(formatsOf(version6), (Formats{true, true, false, false}));

    // The version 5 IDE knows no HTML Help.
    HelpDataSettings version5;
    version5.mCompileHTML = true; // a stray compile flag without its format
    version5.chooseFormatsByVersion(5);
    EXPECT_EQ(formatsOf(version5), (Formats{false, false, true, true}));
}

TEST(HelpDataSettingsTest, AChosenFormatIsKept) {
    HelpDataSettings winHelpOnly;
    winHelpOnly.mGenerateWinHelp = true;
    winHelpOnly.chooseFormatsByVersion(6);
    EXPECT_EQ(formatsOf(winHelpOnly), (Formats{false, false, true, false}));

    HelpDataSettings htmlNotCompiled;
    htmlNotCompiled.mGenerateHTML = true;
    htmlNotCompiled.chooseFormatsByVersion(5);
    EXPECT_EQ(formatsOf(htmlNotCompiled), (Formats{true, false, false, false}));
}

} // namespace
} // namespace corvane
