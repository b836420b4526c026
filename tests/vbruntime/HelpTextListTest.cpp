// A record's texts in one block: every change must leave each other text and its language as it
// was, whatever moves in the block, and the failures must be the keyed lists' own.
#include "vbruntime/HelpTextList.h"
#include "vbruntime/VbError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace corvane::test {
namespace {

// The list as "language=text|..." in order.
std::string contents(const HelpTextList& texts) {
    std::string out;
    for (int32_t i = 1; i <= texts.Count(); ++i)
        out += texts.KeyAt(i) + "=" + std::string(texts.Item(i)) + "|";
    return out;
}

int errorOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const VbError& error) {
        return error.number();
    }
    return 0;
}

TEST(HelpTextList, TextsKeepTheirLanguageAndOrderThroughRemovalsAndAdditions) {
    HelpTextList texts;
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(texts.begin(), texts.end());
    const std::string longText(5000, 'x');
    texts.Add("Saves the file.", "English");
    texts.Add("", "French"); // an empty text is a text
    texts.Add(longText, "German");
    texts.Add(std::string("nul\0byte", 8), "Spanish");
    EXPECT_EQ(contents(texts), "English=Saves the file.|French=|German=" + longText + "|Spanish=" +
                                   std::string("nul\0byte", 8) + "|");

    // Languages are found without regard to letter case and keep the spelling they were added in.
    EXPECT_EQ(texts.PositionOf("GERMAN"), 3);
    EXPECT_EQ(texts.Item("english"), "Saves the file.");
    EXPECT_TRUE(texts.Contains("french"));
    EXPECT_FALSE(texts.Contains("Italian"));
    EXPECT_EQ(texts.PositionOf("Italian"), 0);

    // A removal in the middle moves the texts behind it; each keeps its own bytes.
    texts.Remove("French");
    texts.Remove(2); // German
    EXPECT_EQ(contents(texts), "English=Saves the file.|Spanish=" + std::string("nul\0byte", 8) + "|");
    texts.Add("Guarda el archivo.", "spanish2");
    texts.Add("Enregistre.", "French");
    texts.Remove("english");
    EXPECT_EQ(contents(texts), "Spanish=" + std::string("nul\0byte", 8) +
                                   "|spanish2=Guarda el archivo.|French=Enregistre.|");

    texts.Add(texts.Item(2), "Catalan"); // its own text, while its block moves to make room
    EXPECT_EQ(texts.Item("catalan"), "Guarda el archivo.");
    texts.Remove("Catalan");

    std::vector<std::string> walked(texts.begin(), texts.end());
    EXPECT_EQ(walked, (std::vector<std::string>{std::string("nul\0byte", 8), "Guarda el archivo.", "Enregistre."}));

    texts.Clear();
    EXPECT_EQ(texts.Count(), 0);
    texts.Add(std::string_view(), "Neutral"); // a text of no bytes at all
    texts.Add("again", "English");
    EXPECT_EQ(contents(texts), "Neutral=|English=again|");
}

TEST(HelpTextList, FailuresAreTheKeyedListsOwnAndChangeNothing) {
    HelpTextList texts;
    EXPECT_EQ(errorOf([&] { texts.Item(1); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { texts.KeyAt(0); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { texts.Item("English"); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { texts.Remove("English"); }), vberr::InvalidCall);
    texts.Add("one", "English");
    texts.Add("two", "German");
    EXPECT_EQ(errorOf([&] { texts.Add("other", "ENGLISH"); }), vberr::DuplicateKey);
    EXPECT_EQ(errorOf([&] { texts.Item(3); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { texts.Remove(-1); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(contents(texts), "English=one|German=two|");
    EXPECT_EQ(errorOf([] { HelpTextList twice{{"English", "one"}, {"english", "two"}}; }), vberr::DuplicateKey);
    // A list holds up to 65,535 texts: room for more is an overflow.
    EXPECT_EQ(errorOf([&] { texts.reserve(65534, 0); }), vberr::Overflow);
    EXPECT_EQ(contents(texts), "English=one|German=two|");
    texts.reserve(65533, 0);
    texts.Add("three", "French");
    EXPECT_EQ(contents(texts), "English=one|German=two|French=three|");
}

TEST(HelpTextList, CopiesAndReservedRoomAreListsOfTheirOwn) {
    HelpTextList original;
    original.reserve(3, 10);
    original.Add("abc", "English");
    original.Add("defgh", "German");
    HelpTextList copy = original;
    copy.Remove("English");
    copy.Add("changed", "English");
    original.Add("xy", "French"); // within the room reserved
    EXPECT_EQ(contents(original), "English=abc|German=defgh|French=xy|");
    EXPECT_EQ(contents(copy), "German=defgh|English=changed|");
    original.Add("beyond the room", "Dutch");
    EXPECT_EQ(contents(original), "English=abc|German=defgh|French=xy|Dutch=beyond the room|");

    copy = original;
    EXPECT_EQ(contents(copy), contents(original));
    HelpTextList moved = std::move(copy);
    EXPECT_EQ(contents(moved), contents(original));
    copy = HelpTextList();
    EXPECT_TRUE(copy.empty());

    const HelpTextList listed{{"English", "abc"}, {"German", ""}, {"French", "xy"}};
    EXPECT_EQ(contents(listed), "English=abc|German=|French=xy|");
}

TEST(HelpTextList, ListsFilledOnSeveralThreadsAtOnceKeepTheirLanguages) {
    // Data files are read on several threads; each names the languages of its records.
    const std::vector<std::string> languages = {"English", "english", "German", "Deutsch",
                                                "Fran\xC3\xA7" "ais", "FRAN\xC3\x87" "AIS"};
    std::vector<std::vector<HelpTextList>> lists(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < lists.size(); ++t)
        threads.emplace_back([&, t] {
            for (int n = 0; n < 2000; ++n) {
                HelpTextList texts;
                const std::string own = "Lang" + std::to_string(t) + "_" + std::to_string(n % 50);
                texts.Add("own", own);
                texts.Add(std::to_string(n), languages[(t + static_cast<size_t>(n)) % languages.size()]);
                lists[t].push_back(std::move(texts));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (size_t t = 0; t < lists.size(); ++t)
        for (int n = 0; n < 2000; ++n) {
            const HelpTextList& texts = lists[t][static_cast<size_t>(n)];
            ASSERT_EQ(texts.KeyAt(1), "Lang" + std::to_string(t) + "_" + std::to_string(n % 50));
            ASSERT_EQ(texts.KeyAt(2), languages[(t + static_cast<size_t>(n)) % languages.size()]);
            ASSERT_EQ(texts.Item(2), std::to_string(n));
        }
}

} // namespace
} // namespace corvane::test
