#include "common/containers/HashMap.h"

#include "TestAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace zor {
namespace {

using test::TestAllocator;
using StringMap = HashMap<String, uint32>;

std::vector<std::string> keys(const StringMap& map) {
    std::vector<std::string> out;
    for (auto it = map.begin(); it != map.end(); ++it)
        out.emplace_back(it->m_first.c_str());
    return out;
}

String key(int i) {
    return String::formatted("key%d", i);
}

TEST(HashMap, StringHashIsBase101OverUnsignedBytes) {
    const Hash<String> hash;
    EXPECT_EQ(hash(String()), 0u);
    EXPECT_EQ(hash(String("a")), 97u);
    EXPECT_EQ(hash(String("ab")), 9895u);
    EXPECT_EQ(hash(String("\xff\x01")), 25756u);
    EXPECT_EQ(hash(String("linearSpeed")), 3037240344u);
    EXPECT_EQ(Hash<uint8>()(200), 200u);
}

TEST(HashMap, GrowsAtSevenTenthsAndKeepsInsertionOrder) {
    StringMap map;
    EXPECT_EQ(map.bucketCount(), 0u);
    std::vector<std::string> expected;
    const std::vector<std::pair<int, uint64>> bucketsAfter = {{1, 8},   {5, 8},   {6, 16},
                                                              {11, 16}, {12, 32}, {23, 64}};
    std::size_t check = 0;
    for (int i = 1; i <= 23; ++i) {
        ASSERT_TRUE(map.insertBack(key(i), static_cast<uint32>(i)));
        expected.push_back(key(i).c_str());
        if (check < bucketsAfter.size() && bucketsAfter[check].first == i) {
            EXPECT_EQ(map.bucketCount(), bucketsAfter[check].second) << "after " << i;
            ++check;
        }
    }
    EXPECT_EQ(map.size(), 23u);
    EXPECT_EQ(keys(map), expected);
    for (int i = 1; i <= 23; ++i) {
        auto it = map.find(key(i));
        ASSERT_TRUE(it != map.end()) << i;
        EXPECT_EQ(it->m_second, static_cast<uint32>(i));
    }
    EXPECT_FALSE(map.contains(String("key0")));
}

TEST(HashMap, InsertionPlacesTheEntryInTheChain) {
    StringMap map;
    map.insertBack(String("b"), 2);
    map.insertFront(String("a"), 1);
    map.insertBack(String("d"), 4);
    map.insert(String("c"), map.find(String("d")), false, 3);
    map.insert(String("e"), map.find(String("d")), true, 5);
    map.insert(String("f"), map.end(), false, 6);
    map.insert(String("0"), map.begin(), false, 0);
    EXPECT_EQ(keys(map), (std::vector<std::string>{"0", "a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(map.front(), 0u);
    EXPECT_EQ(map.back(), 6u);
}

TEST(HashMap, AnExistingKeyIsReportedNeverReplaced) {
    StringMap map;
    map.insertBack(String("mass"), 1);
    map.insertBack(String("speed"), 2);
    uint32* existing = nullptr;
    EXPECT_FALSE(map.insertBack(String("mass"), 10, &existing));
    ASSERT_NE(existing, nullptr);
    EXPECT_EQ(*existing, 1u);
    *existing = 11;
    existing = nullptr;
    EXPECT_FALSE(map.insertFront(String("speed"), 20, &existing));
    EXPECT_EQ(existing, &map.back());
    EXPECT_FALSE(map.insert(String("mass"), map.begin(), true, 30));
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.find(String("mass"))->m_second, 11u);
    EXPECT_EQ(keys(map), (std::vector<std::string>{"mass", "speed"}));
}

TEST(HashMap, RemovingTheLastEntryFreesTheBuckets) {
    StringMap map;
    for (int i = 0; i < 6; ++i)
        map.insertBack(key(i), static_cast<uint32>(i));
    ASSERT_EQ(map.bucketCount(), 16u);
    EXPECT_FALSE(map.remove(String("absent")));
    EXPECT_TRUE(map.remove(key(2)));
    EXPECT_FALSE(map.remove(key(2)));
    map.popFront();
    map.popBack();
    EXPECT_EQ(keys(map), (std::vector<std::string>{"key1", "key3", "key4"}));
    EXPECT_EQ(map.bucketCount(), 16u);

    map.remove(map.find(key(3)));
    map.remove(map.end());
    map.remove(map.begin(), map.find(key(4)));
    EXPECT_TRUE(map.isEmpty());
    EXPECT_EQ(map.bucketCount(), 0u);
    EXPECT_EQ(map.front(), 0u);
    EXPECT_FALSE(map.remove(key(1)));
    map.popFront();
    map.popBack();

    map.insertBack(key(7), 7);
    EXPECT_EQ(map.bucketCount(), 8u);
    EXPECT_EQ(&map.front(), &map.back());
    EXPECT_EQ(map.end().previous(), map.begin().entry());
    map.insertBack(key(8), 8);
    EXPECT_EQ(map.find(key(8)).previous(), map.begin().entry());
}

TEST(HashMap, ByteKeysCollideInTheirBucketAndStayApart) {
    HashMap<uint8, String> map;
    for (uint8 k : {0, 8, 16, 3})
        map.insertBack(k, String::formatted("v%u", static_cast<unsigned>(k)));
    EXPECT_EQ(map.bucketCount(), 8u);
    EXPECT_TRUE(map.remove(uint8{8}));
    EXPECT_STREQ(map.find(0)->m_second.c_str(), "v0");
    EXPECT_STREQ(map.find(16)->m_second.c_str(), "v16");
    EXPECT_TRUE(map.find(8) == map.end());
}

TEST(HashMap, CopiesAreDeepAndSwapsExchangeTheBuckets) {
    StringMap source;
    for (int i = 0; i < 7; ++i)
        source.insertFront(key(i), static_cast<uint32>(i));
    StringMap copy(source);
    EXPECT_EQ(keys(copy), keys(source));
    copy.find(key(3))->m_second = 30;
    EXPECT_EQ(source.find(key(3))->m_second, 3u);

    StringMap empty;
    empty.swap(copy);
    EXPECT_EQ(copy.bucketCount(), 0u);
    EXPECT_EQ(empty.bucketCount(), 16u);
    EXPECT_TRUE(empty.contains(key(6)));
    copy.insertBack(String("again"), 1);
    EXPECT_EQ(copy.bucketCount(), 8u);
}

TEST(HashMap, EntriesAndBucketsComeFromItsAllocator) {
    HashMap<uint8, uint32> map;
    map.setAllocator(TestAllocator::record());
    map.insertBack(1, 1);
    // The bucket array, the entry and the bucket's node.
    EXPECT_EQ(TestAllocator::allocations, 3);
    map.remove(uint8{1});
    EXPECT_EQ(TestAllocator::frees, 3);

    TestAllocator::exhausted = true;
    EXPECT_FALSE(map.insertBack(2, 2));
    EXPECT_TRUE(map.isEmpty());
    TestAllocator::exhausted = false;
}

// A random mix of operations against a plain model: the chain order, the lookups and the
// bucket bookkeeping must agree after every step.
TEST(HashMap, RandomOperationsAgreeWithAModel) {
    std::mt19937 random(12345);
    StringMap map;
    std::vector<std::pair<std::string, uint32>> model;
    auto position = [&](const std::string& k) {
        return std::find_if(model.begin(), model.end(), [&](const auto& entry) { return entry.first == k; });
    };
    for (int step = 0; step < 3000; ++step) {
        const std::string k = "k" + std::to_string(random() % 200);
        const uint32 v = static_cast<uint32>(step);
        switch (random() % 4) {
        case 0:
            EXPECT_EQ(map.insertBack(String(k.c_str()), v), position(k) == model.end());
            if (position(k) == model.end())
                model.emplace_back(k, v);
            break;
        case 1:
            EXPECT_EQ(map.insertFront(String(k.c_str()), v), position(k) == model.end());
            if (position(k) == model.end())
                model.emplace(model.begin(), k, v);
            break;
        default:
            EXPECT_EQ(map.remove(String(k.c_str())), position(k) != model.end());
            if (position(k) != model.end())
                model.erase(position(k));
            break;
        }
        ASSERT_EQ(map.size(), model.size());
    }
    std::vector<std::string> modelKeys;
    for (const auto& [k, v] : model) {
        modelKeys.push_back(k);
        auto it = map.find(String(k.c_str()));
        ASSERT_TRUE(it != map.end()) << k;
        EXPECT_EQ(it->m_second, v);
    }
    EXPECT_EQ(keys(map), modelKeys);
}

} // namespace
} // namespace zor
