#include "vbruntime/CaseFold.h"
#include "vbruntime/FoldedNameIndex.h"
#include "vbruntime/KeyedCollection.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

// Random texts from bytes that exercise folding: letters, Latin-1 lead bytes and the trail
// bytes around the folded range, including broken sequences.
std::string randomText(std::mt19937& random, size_t length) {
    static const unsigned char alphabet[] = {'a', 'Z', 'z', 'A', '@', '[', 0xC3, 0xC3, 0x80,
                                             0x9E, 0x9F, 0x97, 0xA0, 0xB7, 0xBE, 0xC2};
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 1);
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>(alphabet[pick(random)]);
    return text;
}

// Random ASCII texts with the bytes beside the capitals' range: long enough to be compared
// and hashed eight bytes at a time.
std::string randomAsciiText(std::mt19937& random, size_t length) {
    static const char alphabet[] = "aAzZ@[`{09 _\x7f";
    std::uniform_int_distribution<size_t> pick(0, sizeof alphabet - 2);
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += alphabet[pick(random)];
    return text;
}

TEST(CaseFold, ComparisonAndHashAgreeWithTheFoldedText) {
    EXPECT_TRUE(equalsIgnoreCase("WhatsThisHelpID", "whatsthishelpid"));
    EXPECT_TRUE(equalsIgnoreCase("FRANÇAIS", "français"));
    EXPECT_FALSE(equalsIgnoreCase("×", "÷")); // U+00D7 and U+00F7 are not a letter pair
    EXPECT_FALSE(equalsIgnoreCase("ab", "abc"));
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> length(0, 20);
    for (int i = 0; i < 40000; ++i) {
        bool ascii = i % 2 == 0;
        std::string a = ascii ? randomAsciiText(random, length(random)) : randomText(random, length(random));
        std::string b = ascii ? randomAsciiText(random, a.size()) : randomText(random, a.size());
        if (ascii && i % 4 == 0) // the same text in other letter case
            for (size_t k = 0; k < b.size(); ++k)
                b[k] = random() % 2 ? a[k] : static_cast<char>(std::toupper(static_cast<unsigned char>(a[k])));
        bool same = foldCase(a) == foldCase(b);
        ASSERT_EQ(equalsIgnoreCase(a, b), same) << a << " / " << b;
        if (same) {
            ASSERT_EQ(foldedHash(a), foldedHash(b)) << a << " / " << b;
        }
    }
}

TEST(CaseFold, NameIndexFindsEveryNameWithoutRegardToCase) {
    struct Named {
        std::string name;
    };
    std::vector<Named> items;
    for (int i = 0; i < 300; ++i) // names of every length from 1 to 12, so the index grows
        items.push_back({std::string(static_cast<size_t>(i % 12 + 1), static_cast<char>('a' + i % 26)) +
                         std::to_string(i)});
    items.push_back({"Ärger"});
    items.push_back({"ärger"}); // the same name: the first keeps its place
    FoldedNameIndex<Named> index;
    EXPECT_EQ(index.find("a0"), nullptr); // an empty index
    for (const Named& item : items)
        index.add(&item);
    for (const Named& item : items) {
        std::string upper = item.name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (item.name != "ärger") {
            EXPECT_EQ(index.find(item.name), &item) << item.name;
            EXPECT_EQ(index.find(upper), &item) << upper;
        }
    }
    EXPECT_EQ(index.find("ÄRGER"), &items[300]);
    EXPECT_EQ(index.find("a"), nullptr);
    EXPECT_EQ(index.find("a0x"), nullptr);
    EXPECT_EQ(index.find(""), nullptr);
}

TEST(CaseFold, KeyedCollectionFindsKeysBeforeAndAfterItGrowsAnIndex) {
    KeyedCollection<int> c;
    c.Add(-1); // an item without key is never found under ""
    for (int i = 0; i < 40; ++i) {
        c.Add(i, "Key" + std::to_string(i));
        for (int j = 0; j <= i; j += 7)
            ASSERT_EQ(c.Item("KEY" + std::to_string(j)), j) << "after " << i;
        ASSERT_FALSE(c.Contains(""));
    }
    c.Remove("key3");
    c.Remove(1);
    EXPECT_EQ(c.PositionOf("Key4"), 4); // after K0, K1, K2
    EXPECT_EQ(c.Item("kEy39"), 39);
    EXPECT_FALSE(c.Contains("Key3"));
    c.Add(3, "KEY3");
    EXPECT_EQ(c.PositionOf("key3"), c.Count());
    EXPECT_THROW(c.Add(0, "key0"), VbError);
}

} // namespace
} // namespace corvane
