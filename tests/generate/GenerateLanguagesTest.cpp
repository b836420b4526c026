// Help projects of the example project in languages outside Windows-1252: the WinHelp topic
// document declares the language's code page and character set and writes its characters as
// code page bytes that read back to the text; the WinHelp project names the language; the
// popup file is in the same code page and compiled into the .chm as it is. The topic
// documents and projects are also compared byte for byte with the files kept in
// tests/data/generate/languages (CORVANE_UPDATE_GOLDEN=1 writes them afresh).
#include "generate/GenerateTestFixture.h"

#include "generate/TextReplace.h"
#include "testsupport/RtfChecker.h"
#include "testsupport/TextTools.h"
#include "text/TextCodec.h"

#include <cstdlib>
#include <map>
#include <regex>

namespace corvane::test {
namespace {

const fs::path GoldenFolder = fs::path(CORVANE_TEST_DATA_DIR) / "generate" / "languages";

struct LanguageCase {
    std::string name;
    int codePage;
    int charset;
    std::string lcid;            // as the WinHelp project writes it
    std::vector<std::string> texts; // given to the controls in turn
    std::string escaped;         // a piece of the topic document the texts must give
};

const std::vector<LanguageCase> Languages = {
    {"Russian", 1251, 204, "0x419",
     {"Открывает выбранный заказ.", "Сохраняет запись.\r\nВторая строка «в кавычках»", "Ёлка № 5 — €"},
     "\\'ce\\'f2\\'ea\\'f0\\'fb\\'e2\\'e0\\'e5\\'f2"},
    {"Greek", 1253, 161, "0x408",
     {"Ανοίγει την επιλεγμένη παραγγελία.", "Αποθήκευση ΑΒΓΔ ω ΐ", "Τιμή: 12 €"},
     "\\'c1\\'ed\\'ef\\'DF"},
    {"Polish", 1250, 238, "0x415",
     {"Zamyka okno i zapisuje zmiany.", "Zażółć gęślą jaźń", "ĄĆĘŁŃÓŚŹŻ {klamry} \\ ukośnik"},
     "Za\\'bf\\'f3\\'b3\\'e6 g\\'ea\\'9cl\\'b9 ja\\'9f\\'f1"},
    {"Japanese", 932, 128, "0x411",
     {"選択した注文を開きます。", "表示ソフト ｶﾀｶﾅ", "一行目\r\n二行目 「かっこ」"},
     "\\'95\\'5c\\'8e\\'a6\\'83\\'5c\\'83\\'74\\'83\\'67"},
};

// The escapes of the fixture use small hex digits; the writer does as well.
std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class GenerateLanguages : public GenerateTest {
protected:
    // Selects the languages (the first is the primary one) and gives every control with help
    // text a text of each language; the texts by context number after the run.
    void giveTexts() {
        settings().newSelectedLanguages();
        for (const auto& language : Languages)
            settings().SelectedLanguages->Add(language.name, language.name);
        settings().mPrimaryLanguage = Languages.front().name;
        size_t i = 0;
        for (const auto& records : *editor().formsData())
            for (const auto& item : *records)
                if (item->Control() && item->HasHelpText()) {
                    for (const auto& language : Languages)
                        item->SetHelpText(language.name, language.texts[i % language.texts.size()]);
                    given_.push_back(item);
                    ++i;
                }
    }

    std::vector<std::shared_ptr<HelpItem>> given_;
};

TEST_F(GenerateLanguages, TopicDocumentsProjectsAndPopupsSpeakEachLanguagesCodePage) {
    openEditor(copyExample());
    giveTexts();
    compile(true, false);
    editor().CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());
    EXPECT_TRUE(logs_.empty()) << logs_.front();
    ASSERT_GT(given_.size(), 30u);

    const bool update = std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr;
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.name);
        const std::string rtf = readFile(generated(language.name, "OrderEntry_ContextTopics.rtf"));
        EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg" + std::to_string(language.codePage) + "\\deff0\r\n"));
        EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fswiss\\fcharset" + std::to_string(language.charset) + " Arial;}}"),
                  std::string::npos);
        EXPECT_NE(lower(rtf).find(lower(language.escaped)), std::string::npos);
        // Every character is in the code page: no Unicode escape is needed.
        EXPECT_FALSE(std::regex_search(rtf, std::regex("\\\\u-?[0-9]")));
        RtfCheckResult read = RtfChecker::check(rtf);
        ASSERT_TRUE(read.ok()) << read.error;
        EXPECT_EQ(read.codePage, language.codePage);
        std::map<std::string, std::string> topicText;
        for (const RtfTopic& topic : read.topics)
            topicText[topic.contextString()] = topic.text;
        for (size_t i = 0; i < given_.size(); ++i) {
            std::string text = language.texts[i % language.texts.size()];
            EXPECT_EQ(topicText["IDH_" + std::to_string(given_[i]->ContextHelpID)],
                      replaceAll(text, "\r\n", "\n") + "\n");
        }

        const std::string hpj = readFile(generated(language.name, "OrderEntry_Context.hpj"));
        EXPECT_NE(hpj.find("\r\nLCID=" + language.lcid + " 0x0 0x0\r\n"), std::string::npos) << hpj;
        EXPECT_NE(hpj.find("\r\nCHARSET=" + std::to_string(language.charset) + "\r\n"), std::string::npos);

        // The popup file in the same code page, compiled into the .chm byte for byte.
        const fs::path popupFile = generated(language.name, "OrderEntry_ContextTopics.txt");
        const std::string popups = readFile(popupFile);
        const std::string decoded = decodeCodePage(popups, language.codePage);
        for (const std::string& text : language.texts)
            EXPECT_NE(decoded.find("\r\n" + text + "\r\n"), std::string::npos) << text;
        fs::path chm = generated(language.name, "OrderEntry_Context.chm");
        ASSERT_TRUE(fs::exists(chm));
        fs::path extracted = dir_ / (language.name + ".txt");
        runTool("chmls extract " + quotedArgument(chm.string()) + " /OrderEntry_ContextTopics.txt " +
                quotedArgument(extracted.string()));
        EXPECT_EQ(readFile(extracted), popups);

        for (const std::string name : {"OrderEntry_ContextTopics.rtf", "OrderEntry_Context.hpj",
                                       "OrderEntry_ContextTopics.txt", "OrderEntry_Context.hhp", "OrderEntry.h"}) {
            SCOPED_TRACE(name);
            std::string bytes = portable(readFile(generated(language.name, name)), projectDir());
            EXPECT_TRUE(hasOnlyCrLf(bytes));
            if (name.ends_with(".rtf") || name.ends_with(".hpj")) {
                if (update)
                    writeFile(GoldenFolder / language.name / name, bytes);
                EXPECT_EQ(bytes, readFile(GoldenFolder / language.name / name));
            }
        }
    }
    // The primary language's help file beside the project.
    EXPECT_EQ(readFile(fs::path(projectDir()) / "OrderEntry_Context.chm"),
              readFile(generated("Russian", "OrderEntry_Context.chm")));
}

TEST_F(GenerateLanguages, HelpTextLinesThatWouldStartATopicStayTextAndTheCompileLogSaysSo) {
    openEditor(copyExample());
    compile(false, false);
    settings().mGenerateWinHelp = false;
    HelpItem& item = record("mdiMain", "cmdNewOrder");
    item.SetHelpText("English", "Numbers:\r\n.topic 999\r\n.TOPIC\nlast .topic 6");
    editor().CreateHelpFiles();
    EXPECT_TRUE(reports_.reports().empty());

    const std::string popups = readFile(generated("English", "OrderEntry_ContextTopics.txt"));
    const std::string id = std::to_string(item.ContextHelpID);
    EXPECT_NE(popups.find(".topic " + id + "\r\nNumbers:\r\n .topic 999\r\n .TOPIC\r\nlast .topic 6\r\n\r\n"),
              std::string::npos)
        << popups;
    EXPECT_EQ(countOf(popups, "\r\n.topic 999\r\n"), 0u);
    EXPECT_TRUE(hasOnlyCrLf(popups));
    // The German popup file, whose text has no such line, is left as it was.
    EXPECT_EQ(countOf(readFile(generated("German", "OrderEntry_ContextTopics.txt")), " .topic"), 0u);

    // Shown once, at the end of the run, naming the file, the topic and the lines.
    ASSERT_EQ(logs_.size(), 1u);
    const size_t line = countOf(popups.substr(0, popups.find(" .topic 999")), "\r\n") + 1;
    EXPECT_EQ(logs_[0], "Note: OrderEntry_ContextTopics.txt, topic " + id + ", line " + std::to_string(line) +
                            ": the help text line \".topic 999\" would have started a topic of its own; it was "
                            "written with a blank in front.\n"
                            "Note: OrderEntry_ContextTopics.txt, topic " + id + ", line " +
                            std::to_string(line + 1) +
                            ": the help text line \".TOPIC\" would have started a topic of its own; it was "
                            "written with a blank in front.\n");
    EXPECT_EQ(windows_.messages().back().title, "Help projects created");
}

} // namespace
} // namespace corvane::test
