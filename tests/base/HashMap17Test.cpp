#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/HashMap17.h"

using namespace quarrant;

namespace {

template <typename Map>
std::vector<typename std::decay_t<decltype((*std::declval<Map>().begin()).key)>> Keys(
    const Map& map) {
    std::vector<typename std::decay_t<decltype((*map.begin()).key)>> keys;
    for (const auto& entry : map) {
        keys.push_back(entry.key);
    }
    return keys;
}

}  // namespace

TEST(HashMap17, IntegerKeysIterateByBucketNewestFirstWithinABucket) {
    HashMap17<int, int> map;
    for (int id = 1; id <= 20; ++id) {
        map[id] = id * 10;
    }
    // 1..15 share bucket 0 (newest first), 16..20 are bucket 1.
    std::vector<int> expected = {15, 14, 13, 12, 11, 10, 9,  8,  7,  6,
                                 5,  4,  3,  2,  1,  20, 19, 18, 17, 16};
    EXPECT_EQ(Keys(map), expected);
    EXPECT_EQ(*map.Lookup(7), 70);
}

TEST(HashMap17, BucketOfIntegerWrapsAfterSeventeenGroupsOfSixteen) {
    EXPECT_EQ(HashBucket(std::int32_t{0}), 0u);
    EXPECT_EQ(HashBucket(std::int32_t{16 * 17}), 0u);
    EXPECT_EQ(HashBucket(std::int32_t{16 * 18}), 1u);
    // Negative keys hash on their unsigned value.
    EXPECT_EQ(HashBucket(std::int32_t{-1}), (0xFFFFFFFFu >> 4) % 17u);
}

TEST(HashMap17, TextBucketUsesSignedBytes) {
    // "A" = 65 -> 65 mod 17 = 14.
    EXPECT_EQ(HashBucket(std::string_view("A")), 14u);
    // A GBK byte 0xB8 counts as -72: h = (uint32)(-72), then mod 17.
    std::uint32_t h = static_cast<std::uint32_t>(-72);
    EXPECT_EQ(HashBucket(std::string_view("\xB8")), h % 17u);
    // "AB": 65 * 33 + 66 = 2211 -> 2211 mod 17 = 1.
    EXPECT_EQ(HashBucket(std::string_view("AB")), 2211u % 17u);
}

TEST(HashMap17, ReplacingAValueKeepsItsPlaceAndRemovalUnlinks) {
    HashMap17<int, std::string> map;
    map.SetAt(1, "a");
    map.SetAt(2, "b");
    map.SetAt(3, "c");
    map.SetAt(2, "B");
    EXPECT_EQ(Keys(map), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(*map.Lookup(2), "B");
    EXPECT_TRUE(map.RemoveKey(2));
    EXPECT_FALSE(map.RemoveKey(2));
    EXPECT_EQ(Keys(map), (std::vector<int>{3, 1}));
    EXPECT_TRUE(map.RemoveKey(3));
    EXPECT_EQ(Keys(map), (std::vector<int>{1}));
    map.SetAt(4, "d");
    EXPECT_EQ(Keys(map), (std::vector<int>{4, 1}));
    EXPECT_EQ(map.size(), 2u);
}

TEST(HashMap17, CopiesAndMovesKeepTheOrder) {
    HashMap17<std::string, int> map;
    for (const char* key : {"钢柱", "钢梁", "A", "B", "檩条", "Q"}) {
        map[key] = 1;
    }
    auto order = Keys(map);
    HashMap17<std::string, int> copy = map;
    EXPECT_EQ(Keys(copy), order);
    HashMap17<std::string, int> moved = std::move(copy);
    EXPECT_EQ(Keys(moved), order);
    moved["new"] = 2;
    EXPECT_EQ(moved.size(), order.size() + 1);
    EXPECT_EQ(map.size(), order.size());
}
