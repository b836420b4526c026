// The help projects generated for the example project in two languages, compared byte for
// byte with the files kept in tests/data/generate/orderentry. Set CORVANE_UPDATE_GOLDEN=1 to
// write the golden files afresh after a deliberate change (and review the diff).
#include "generate/GenerateTestFixture.h"
#include "testsupport/RtfChecker.h"

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <set>

namespace corvane::test {
namespace {

const fs::path GoldenFolder = fs::path(CORVANE_TEST_DATA_DIR) / "generate" / "orderentry";
const std::vector<std::string> GeneratedFiles = {"OrderEntry_ContextTopics.txt", "OrderEntry_Context.hhp",
                                                 "OrderEntry_Context.hpj", "OrderEntry_ContextTopics.rtf",
                                                 "OrderEntry.h"};

// The numbers of the map header's "#define IDH_<id> <id>" lines, in order.
std::vector<std::string> mapNumbers(const std::string& map) {
    std::vector<std::string> numbers;
    std::regex line("#define IDH_([0-9]+) ([0-9]+)\r\n");
    for (auto it = std::sregex_iterator(map.begin(), map.end(), line); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ((*it)[1], (*it)[2]);
        numbers.push_back((*it)[1]);
    }
    return numbers;
}

class GenerateGolden : public GenerateTest {};

TEST_F(GenerateGolden, ExampleProjectInEnglishAndGermanMatchesTheGoldenFiles) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, false);
    ASSERT_TRUE(settings().mGenerateHTML && settings().mGenerateWinHelp);
    wizard.CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    ASSERT_FALSE(windows_.messages().empty());
    EXPECT_EQ(windows_.messages().back().prompt,
              "2 Help projects were created in the directory  '" + projectDir() +
                  "Corvane'\n\nThe HTML Help projects were not compiled: \"Compile generated HTML Help files\" is off in the "
                  "options.\n\nThe WinHelp projects were not compiled: \"Compile generated WinHelp files\" is off in the options.");
    EXPECT_EQ(windows_.messages().back().title, "Help projects created");

    const bool update = std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr;
    for (const std::string language : {"English", "German"}) {
        for (const std::string& name : GeneratedFiles) {
            SCOPED_TRACE(language + "/" + name);
            std::string bytes = portable(readFile(generated(language, name)), projectDir());
            ASSERT_FALSE(bytes.empty());
            EXPECT_TRUE(hasOnlyCrLf(bytes));
            if (update)
                writeFile(GoldenFolder / language / name, bytes);
            EXPECT_EQ(bytes, readFile(GoldenFolder / language / name));
        }
    }
}

TEST_F(GenerateGolden, TopicDocumentHasOneFootnotePerTopicAndEveryNumberOfTheMap) {
    FrmWizard& wizard = openEditor(copyExample());
    compile(false, false);
    wizard.CreateHelpFiles();
    for (const std::string language : {"English", "German"}) {
        SCOPED_TRACE(language);
        std::string rtf = readFile(generated(language, "OrderEntry_ContextTopics.rtf"));
        RtfCheckResult result = RtfChecker::check(rtf);
        ASSERT_TRUE(result.ok()) << result.error;
        // The default topic, then one topic per popup entry of the HTML Help side.
        std::string popups = readFile(generated(language, "OrderEntry_ContextTopics.txt"));
        size_t popupTopics = 0;
        for (size_t at = popups.find(".topic "); at != std::string::npos; at = popups.find(".topic ", at + 1))
            ++popupTopics;
        ASSERT_EQ(result.topics.size(), popupTopics + 1);
        EXPECT_EQ(result.pageBreaks, static_cast<int>(popupTopics + 1));
        EXPECT_EQ(result.topics.front().contextString(), "IDC_DEFAULT_TOPIC");
        for (const RtfTopic& topic : result.topics)
            EXPECT_EQ(std::count_if(topic.footnotes.begin(), topic.footnotes.end(),
                                    [](const RtfFootnote& f) { return f.mark == '#'; }),
                      1);
        std::set<std::string> contextStrings(result.contextStrings.begin(), result.contextStrings.end());
        std::vector<std::string> numbers = mapNumbers(readFile(generated(language, "OrderEntry.h")));
        EXPECT_EQ(std::set<std::string>(numbers.begin(), numbers.end()).size(), numbers.size());
        for (const std::string& number : numbers)
            EXPECT_TRUE(contextStrings.count("IDH_" + number)) << number;
        EXPECT_EQ(contextStrings.size(), numbers.size() + 1);
    }
    // The German text with umlauts and „quotes“ reads back as written.
    RtfCheckResult german = RtfChecker::check(readFile(generated("German", "OrderEntry_ContextTopics.rtf")));
    EXPECT_NE(german.topics[1].text.find("Die Symbolleiste bietet schnellen Zugriff auf die häufigsten Befehle."),
              std::string::npos)
        << german.topics[1].text;
}

} // namespace
} // namespace corvane::test
