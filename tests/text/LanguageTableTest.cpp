#include "files/AppPaths.h"
#include "files/FileReading.h"
#include "text/LanguageTable.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>
#include <sstream>

namespace corvane {
namespace {

TEST(LanguageTable, LooksUpLanguagesWithoutRegardToCaseAndFallsBackToNeutral) {
    std::istringstream in("# comment\r\nNeutral\t1252\t0x0409\ten_US\r\n\r\nGreek\t1253\t0408\tel_GR\n");
    auto table = LanguageTable::read(in, "codes.txt");
    auto greek = table.lookup("GREEK");
    EXPECT_EQ(greek.name, "Greek");
    EXPECT_EQ(greek.codePage, 1253);
    EXPECT_EQ(greek.lcid, 0x408u);
    EXPECT_EQ(greek.dictionary, "el_GR");
    EXPECT_EQ(table.lookup("Klingon").dictionary, "en_US");
    EXPECT_EQ(LanguageTable().lookup("German").codePage, 1252);
    // Neutral and the languages that take its facts write in the project's code page, under the
    // LCID of a language of it; a language of its own keeps its code page.
    const LanguageInfo neutral = table.forProject("neutral", 1253);
    EXPECT_EQ(neutral.codePage, 1253);
    EXPECT_EQ(neutral.lcid, 0x408u);
    EXPECT_EQ(table.forProject("Klingon", 932).codePage, 932);
    EXPECT_EQ(table.forProject("Klingon", 932).lcid, 0x409u); // the table knows no language of 932
    EXPECT_EQ(table.forProject("Greek", 932).codePage, 1253);
    EXPECT_EQ(table.forProject("Neutral", 1252).lcid, 0x409u);
}

TEST(LanguageTable, BadLinesNameTheFileAndLine) {
    std::istringstream twoFields("Neutral\t1252\n");
    try {
        LanguageTable::read(twoFields, "codes.txt");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.description(), "codes.txt, line 1: expected 4 fields separated by tabs");
    }
    std::istringstream badNumber("# x\nGerman\tlatin\t0x407\tde_DE\n");
    try {
        LanguageTable::read(badNumber, "codes.txt");
        FAIL();
    } catch (const VbError& e) {
        EXPECT_EQ(e.description(), "codes.txt, line 2: 'latin' is not a number");
    }
}

TEST(LanguageTable, TheShippedTableCoversEveryShippedLanguage) {
    const auto& table = LanguageTable::installed();
    std::istringstream names(readFileBytes(dataDirectory() / "languages.txt"));
    std::string name;
    while (std::getline(names, name)) {
        if (name.empty())
            continue;
        EXPECT_TRUE(equalsIgnoreCase(table.lookup(name).name, name)) << name;
    }
}

} // namespace
} // namespace corvane
