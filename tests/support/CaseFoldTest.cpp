#include "support/CaseFold.h"
#include "support/KeyedCollection.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(CaseFold, ComparisonAndHashAgreeWithTheFoldedText) {
    EXPECT_TRUE(equalsIgnoreCase("WhatsThisHelpID", "whatsthishelpid"));
    EXPECT_TRUE(equalsIgnoreCase("FRANÇAIS", "français"));
    EXPECT_FALSE(equalsIgnoreCase("×", "÷")); // U+00D7 and U+00F7 are not a letter pair
    EXPECT_FALSE(equalsIgnoreCase("ab", "abc"));
    std::mt19937 random(7);
    std::uniform_int_distribution<size_t> length(0, 6);
    for (int i = 0; i < 20000; ++i) {
        std::string a = randomText(random, length(random));
        std::string b = randomText(random, a.size());
        bool same = foldCase(a) == foldCase(b);
        ASSERT_EQ(equalsIgnoreCase(a, b), same) << a << " / " << b;
        if (same) {
            ASSERT_EQ(foldedHash(a), foldedHash(b)) << a << " / " << b;
        }
    }
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
