// HTMLShowTopic and SetHTMLHelpStrings: the program's own help shown in the help window.
#include "files/AppPaths.h"
#include "ownhelp/ChmArchive.h"
#include "ownhelp/HeadlessHelpViewer.h"
#include "ownhelp/HtmlHelp.h"
#include "ownhelp/ModHTMLHelp.h"
#include "ownhelp/BuiltHelpPage.h"
#include "testsupport/TempDir.h"
#include "testsupport/addin/ErrorReportTestComponent.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace corvane {
namespace {

namespace fs = std::filesystem;
using test::builtPage;
using test::readFile;
using test::ScriptedReports;
using test::TempDir;
using test::writeFile;

const fs::path BuildDataFolder = fs::path(CORVANE_BINARY_DIR) / "share" / "corvane";
const fs::path HelpPages = fs::path(CORVANE_SOURCE_DIR) / "help" / "pages";


// Points the data folder at `folder` for one test and records what the help window shows.
class OwnHelp : public ::testing::Test {
protected:
    void useDataFolder(const fs::path& folder) { setDataDirectory(folder); }
    void TearDown() override { setDataDirectory({}); }

    // The only thing shown so far.
    const ShownHelp& onlyShown() const {
        EXPECT_EQ(viewer.shown().size(), 1u);
        return viewer.shown().back();
    }

    HeadlessHelpViewer viewer;
    HelpViewerScope scope{viewer};
};

TEST_F(OwnHelp, TheBuildTreeFindsItsOwnHelpFileWithoutInstalling) {
    std::string path = SetHTMLHelpStrings(1);
    EXPECT_EQ(path, (dataDirectory() / "corvane.chm").string());
    EXPECT_TRUE(fs::is_regular_file(path)) << path;
    // The build's data folder is complete: the program's other data lies beside the help file.
    for (const char* name : {"languages.txt", "template.hhp", "template.hpj", "template.rtf", "templatetopic.rtf"})
        EXPECT_EQ(readFile(BuildDataFolder / name), readFile(fs::path(CORVANE_SOURCE_DIR) / "data" / name)) << name;
}

TEST_F(OwnHelp, OnlyHelpFileNumberOneHasAPath) {
    useDataFolder("/opt/corvane data");
    EXPECT_EQ(SetHTMLHelpStrings(1), (fs::path("/opt/corvane data") / "corvane.chm").string()); // "\\" on Windows
    EXPECT_EQ(SetHTMLHelpStrings(2), "");
    EXPECT_EQ(SetHTMLHelpStrings(0), "");
    EXPECT_EQ(SetHTMLHelpStrings(-1), "");
}

TEST_F(OwnHelp, TheToolbarsTopicShowsGettingStarted) {
    useDataFolder(BuildDataFolder);
    HTMLShowTopic(1, "Default", "gettingstarted.html");
    const auto& shown = onlyShown();
    ASSERT_TRUE(shown.isTopic) << shown.message.text;
    const HelpTopic& topic = shown.topic;
    EXPECT_EQ(topic.helpFile, BuildDataFolder / "corvane.chm");
    EXPECT_EQ(topic.window, "Default");
    EXPECT_EQ(topic.path, "/gettingstarted.html");
    EXPECT_EQ(topic.anchor, "");
    EXPECT_EQ(topic.title, "Getting started with Corvane");
    EXPECT_EQ(topic.html, builtPage(HelpPages / "gettingstarted.html"));
    EXPECT_NE(topic.html.find("Add-Ins &gt; Corvane ..."), std::string::npos);
    // The viewer can load what the page links to, out of the same help file.
    EXPECT_EQ(topic.resource("style.css"), readFile(HelpPages / "style.css"));
    EXPECT_EQ(topic.resource("editor.html#grid"), readFile(HelpPages / "editor.html"));
    EXPECT_FALSE(topic.resource("nosuch.png"));
}

TEST_F(OwnHelp, ATopicMayStartWithASlashAndNameAnAnchor) {
    useDataFolder(BuildDataFolder);
    HTMLShowTopic(1, "Default", "/languages.html#primary");
    const auto& shown = onlyShown();
    ASSERT_TRUE(shown.isTopic) << shown.message.text;
    EXPECT_EQ(shown.topic.path, "/languages.html");
    EXPECT_EQ(shown.topic.anchor, "primary");
    EXPECT_EQ(shown.topic.title, "Languages");
}

TEST_F(OwnHelp, AMissingTopicShowsAMessageNamingIt) {
    useDataFolder(BuildDataFolder);
    std::string file = (BuildDataFolder / "corvane.chm").string();
    HTMLShowTopic(1, "Default", "nosuch.html");
    HTMLShowTopic(1, "Default", "");
    HTMLShowTopic(1, "Default", "#top");
    ASSERT_EQ(viewer.shown().size(), 3u);
    for (const auto& shown : viewer.shown()) {
        EXPECT_FALSE(shown.isTopic);
        EXPECT_EQ(shown.message.helpFile, file);
        EXPECT_EQ(shown.message.window, "Default");
    }
    EXPECT_EQ(viewer.shown()[0].message.topic, "nosuch.html");
    EXPECT_EQ(viewer.shown()[0].message.text,
              "The topic \"nosuch.html\" was not found in the help file \"" + file + "\".");
    EXPECT_EQ(viewer.shown()[1].message.text, "The topic \"\" was not found in the help file \"" + file + "\".");
    EXPECT_EQ(viewer.shown()[2].message.text, "The topic \"#top\" was not found in the help file \"" + file + "\".");
}

TEST_F(OwnHelp, AMissingOrUnreadableHelpFileShowsAMessageNamingIt) {
    TempDir data;
    useDataFolder(data.path());
    HTMLShowTopic(1, "Default", "gettingstarted.html");
    writeFile(data / "corvane.chm", "not compiled");
    HTMLShowTopic(1, "Default", "gettingstarted.html");
    ASSERT_EQ(viewer.shown().size(), 2u);
    std::string file = (data / "corvane.chm").string();
    EXPECT_FALSE(viewer.shown()[0].isTopic);
    EXPECT_EQ(viewer.shown()[0].message.text, "The help file \"" + file + "\" was not found.");
    EXPECT_EQ(viewer.shown()[0].message.topic, "gettingstarted.html");
    EXPECT_FALSE(viewer.shown()[1].isTopic);
    EXPECT_EQ(viewer.shown()[1].message.text,
              "The help file \"" + file + "\" cannot be read: it is not a compiled HTML Help file or it is damaged.");
}

TEST_F(OwnHelp, HelpFileNumberTwoGivesOnlyTheWindowName) {
    useDataFolder(BuildDataFolder);
    HTMLShowTopic(2, "Default", "gettingstarted.html");
    const auto& shown = onlyShown();
    ASSERT_FALSE(shown.isTopic);
    // The file argument was ">Default": no file, the window type "Default".
    EXPECT_EQ(shown.message.helpFile, "");
    EXPECT_EQ(shown.message.window, "Default");
    EXPECT_EQ(shown.message.text, "No help file is available for the topic \"gettingstarted.html\".");
}

TEST_F(OwnHelp, TheStandInSplitsTheFileArgumentAndIgnoresOtherCommands) {
    std::string file = (BuildDataFolder / "corvane.chm").string();
    EXPECT_EQ(HtmlHelpA(0, file + ">Main", HH_DISPLAY_TOPIC, "toolbar.html"), 1);
    EXPECT_EQ(HtmlHelpA(0, file, HH_DISPLAY_TOPIC, "toolbar.html"), 1);
    EXPECT_EQ(HtmlHelpA(0, file + ">Default", 0x0F, "toolbar.html"), 0);
    EXPECT_EQ(HtmlHelpA(0, file + ">Default", HH_DISPLAY_TOPIC, "gone.html"), 0);
    ASSERT_EQ(viewer.shown().size(), 3u);
    EXPECT_EQ(viewer.shown()[0].topic.window, "Main");
    EXPECT_EQ(viewer.shown()[0].topic.helpFile, file);
    EXPECT_EQ(viewer.shown()[0].topic.title, "The toolbar");
    EXPECT_EQ(viewer.shown()[1].topic.window, "");
    EXPECT_FALSE(viewer.shown()[2].isTopic);
}

TEST(OwnHelpViewer, WithoutAnInstalledViewerTopicsGoToTheHeadlessOne) {
    setDataDirectory(BuildDataFolder);
    HelpViewer::headless().clear();
    EXPECT_EQ(&HelpViewer::current(), &HelpViewer::headless());
    HTMLShowTopic(1, "Default", "options.html");
    {
        HeadlessHelpViewer inner;
        HelpViewerScope scope(inner);
        EXPECT_EQ(&HelpViewer::current(), &inner);
        HTMLShowTopic(1, "Default", "spelling.html");
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    EXPECT_EQ(&HelpViewer::current(), &HelpViewer::headless());
    setDataDirectory({});
    ASSERT_EQ(HelpViewer::headless().shown().size(), 1u);
    EXPECT_EQ(HelpViewer::headless().shown()[0].topic.title, "Help file options");
    HelpViewer::headless().clear();
}

// A help window that fails, so that the procedure's error report can be seen.
class FailingViewer : public HelpViewer {
public:
    void showTopic(const HelpTopic&) override { throw VbError(vberr::InvalidCall); }
    void showMessage(const HelpMessage&) override { throw VbError(vberr::InvalidCall); }
};

TEST(OwnHelpViewer, AFailureIsReportedUnderModHTMLHelp) {
    setDataDirectory(BuildDataFolder);
    FailingViewer failing;
    HelpViewerScope scope(failing);
    ScriptedReports script({"RetryNext", ""});
    EXPECT_NO_THROW(HTMLShowTopic(1, "Default", "gettingstarted.html"));
    try {
        HTMLShowTopic(3, "Main", "x.html");
        ADD_FAILURE() << "the failure was not passed on";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 65535);
    }
    setDataDirectory({});
    ASSERT_EQ(script.reports().size(), 2u);
    const auto& report = script.reports()[0];
    EXPECT_EQ(report.number.toLong(), 5);
    EXPECT_EQ(report.module.toText(), "modHTMLHelp");
    EXPECT_EQ(report.procedure.toText(), "HTMLShowTopic");
    EXPECT_GT(report.line.toLong(), 0);
    std::string file = (BuildDataFolder / "corvane.chm").string();
    EXPECT_EQ(report.variables.toText(),
              "<Variables>\r\n<LocalVariables>\r\n<strHelpFile>" + file +
                  "</strHelpFile>\r\n</LocalVariables>\r\n<ModuleVariables>\r\n</ModuleVariables>\r\n</Variables>\r\n"
                  "<Parameters>\r\n<intHelpFile>1</intHelpFile>\r\n<strWindow>Default</strWindow>\r\n"
                  "<strTopic>gettingstarted.html</strTopic>\r\n\r\n</Parameters>");
    EXPECT_EQ(script.reports()[1].procedure.toText(), "HTMLShowTopic");
}

} // namespace
} // namespace corvane
