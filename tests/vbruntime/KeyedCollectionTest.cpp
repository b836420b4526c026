#include "testsupport/VbErrors.h"
#include "vbruntime/KeyedCollection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace corvane {
namespace {

using test::errorNumberOf;

TEST(KeyedCollection, KeepsInsertionOrderAndFindsKeysWithoutRegardToCase) {
    KeyedCollection<std::string> languages;
    languages.Add("English", "English");
    languages.Add("Deutsch", "Deutsch");
    languages.Add("Français", "Français");
    languages.Add("no key");

    ASSERT_EQ(languages.Count(), 4);
    EXPECT_EQ(languages.Item(1), "English");
    EXPECT_EQ(languages.Item(4), "no key");
    EXPECT_EQ(languages.Item("ENGLISH"), "English");
    EXPECT_EQ(languages.Item("FRANÇAIS"), "Français"); // Latin-1 letters fold too
    EXPECT_TRUE(languages.Contains("deutsch"));
    EXPECT_EQ(languages.PositionOf("deutsch"), 2);
    EXPECT_EQ(languages.KeyAt(3), "Français");
    EXPECT_EQ(std::vector<std::string>(languages.begin(), languages.end()),
              (std::vector<std::string>{"English", "Deutsch", "Français", "no key"}));
}

TEST(KeyedCollection, FailsWithVbErrorNumbers) {
    KeyedCollection<int> c;
    c.Add(1, "One");
    EXPECT_EQ(errorNumberOf([&] { c.Add(2, "ONE"); }), 457);
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(errorNumberOf([&] { (void)c.Item("Two"); }), 5);
    EXPECT_EQ(errorNumberOf([&] { (void)c.Item(0); }), 9);
    EXPECT_EQ(errorNumberOf([&] { (void)c.Item(2); }), 9);
    EXPECT_EQ(errorNumberOf([&] { c.Remove("Two"); }), 5);
    EXPECT_EQ(errorNumberOf([&] { c.Remove(5); }), 9);
}

TEST(KeyedCollection, RemovalKeepsTheOtherKeysPointingAtTheirItems) {
    KeyedCollection<int> c;
    c.Add(10, "a");
    c.Add(20, "b");
    c.Add(30, "c");
    c.Add(40, "d");
    c.Remove("b");
    c.Remove(1);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item("c"), 30);
    EXPECT_EQ(c.Item("D"), 40);
    EXPECT_FALSE(c.Contains("a"));
    c.Add(50, "A"); // a removed key can be used again
    EXPECT_EQ(c.Item(3), 50);
}

TEST(KeyedCollection, LargeCollectionsAgreeWithAPlainListThroughAddsAndRemovals) {
    // Past sixteen items keys are found through an index, rebuilt as items are removed.
    KeyedCollection<int> c;
    std::vector<std::pair<std::string, int>> model; // "" for an item without key
    std::mt19937 random(11);
    for (int step = 0; step < 3000; ++step) {
        int choice = static_cast<int>(random() % 10);
        std::string key = "Key" + std::to_string(random() % 400);
        if (choice < 6) {
            bool present = std::any_of(model.begin(), model.end(), [&](const auto& entry) {
                return equalsIgnoreCase(entry.first, key);
            });
            if (random() % 2)
                key = asciiUpper(key);
            if (present) {
                EXPECT_THROW(c.Add(step, key), VbError) << key;
            } else {
                c.Add(step, key);
                model.emplace_back(key, step);
            }
        } else if (choice == 6) {
            c.Add(step); // without key
            model.emplace_back("", step);
        } else if (!model.empty()) {
            size_t at = random() % model.size();
            c.Remove(static_cast<int32_t>(at + 1));
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    ASSERT_EQ(c.Count(), static_cast<int32_t>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) {
        EXPECT_EQ(c.Item(static_cast<int32_t>(i + 1)), model[i].second);
        if (!model[i].first.empty()) {
            EXPECT_EQ(c.PositionOf(asciiLower(model[i].first)), static_cast<int32_t>(i + 1));
        }
    }
    EXPECT_EQ(c.PositionOf("Key400"), 0);
}

TEST(KeyedCollection, RemovingWhereAPredicateHoldsLeavesWhatRemovingEachOneLeaves) {
    // Small and indexed collections, with items without key and one under the empty key.
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        KeyedCollection<int> c;
        std::vector<std::string> keys; // every key given, to be looked up afterwards
        const int size = static_cast<int>(random() % 60);
        for (int i = 0; i < size; ++i) {
            const unsigned kind = random() % 8;
            if (kind == 0) {
                c.Add(i); // without key
            } else if (kind == 1 && !c.Contains("")) {
                c.Add(i, "");
                keys.emplace_back();
            } else {
                keys.push_back((random() % 2 ? "Key" : "KEY") + std::to_string(i));
                c.Add(i, keys.back());
            }
        }
        const unsigned modulus = 1 + random() % 4;
        KeyedCollection<int> oneByOne = c;
        for (int32_t position = oneByOne.Count(); position >= 1; --position)
            if (static_cast<unsigned>(oneByOne.Item(position)) % modulus == 0)
                oneByOne.Remove(position);

        size_t asked = 0;
        const size_t removed = c.removeWhere([&](int item, std::string_view key) {
            EXPECT_EQ(key, c.KeyAt(static_cast<int32_t>(++asked))); // in order, with its own key
            return static_cast<unsigned>(item) % modulus == 0;
        });
        EXPECT_EQ(asked, static_cast<size_t>(size));
        EXPECT_EQ(removed, static_cast<size_t>(size - oneByOne.Count()));
        ASSERT_EQ(c.Count(), oneByOne.Count()) << round;
        for (int32_t position = 1; position <= c.Count(); ++position) {
            EXPECT_EQ(c.Item(position), oneByOne.Item(position)) << round;
            EXPECT_EQ(std::string(c.KeyAt(position)), std::string(oneByOne.KeyAt(position))) << round;
        }
        for (const std::string& key : keys)
            EXPECT_EQ(c.PositionOf(asciiLower(key)), oneByOne.PositionOf(key)) << round << " " << key;
        c.Add(-1, "New"); // the index takes keys again
        EXPECT_EQ(c.PositionOf("new"), c.Count());
    }

    // A predicate that fails on the way removes nothing.
    KeyedCollection<int> c;
    for (int i = 0; i < 40; ++i)
        c.Add(i, "k" + std::to_string(i));
    EXPECT_THROW(c.removeWhere([](int item, std::string_view) {
        if (item == 30)
            throw VbError(vberr::InvalidCall);
        return item % 2 == 0;
    }),
                 VbError);
    ASSERT_EQ(c.Count(), 40);
    EXPECT_EQ(c.Item("K30"), 30);
    EXPECT_EQ(c.Item(1), 0);
}

TEST(KeyedCollection, CopiesOfLargeCollectionsFindTheirOwnItems) {
    // Past sixteen items keys are found through an index, which a copy must not share.
    KeyedCollection<int> original;
    for (int i = 0; i < 40; ++i)
        original.Add(i, "key" + std::to_string(i));
    KeyedCollection<int> copy = original;
    original.Remove("key3");
    original.Add(99, "KEY3");
    EXPECT_EQ(copy.Item("Key3"), 3);
    EXPECT_EQ(copy.PositionOf("key39"), 40);
    EXPECT_EQ(original.Item("key3"), 99);
    EXPECT_EQ(original.PositionOf("key39"), 39);
    copy = original;
    EXPECT_EQ(copy.Item("key3"), 99);
    original.Clear();
    EXPECT_FALSE(original.Contains("key4"));
    EXPECT_EQ(copy.Item("KEY4"), 4);
    for (int i = 0; i < 20; ++i) // grows past the limit again after being emptied
        original.Add(i, "k" + std::to_string(i));
    EXPECT_EQ(original.Item("K19"), 19);

    // A key given twice fails with 457 and changes nothing, through the index too.
    try {
        original.Add(100, "K7");
        FAIL() << "a duplicate key was added";
    } catch (const VbError& error) {
        EXPECT_EQ(error.number(), 457);
    }
    EXPECT_EQ(original.Count(), 20);
    EXPECT_EQ(original.Item("k7"), 7);
    original.Add(100, "k20");
    EXPECT_EQ(original.PositionOf("K20"), 21);
    EXPECT_EQ(original.KeyAt(21), "k20");
}

TEST(KeyedCollection, KeysPastTheSixtyFiveThousandthPositionAreFoundAsTheFirstOnes) {
    // A small index keeps positions in 16 bits: items without key push a keyed one past them.
    KeyedCollection<int> c;
    for (int i = 0; i < 20; ++i)
        c.Add(i, "first" + std::to_string(i));
    for (int i = 0; i < 70000; ++i)
        c.Add(-1);
    c.Add(7, "Late");
    EXPECT_EQ(c.PositionOf("LATE"), 70021);
    EXPECT_EQ(c.Item("late"), 7);
    c.rekey(69000, "Given");
    EXPECT_EQ(c.PositionOf("given"), 69000);
    EXPECT_EQ(c.PositionOf("FIRST19"), 20);
    c.Remove("first0");
    EXPECT_EQ(c.PositionOf("late"), 70020);
    EXPECT_EQ(c.PositionOf("Given"), 68999);
    EXPECT_EQ(c.PositionOf("first1"), 1);

    // As many keys as that, each found at its place, before and after a removal.
    KeyedCollection<int> many;
    for (int i = 0; i < 70000; ++i)
        many.Add(i, "k" + std::to_string(i));
    for (int i = 0; i < 70000; i += 997)
        EXPECT_EQ(many.PositionOf("K" + std::to_string(i)), i + 1);
    EXPECT_EQ(many.PositionOf("k69999"), 70000);
    many.Remove(1);
    EXPECT_EQ(many.PositionOf("k69999"), 69999);
    EXPECT_EQ(many.PositionOf("k0"), 0);

    // Items without key given keys one by one outgrow the index they were not entered in.
    KeyedCollection<int> named;
    for (int i = 0; i < 20; ++i)
        named.Add(i, "n" + std::to_string(i));
    for (int i = 0; i < 300; ++i)
        named.Add(100 + i);
    for (int i = 0; i < 300; ++i)
        named.rekey(21 + i, "later" + std::to_string(i));
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(named.Item("LATER" + std::to_string(i)), 100 + i) << i;
    EXPECT_EQ(named.Item("n19"), 19);
}

TEST(KeyedCollection, AnEmptyKeyIsAKeyAndAnItemWithoutKeyHasNone) {
    // Both read back "" as their key; only the one given the empty key is found by it, in
    // small collections and in large ones, through removals, renaming, copies and clearing.
    for (int filler : {0, 30}) {
        KeyedCollection<int> c;
        c.Add(1);     // without key
        c.Add(2, ""); // the empty key
        c.Add(3);
        for (int i = 0; i < filler; ++i)
            c.Add(10 + i, "f" + std::to_string(i));
        EXPECT_EQ(c.KeyAt(1), "");
        EXPECT_EQ(c.KeyAt(2), "");
        EXPECT_EQ(c.PositionOf(""), 2) << filler;
        EXPECT_EQ(errorNumberOf([&] { c.Add(4, ""); }), 457);

        KeyedCollection<int> copy = c;
        c.Remove(""); // the keyless items keep having no key
        EXPECT_EQ(c.PositionOf(""), 0) << filler;
        c.rekey(2, "Third"); // the item without key at position 2 now has one
        EXPECT_EQ(c.Item("THIRD"), 3);
        EXPECT_EQ(c.PositionOf(""), 0);
        c.rekey(1, "");
        EXPECT_EQ(c.Item(""), 1) << filler;
        if (filler > 0) {
            EXPECT_EQ(c.Item("F29"), 39);
        }

        EXPECT_EQ(copy.Item(""), 2) << filler; // the copy kept its own keys
        EXPECT_EQ(copy.PositionOf("Third"), 0);
        copy.Remove(1);
        EXPECT_EQ(copy.PositionOf(""), 1);

        c.Clear();
        c.Add(5, "");
        c.Add(6);
        EXPECT_EQ(c.PositionOf(""), 1);
        c.Remove(1);
        EXPECT_EQ(c.PositionOf(""), 0) << filler;
        EXPECT_EQ(c.Item(1), 6);
    }
}

TEST(KeyedCollection, ShrinkingKeepsItemsAndKeys) {
    KeyedCollection<std::string> c;
    for (int i = 0; i < 50; ++i)
        c.Add("item" + std::to_string(i), "Key" + std::to_string(i));
    c.Add("no key");
    c.shrinkToFit();
    ASSERT_EQ(c.Count(), 51);
    EXPECT_EQ(c.Item("KEY49"), "item49");
    EXPECT_EQ(c.KeyAt(1), "Key0");
    EXPECT_EQ(c.Item(51), "no key");
    EXPECT_EQ(c.PositionOf(""), 0);
    c.Add("after", "k50"); // still grows
    EXPECT_EQ(c.PositionOf("K50"), 52);
}

} // namespace
} // namespace corvane
