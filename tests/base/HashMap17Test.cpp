#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
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

TEST(HashMap17, KeysGoToTheBucketsWorkedOutByHand) {
    // Integer keys: the unsigned value divided by 16, then the remainder by 17.
    const std::pair<std::int32_t, unsigned> integers[] = {
        {0, 0},
        {15, 0},
        {16, 1},
        {271, 16},
        {272, 0},
        {288, 1},
        {1000, 11},
        {-1, 15},
        {-16, 15},
        {2147483647, 7},
        {-2147483647 - 1, 8},
    };
    for (const auto& [key, bucket] : integers) {
        EXPECT_EQ(HashBucket(key), bucket) << key;
    }
    // Text keys: h = h * 33 + byte with bytes from 0x80 on negative, then the remainder by 17.
    const std::pair<const char*, unsigned> texts[] = {
        {"", 0},
        {"A", 14},
        {"AB", 1},
        {"Q235", 5},
        {"\xB8", 14},
        {"\xB8\xD6", 14},         // 钢
        {"\xB8\xD6\xC1\xBA", 7},  // 钢梁
    };
    for (const auto& [key, bucket] : texts) {
        EXPECT_EQ(HashBucket(std::string_view(key)), bucket) << key;
    }
}

// The documented order kept as plainly as possible, to check the map against: 17 lists, a new
// key put at the front of its list, a removed key taken out, listing list by list.
class ReferenceOrder {
public:
    void Enter(std::int32_t key) {
        std::vector<std::int32_t>& list = m_lists[Bucket(key)];
        if (std::find(list.begin(), list.end(), key) == list.end()) {
            list.insert(list.begin(), key);
        }
    }
    void Remove(std::int32_t key) {
        std::vector<std::int32_t>& list = m_lists[Bucket(key)];
        list.erase(std::remove(list.begin(), list.end(), key), list.end());
    }
    std::vector<std::int32_t> Keys() const {
        std::vector<std::int32_t> keys;
        for (const std::vector<std::int32_t>& list : m_lists) {
            keys.insert(keys.end(), list.begin(), list.end());
        }
        return keys;
    }

private:
    static std::size_t Bucket(std::int32_t key) {
        const std::int64_t unsignedValue = key < 0 ? std::int64_t{key} + 4294967296 : key;
        return static_cast<std::size_t>(unsignedValue / 16 % 17);
    }
    std::vector<std::int32_t> m_lists[17];
};

TEST(HashMap17, EnteringReplacingAndRemovingKeepTheDocumentedOrder) {
    HashMap17<std::int32_t, int> map;
    ReferenceOrder reference;
    std::uint32_t random = 12345;
    for (int step = 0; step < 3000; ++step) {
        random = random * 1103515245u + 12345u;
        // Keys from a small range, negative ones included, so that they meet again.
        const auto key = static_cast<std::int32_t>((random >> 8) % 600) - 100;
        if ((random >> 24) % 4 == 0) {
            map.RemoveKey(key);
            reference.Remove(key);
        } else {
            map.SetAt(key, step);
            reference.Enter(key);
        }
        ASSERT_EQ(Keys(map), reference.Keys()) << "step " << step;
    }
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
