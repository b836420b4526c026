// Where the generated help files go: the layout's paths, and the writers putting their files
// exactly where the layout says the command line and the creation run will look.
#include "generate/HelpOutputLayout.h"
#include "generate/HtmlHelpProjectWriter.h"
#include "generate/WinHelpProjectWriter.h"
#include "testsupport/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

TEST(HelpOutputLayoutTest, PathsBesideTheProjectFile) {
    const HelpOutputLayout layout("/work/My Apps/Shop.vbp", "ShopApp", 1252);
    EXPECT_EQ(layout.projectFolder(), "/work/My Apps/");
    EXPECT_EQ(layout.outputFolder(), "/work/My Apps/Corvane");
    EXPECT_EQ(layout.languageFolder("German"), "/work/My Apps/Corvane/German/");
    EXPECT_EQ(layout.languageFile("German", HelpOutputFile::Popups),
              "/work/My Apps/Corvane/German/ShopApp_ContextTopics.txt");
    EXPECT_EQ(layout.languageFile("English", HelpOutputFile::WinHelpMap), "/work/My Apps/Corvane/English/ShopApp.h");
    // The copies beside the project are named after the project, not after its file.
    EXPECT_EQ(layout.besideProject(HelpOutputFile::HtmlHelp), "/work/My Apps/ShopApp_Context.chm");
    EXPECT_EQ(layout.besideProject(HelpOutputFile::WinHelp), "/work/My Apps/ShopApp_Context.hlp");
    EXPECT_EQ(layout.helpFileSetting(HelpOutputFile::HtmlHelp), "ShopApp_Context.chm::/ShopApp_contexttopics.txt");
    EXPECT_EQ(layout.helpFileSetting(HelpOutputFile::WinHelp), "ShopApp_Context.hlp");

    // A Windows path keeps its backslashes in the folders below it (either separator is one there).
    const HelpOutputLayout windows("C:\\VB\\Shop.vbp", "Shop", 1252);
    if (fs::path::preferred_separator == '\\') {
        EXPECT_EQ(windows.languageFolder("German"), "C:\\VB\\Corvane\\German\\");
    }

    // A project file named without a folder keeps its output relative to the working folder,
    // in the system's separator.
    const HelpOutputLayout bare("Shop.vbp", "Shop", 1252);
    EXPECT_EQ(bare.projectFolder(), "");
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(bare.languageFile("French", HelpOutputFile::WinHelpProject),
              "Corvane" + separator + "French" + separator + "Shop_Context.hpj");
    EXPECT_EQ(bare.besideProject(HelpOutputFile::WinHelp), "Shop_Context.hlp");
}

TEST(HelpOutputLayoutTest, WritersWriteWhereTheLayoutSays) {
    TempDir dir;
    const HelpOutputLayout layout((dir / "Shop.vbp").string(), "Shop", 1252);
    const std::string language = "English";
    fs::create_directories(layout.languageFolder(language));
    writeFile(dir / "template.hpj", "[OPTIONS]\r\nTITLE=%ProjectName%\r\n");
    writeFile(dir / "template.rtf", "{\\rtf1\\ansi\\ansicpg%CODE_PAGE%\r\n");
    writeFile(dir / "templatetopic.rtf", "#{\\footnote %ContextID%} %TopicText%\\page\r\n");
    writeFile(dir / "template.hhp", "[OPTIONS]\r\n");

    WinHelpProjectWriter winHelp;
    winHelp.readTemplates(dir.path());
    winHelp.open(layout.languageFolder(language), layout.projectName());
    winHelp.addTopic(7, "Seven");
    winHelp.close();
    EXPECT_EQ(winHelp.projectFile(), layout.languageFile(language, HelpOutputFile::WinHelpProject));
    EXPECT_EQ(winHelp.helpFile(), layout.languageFile(language, HelpOutputFile::WinHelp));

    HtmlHelpProjectWriter htmlHelp(layout.languageFolder(language), layout.projectName(), 1252);
    htmlHelp.addTopic(7, "Seven");
    htmlHelp.writePopupFile();
    htmlHelp.writeProject(dir / "template.hhp", 0x409);
    EXPECT_EQ(htmlHelp.compiledFile(), layout.languageFile(language, HelpOutputFile::HtmlHelp));

    for (HelpOutputFile written : {HelpOutputFile::WinHelpProject, HelpOutputFile::WinHelpTopics,
                                   HelpOutputFile::WinHelpMap, HelpOutputFile::Popups, HelpOutputFile::HtmlProject})
        EXPECT_TRUE(fs::is_regular_file(layout.languageFile(language, written)))
            << layout.languageFile(language, written);
    // Nothing lands outside the language's folder but the templates.
    size_t besideProject = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        besideProject += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(besideProject, 4u);
}

} // namespace
} // namespace corvane::test
