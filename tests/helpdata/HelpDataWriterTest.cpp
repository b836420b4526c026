// The help data file rendered straight from the records is byte for byte the document the
// records build, whatever the texts hold; and it loads back to the same records.
#include "helpdata/HelpDataFile.h"
#include "helpdata/HelpDataWriter.h"
#include "settings/ModMain.h"
#include "testsupport/addin/AddinTestFixture.h"
#include "xml/XMLDocument.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

// Texts that escaping, line ends, white space and encodings could change.
std::vector<std::string> trickyTexts() {
    std::vector<std::string> texts = {
        "",
        " ",
        "line one\r\nline two\r\n",
        "lone\rCR and lone\nLF",
        "\ttabbed\t",
        "  leading and trailing  ",
        "< & \" ' > &amp; &#10; ]]>",
        "Größe, naïve, 価格, \xF0\x9F\x98\x80",
        "not UTF-8: \xE4\xF6\xFC and a NUL: a\0b",
        "plain & <then> Gr\xC3\xB6\xC3\x9F" "e \"then\" \xFF & a cut \xC3",
        "\r\n",
    };
    texts.back() += std::string("\0", 1);
    std::string controls;
    for (int c = 1; c < 128; ++c)
        controls += static_cast<char>(c);
    texts.push_back(controls);
    // Each special byte at every place of an eight-byte word, between long plain runs.
    std::string placed;
    for (char special : std::string("&<>\"\t\r\n\x01\x1F"))
        for (size_t at = 0; at < 9; ++at)
            placed += std::string(at, 'a') + special + std::string(17 - at, 'b');
    texts.push_back(placed);
    return texts;
}

class HelpDataWriterTest : public AddinTest {
protected:
    HelpDataWriterTest() : data_(settings_) { settings_.newSelectedLanguages(); }

    // Adds a module whose records hold `texts` in the selected languages in turn.
    void addModule(const std::string& module, const std::vector<std::string>& texts) {
        auto records = std::make_shared<HelpItems>();
        int n = 0;
        for (const std::string& text : texts) {
            auto record = std::make_shared<HelpItem>(settings_.SelectedLanguages);
            record->ComponentName = module;
            record->ControlName = "ctl" + std::to_string(++n);
            record->ControlType = "TextBox";
            record->Caption = text; // attribute values see every text too
            record->ContextHelpID = n * 1000 - 3;
            int language = 0;
            for (const std::string& name : *settings_.SelectedLanguages)
                if (++language != n % 4) // some records lack a language
                    record->SetHelpText(name, name == "German" ? text + "!" : text);
            records->Add(record, record->ControlName);
        }
        forms_.Add(records, module);
        names_.Add(module, module);
    }
    std::string streamed() {
        std::string text;
        OutputBuffer out([&](std::string_view chunk) { text += chunk; }, 7); // tiny chunks
        HelpDataWriter(settings_, out).write(forms_, names_);
        out.flush();
        return text;
    }
    std::string built() { return data_.document(forms_, names_).XMLText(); }

    ModMain settings_;
    HelpDataFile data_;
    ModuleRecords forms_;
    NameList names_;
};

TEST_F(HelpDataWriterTest, StreamedTextEqualsTheDocumentForTrickyTextsInSeveralLanguages) {
    settings_.mCurrentLanguage = "German";
    settings_.mPrimaryLanguage = "Eng\"lish <&>\t";
    settings_.mGenerateHTML = true;
    settings_.mCompileWinHelp = true;
    for (const char* language : {"English", "German", "Fran\xC3\xA7" "ais"})
        settings_.SelectedLanguages->Add(language, language);
    addModule("frmMain", trickyTexts());
    addModule("frmEmpty", {});
    addModule("frmOne", {"x"});
    // Texts kept in another order than the languages, one under a key in other letter case.
    auto& moved = *forms_.Item("frmOne")->Item(1);
    moved.SetHelpText("German", "zuerst");
    moved.SetHelpText("english", "then");
    const std::string text = streamed();
    EXPECT_EQ(text, built());
    EXPECT_NE(text.find("<HelpText Language=\"English\">then</HelpText>\n"
                        "      <HelpText Language=\"German\">zuerst</HelpText>\n"
                        "      <HelpText Language=\"Fran\xC3\xA7" "ais\">x</HelpText>\n"),
              std::string::npos);

    // Saved and loaded again: the same records, so the next save writes the same bytes.
    fs::path file = dir_ / "ContextHelp.txt";
    data_.read(file);
    data_.save(forms_, names_);
    EXPECT_EQ(readFile(file), text);
    ModMain again;
    again.newSelectedLanguages();
    HelpDataFile reloaded(again);
    ModuleRecords forms;
    NameList names;
    reloaded.load(file, forms, names);
    EXPECT_TRUE(reloaded.complete()) << reloaded.problemReport();
    OutputBuffer out([&](std::string_view chunk) { EXPECT_EQ(chunk, text); }, text.size());
    HelpDataWriter(again, out).write(forms, names);
    out.flush();
}

TEST_F(HelpDataWriterTest, NoLanguagesAndNoModulesWriteWhatTheDocumentWrites) {
    EXPECT_EQ(streamed(), built()); // an empty root
    addModule("frmA", {"text"});    // records add "Neutral" to the empty language list
    settings_.newSelectedLanguages();
    const std::string text = streamed();
    settings_.newSelectedLanguages();
    EXPECT_EQ(text, built());
    EXPECT_EQ(settings_.SelectedLanguages->Count(), 1);
}

} // namespace
} // namespace corvane::test
