// The topics of later languages made on another thread during a creation run: the files they
// give are the files those languages get when generated alone, and the thread's topics are
// used only when they were made exactly as the language's own walk would make them.
#include "generate/GenerateTestFixture.h"

#include "generate/TopicsAhead.h"
#include "testsupport/TextTools.h"

#include <map>

namespace corvane::test {
namespace {

const std::vector<std::string> GeneratedFiles = {"OrderEntry_ContextTopics.txt", "OrderEntry_Context.hhp",
                                                 "OrderEntry_Context.hpj", "OrderEntry_ContextTopics.rtf",
                                                 "OrderEntry.h"};

class GenerateAhead : public GenerateTest {
protected:
    void selectOnly(const std::vector<std::string>& languages) {
        settings().SelectedLanguages->Clear();
        for (const std::string& language : languages)
            settings().SelectedLanguages->Add(language, language);
    }
};

TEST_F(GenerateAhead, LaterLanguagesGetTheFilesAndWarningsTheyGetWhenGeneratedAlone) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, false);
    windows_.useDefaultAnswers(true); // go on after each compile log
    selectOnly({"English", "German", "Greek"});
    int n = 0;
    for (const auto& records : *wizard.formsData())
        for (const auto& item : *records)
            item->SetHelpText("Greek", "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 {" + std::to_string(++n) +
                                           "} \\ \xE4\xB8\xAD\r\nline two"); // Greek, RTF syntax, a CJK character
    HelpItem& unnumbered = record("frmMain", "cmdOpen");
    unnumbered.ContextHelpID = 0; // numbered by the first language's walk
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    ASSERT_NE(unnumbered.ContextHelpID, 0);
    std::map<std::string, std::map<std::string, std::string>> together;
    for (const std::string language : {"German", "Greek"})
        for (const std::string& name : GeneratedFiles)
            together[language][name] = readFile(generated(language, name));
    ASSERT_EQ(logs_.size(), 1u); // the Greek popup file lost the CJK characters
    const std::string greekLog = logs_[0];
    EXPECT_NE(greekLog.find("code page 1253 cannot hold the character"), std::string::npos) << greekLog;
    EXPECT_NE(together["Greek"]["OrderEntry_ContextTopics.rtf"].find("\\{1\\} \\\\ \\u20013?\\par line two"),
              std::string::npos);

    for (const std::string language : {"German", "Greek"}) {
        SCOPED_TRACE(language);
        selectOnly({language});
        logs_.clear();
        wizard.CreateHelpFiles(); // the only language: it walks the records itself
        EXPECT_TRUE(reports_.reports().empty());
        for (const std::string& name : GeneratedFiles)
            EXPECT_EQ(readFile(generated(language, name)), together[language][name]) << name;
        EXPECT_EQ(logs_, language == "Greek" ? std::vector<std::string>{greekLog} : std::vector<std::string>{});
    }
}

TEST_F(GenerateAhead, TopicsAreTakenOnlyAsMadeAndNotMadeForRecordsStillWithoutNumbers) {
    openEditor(copyExample());
    const auto forms = editor().formsData();
    const TopicRecipe recipe{"#{\\footnote IDH_%TOPIC_ID%}\n%TOPIC_TEXT%\\par\n", 1252, 1252};
    std::atomic<bool> stop{false};
    EXPECT_FALSE(TopicsAhead::make(*forms, "English", recipe, stop)); // the example has records to number
    size_t withText = 0;
    for (const auto& records : *forms)
        for (const auto& item : *records)
            if (item->Control() && item->hasText() && ++withText && item->ContextHelpID == 0)
                item->ContextHelpID = 1000 + static_cast<int32_t>(withText);
    ASSERT_GT(withText, 5u);
    auto made = TopicsAhead::make(*forms, "English", recipe, stop);
    ASSERT_TRUE(made && made->winHelp && made->popups);
    EXPECT_EQ(countOf(made->popups->bytes(), ".topic "), withText);
    EXPECT_EQ(countOf(made->winHelp->takeTopicLines().str(), "#{\\footnote IDH_"), withText);

    TopicRecipe htmlOnly = recipe;
    htmlOnly.topicTemplate.reset();
    made = TopicsAhead::make(*forms, "English", htmlOnly, stop);
    ASSERT_TRUE(made && made->popups);
    EXPECT_FALSE(made->winHelp);

    record("frmMain", "cmdOpen").ContextHelpID = 0;
    EXPECT_FALSE(TopicsAhead::make(*forms, "English", recipe, stop)); // the walk numbers it first
    record("frmMain", "cmdOpen").ContextHelpID = 77;
    stop = true;
    EXPECT_FALSE(TopicsAhead::make(*forms, "English", recipe, stop));

    TopicsAhead ahead;
    EXPECT_FALSE(ahead.take("English", recipe)); // not started
    ahead.start(forms, {{"English", recipe}, {"German", recipe}, {"Greek", recipe}});
    EXPECT_TRUE(ahead.started());
    EXPECT_FALSE(ahead.take("French", recipe));
    TopicRecipe otherCodePage = recipe;
    otherCodePage.rtfCodePage = 1250;
    EXPECT_FALSE(ahead.take("German", otherCodePage));
    auto english = ahead.take("English", recipe);
    ASSERT_TRUE(english && english->popups);
    EXPECT_NE(english->popups->bytes().find(".topic 77\r\n"), std::string::npos);
    EXPECT_FALSE(ahead.take("English", recipe)); // each language's topics are taken once
    // Greek is never taken: the destructor stops the thread and waits for it.
}

} // namespace
} // namespace corvane::test
