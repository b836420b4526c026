// The topics of later languages made on another thread during a creation run: the files they
// give are the files those languages get when generated alone, and the thread's topics are
// used only when they were made exactly as the language's own walk would make them.
#include "generate/GenerateTestFixture.h"

#include "files/FileFailures.h"
#include "generate/TopicsAhead.h"
#include "testsupport/TextTools.h"

#include <map>
#include <mutex>

namespace corvane::test {
namespace {

const std::vector<std::string> GeneratedFiles = {"OrderEntry_ContextTopics.txt", "OrderEntry_Context.hhp",
                                                 "OrderEntry_Context.hpj", "OrderEntry_ContextTopics.rtf",
                                                 "OrderEntry.h"};

// The map's lines of the topics, as written.
std::string mapLines(WinHelpTopics& topics) {
    std::string lines;
    OutputBuffer out([&](std::string_view chunk) { lines += chunk; });
    topics.writeMapLines(out);
    out.flush();
    return lines;
}

class GenerateAhead : public GenerateTest {
protected:
    void selectOnly(const std::vector<std::string>& languages) {
        settings().SelectedLanguages->Clear();
        for (const std::string& language : languages)
            settings().SelectedLanguages->Add(language, language);
    }
    // Opens the example with `number` for every record that has text and no number yet; its records.
    std::shared_ptr<ModuleRecords> openNumbered(int32_t number) {
        openEditor(copyExample());
        auto forms = editor().formsData();
        for (const auto& records : *forms)
            for (const auto& item : *records)
                if (item->Control() && item->hasText() && item->ContextHelpID == 0)
                    item->ContextHelpID = number;
        return forms;
    }
    // A recipe for both formats, its topics kept in memory.
    static TopicRecipe bothInMemory() {
        TopicRecipe recipe;
        recipe.topicTemplate = "#{\\footnote IDH_%TOPIC_ID%}\n%TOPIC_TEXT%\\par\n";
        recipe.popupCodePage = 1252;
        return recipe;
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
    // Again, now that every language has its folder: the thread writes the files it makes.
    logs_.clear();
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
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
        wizard.CreateHelpFiles(); // the only language, its two parts shared with the thread
        EXPECT_TRUE(reports_.reports().empty());
        for (const std::string& name : GeneratedFiles)
            EXPECT_EQ(readFile(generated(language, name)), together[language][name]) << name;
        EXPECT_EQ(logs_, language == "Greek" ? std::vector<std::string>{greekLog} : std::vector<std::string>{});
    }
}

TEST_F(GenerateAhead, TopicsAreTakenOnlyAsMadeAndNotMadeForRecordsStillWithoutNumbers) {
    openEditor(copyExample());
    const auto forms = editor().formsData();
    const TopicRecipe recipe = bothInMemory();
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

TEST_F(GenerateAhead, APartTheThreadHasNotBegunIsMadeByTheCallerAndTheLanguageIsWhole) {
    const auto forms = openNumbered(700);
    const TopicRecipe recipe = bothInMemory();
    std::atomic<bool> stop{false};
    const std::vector<std::string> languages{"English", "German", "French", "Greek"};
    std::vector<std::pair<std::string, TopicRecipe>> all;
    for (const std::string& language : languages)
        all.emplace_back(language, recipe);
    for (int round = 0; round < 5; ++round) { // the thread and the caller meet at other parts each time
        TopicsAhead ahead;
        ahead.start(forms, all);
        for (const std::string& language : languages) {
            auto taken = ahead.take(language, recipe, TopicsAhead::NotBegun::MakeHere);
            auto alone = TopicsAhead::make(*forms, language, recipe, stop);
            ASSERT_TRUE(taken && taken->winHelp && taken->popups && alone) << language;
            EXPECT_EQ(taken->popups->bytes(), alone->popups->bytes()) << language;
            EXPECT_EQ(taken->winHelp->takeTopicLines().str(), alone->winHelp->takeTopicLines().str()) << language;
            EXPECT_EQ(mapLines(*taken->winHelp), mapLines(*alone->winHelp)) << language;
        }
    }
}

TEST_F(GenerateAhead, TopicsWrittenAsTheyAreMadeAreTheBytesOfTheTopicsMadeInMemory) {
    const auto forms = openNumbered(500);
    record("frmMain", "cmdOpen").SetHelpText("English", ".topic 9 is not a topic\r\n\xE2\x82\xAC \xE4\xB8\xAD {x}");
    const TopicRecipe inMemory = bothInMemory();
    TopicRecipe written = inMemory;
    const fs::path folder = fs::path(projectDir()) / "out";
    fs::create_directories(folder);
    written.documentFile = (folder / "topics.rtf").string();
    written.documentStart = "{\\rtf1";
    written.popupFile = (folder / "popups.txt").string();
    std::atomic<bool> stop{false};
    auto kept = TopicsAhead::make(*forms, "English", inMemory, stop);
    auto streamed = TopicsAhead::make(*forms, "English", written, stop);
    ASSERT_TRUE(kept && streamed && streamed->document && streamed->popupFile);
    EXPECT_FALSE(fs::exists(written.documentFile)); // prepared, not yet in place
    streamed->document->commit();
    streamed->popupFile->commit();
    EXPECT_EQ(readFile(written.documentFile), "{\\rtf1\r\n" + kept->winHelp->takeTopicLines().str() + "}\r\n");
    EXPECT_EQ(readFile(written.popupFile), kept->popups->bytes());
    EXPECT_EQ(mapLines(*streamed->winHelp), mapLines(*kept->winHelp));
    // What the popup file lost or changed is kept for the compile log either way.
    EXPECT_EQ(streamed->popups->warnings("p"), kept->popups->warnings("p"));
    EXPECT_NE(streamed->popups->warnings("p").find("U+4E2D"), std::string::npos);
    EXPECT_EQ(streamed->popups->notes("p"), kept->popups->notes("p"));
    EXPECT_FALSE(streamed->popups->notes("p").empty());

    // Made ahead and dropped before their turn (a run that ended early): nothing is put in
    // place, and no temporary file stays.
    fs::remove(written.documentFile);
    fs::remove(written.popupFile);
    {
        TopicsAhead ahead;
        ahead.start(forms, {{"English", written}});
        auto ready = ahead.take("English", written);
        ASSERT_TRUE(ready && ready->document && ready->popupFile);
        EXPECT_FALSE(fs::is_empty(folder));
    }
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(GenerateAhead, TheRunFlushesItsFilesToDiskTogetherNotEachOnItsOwn) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, false);
    std::mutex lock;
    std::vector<std::string> flushed;
    auto previous = setAtomicFaultInjector([&](AtomicStep step, const fs::path& file) {
        if (step == AtomicStep::Flush || step == AtomicStep::SyncFolder) {
            std::lock_guard<std::mutex> guard(lock);
            flushed.push_back(file.string());
        }
        return 0;
    });
    wizard.CreateHelpFiles();
    setAtomicFaultInjector(previous);
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_EQ(readFile(generated("German", "OrderEntry.h")).substr(0, 12), "#define IDH_");
    for (const std::string& file : flushed)
        EXPECT_EQ(file.find("/Corvane/"), std::string::npos) << file; // no journal commit per file
}

} // namespace
} // namespace corvane::test
